#include "rules/TExtensionChecks.h"

#include <string>

namespace norvale {

namespace {
constexpr const char* kKey = "Software\\Norvale";

bool IsFormName(const std::string& name) {
    std::string lower = name;
    for (char& c : lower)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return lower == "tfrmmain";
}
}  // namespace

TExtensionCheckLoad LoadExtensionChecks(TRegistry& registry) {
    TExtensionCheckLoad load;
    std::vector<std::string> names;
    try {
        if (registry.OpenKey(kKey, true)) names = registry.GetValueNames();
    } catch (const std::exception&) {
        // An unreadable key counts as a first run.
        names.clear();
    }
    if (names.empty()) return load;
    load.noValues = false;
    for (std::size_t position = 0; position < names.size(); ++position) {
        if (IsFormName(names[position])) continue;
        if (position >= load.marks.size()) continue;
        try {
            load.marks[position] = registry.ReadInteger(names[position]) == 1;
        } catch (const std::exception&) {
            // A value of another type leaves its extension as it was.
        }
    }
    registry.CloseKey();
    return load;
}

void SaveExtensionChecks(TRegistry& registry, const std::array<bool, 10>& checks) {
    registry.OpenKey(kKey, true);
    for (std::size_t i = 0; i < checks.size(); ++i)
        registry.WriteInteger(std::to_string(i), checks[i] ? 1 : 0);
    registry.CloseKey();
}

}  // namespace norvale
