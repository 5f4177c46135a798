#include "update/TWebAddresses.h"

#include "util/TRegistry.h"

namespace norvale {

namespace {
bool StartsWithIgnoringCase(std::string_view text, std::string_view prefix) {
    if (text.size() < prefix.size()) return false;
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        char c = text[i];
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        if (c != prefix[i]) return false;
    }
    return true;
}

std::string WithoutTrailingSlash(std::string s) {
    while (!s.empty() && s.back() == '/') s.pop_back();
    return s;
}
}  // namespace

bool IsWebAddress(std::string_view address) {
    std::size_t schemeLength = 0;
    if (StartsWithIgnoringCase(address, "http://")) {
        schemeLength = 7;
    } else if (StartsWithIgnoringCase(address, "https://")) {
        schemeLength = 8;
    } else {
        return false;
    }
    if (address.size() <= schemeLength) return false;
    const char first = address[schemeLength];
    return first != '/' && first != '?' && first != '#' && first > ' ';
}

TWebAddresses TWebAddresses::Load(TSettingsStore& store) {
    TWebAddresses addresses;
    TRegistry registry(store);
    if (!registry.OpenKey(kKey, false)) return addresses;
    const auto read = [&](const char* name, std::string& target) {
        try {
            const std::string value = registry.ReadString(name);
            if (IsWebAddress(value)) target = WithoutTrailingSlash(value);
        } catch (const ENorvaleError&) {
            // a value of another type keeps the default
        }
    };
    read("Site", addresses.Site);
    read("ListAddressHost", addresses.ListAddressHost);
    read("ListProvider", addresses.ListProvider);
    return addresses;
}

}  // namespace norvale
