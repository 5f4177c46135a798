#include "update/TResources.h"

#include "update/TExRegistry.h"
#include "util/TSplStr.h"

namespace norvale {

namespace {
struct TLinkRow {
    const char* caption;
    const char* path;  // nullptr for a group line
};

constexpr TLinkRow kBuiltIn[] = {
    {"#Domain Registrars", nullptr},
    {"BuyDomains", "/links/BuyDomains"},
    {"Dotster", "/links/Dotster"},
    {"Gate", "/links/Gate"},
    {"1&1", "/links/1&1"},
    {"iPower", "/links/iPower"},
    {"Netfirms", "/links/Netfirms"},
    {"Godaddy", "/links/Godaddy"},
    {"#Web Hosting Services", nullptr},
    {"Web Hosting Reviews", "/webhosting-reviews.php"},
    {"Blue Fish", "/links/BlueFish"},
    {"Lunarpages", "/links/Lunarpages"},
    {"Godaddy", "/links/Godaddy"},
    {"IX Web Hosting", "/links/IX-Webhosting"},
    {"iPower", "/links/iPower"},
    {"midPhase", "/links/midPhase"},
    {"Netfirms", "/links/Netfirms"},
    {"Gate", "/links/Gate"},
    {"HostGator", "/links/Hostgator"},
    {"Dot5", "/links/Dot5"},
    {"StartLogic", "/links/StartLogic"},
    {"PowWeb", "/links/PowWeb"},
    {"#Commercial Domain Software", nullptr},
    // Our own other tools.
    {"Norvale Name Checker", "/links/NameChecker"},
    {"Norvale Expiry Watch", "/links/ExpiryWatch"},
    {"Norvale Keyword Finder", "/links/KeywordFinder"},
    {"Norvale List Merger", "/links/ListMerger"},
};

std::string FoldCaption(std::string_view caption) {
    std::string key = TSplStr::ReplaceAll(caption, "&", "");
    for (char& c : key)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return key;
}
}  // namespace

std::vector<std::string> BuiltInResources(const TWebAddresses& addresses) {
    std::vector<std::string> lines;
    for (const TLinkRow& row : kBuiltIn)
        lines.push_back(row.path ? std::string(row.caption) + "|" + addresses.LinkUrl(row.path)
                                 : row.caption);
    return lines;
}

void EnsureDefaultResources(TSettingsStore& store, const TWebAddresses& addresses) {
    TExRegistry registry(store);
    registry.OpenKey(kResourcesKey, true);
    if (!registry.ValueExists(kResourcesValue))
        registry.WriteMultiSz(kResourcesValue, BuiltInResources(addresses));
    registry.CloseKey();
}

std::optional<std::vector<std::string>> ReadResources(TSettingsStore& store) {
    TExRegistry registry(store);
    registry.OpenKey(kResourcesKey, true);
    if (!registry.ValueExists(kResourcesValue))
        return std::nullopt;
    std::vector<std::string> scratch;
    registry.GrantAccessTree(TRegRoot::CurrentUser, kResourcesKey, scratch);
    std::vector<std::string> lines;
    registry.ReadMultiSz(kResourcesValue, lines);
    registry.CloseKey();
    return lines;
}

std::vector<std::string> TextLines(std::string_view text) {
    std::vector<std::string> lines;
    std::size_t pos = 0;
    while (pos < text.size()) {
        const std::size_t end = text.find_first_of("\r\n", pos);
        if (end == std::string_view::npos) {
            lines.emplace_back(text.substr(pos));
            break;
        }
        lines.emplace_back(text.substr(pos, end - pos));
        pos = end + 1;
        if (text[end] == '\r' && pos < text.size() && text[pos] == '\n')
            ++pos;
    }
    return lines;
}

void StoreResources(TSettingsStore& store, std::string_view text) {
    TExRegistry registry(store);
    std::vector<std::string> scratch;
    registry.GrantAccessTree(TRegRoot::CurrentUser, kResourcesKey, scratch);
    registry.OpenKey(kResourcesKey, true);
    std::vector<std::string> lines;
    // A NUL would cut the stored line short, and an empty line ends the list.
    for (std::string& line : TextLines(text.substr(0, text.find('\0'))))
        if (!line.empty())
            lines.push_back(std::move(line));
    registry.WriteMultiSz(kResourcesValue, lines);
    registry.CloseKey();
}

std::string_view LinkCaption(std::string_view line) {
    return line.substr(0, line.find('|'));
}

std::string_view LinkAddress(std::string_view line) {
    const std::size_t bar = line.find('|');
    return bar == std::string_view::npos ? std::string_view() : line.substr(bar + 1);
}

TResourceMenus ResourceMenusOf(const std::vector<std::string>& lines) {
    TResourceMenus menus;
    for (const std::string& line : lines) {
        if (!line.empty() && line[0] == '#') {
            menus.groups.push_back(TResourceGroup{line.substr(1), {}});
            continue;
        }
        menus.linkLines.push_back(line);
        // A link before the first group has no menu to go into.
        if (!menus.groups.empty())
            menus.groups.back().links.emplace_back(LinkCaption(line));
    }
    return menus;
}

std::string LinkForCaption(const std::vector<std::string>& linkLines, std::string_view caption) {
    const std::string key = FoldCaption(caption);
    for (const std::string& line : linkLines)
        if (FoldCaption(LinkCaption(line)) == key)
            return std::string(LinkAddress(line));
    return {};
}

std::string ResourceAddressFor(const std::vector<std::string>& linkLines, std::string_view caption,
                               const TWebAddresses& addresses) {
    const std::string address = LinkForCaption(linkLines, caption);
    return IsWebAddress(address) ? address : addresses.HomePage();
}

}  // namespace norvale
