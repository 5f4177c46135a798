#pragma once

#include <QString>
#include <cstdint>

namespace norvale {

class TRegistry;

// The program's skin store: four style sheets in the program's resources, each with
// its toolbar bitmap, at positions 0 to 3.
class TSkins {
public:
    static constexpr int kStoreCount = 4;
    static constexpr const char* kKey = "Software\\Norvale\\Skins";
    static constexpr const char* kValue = "Skin";

    static QString Caption(int storePosition);
    // The style sheet of the skin; throws ENorvaleError when the store lacks it.
    static QString StyleSheet(int storePosition);
    static QString ToolbarBitmap(int storePosition);  // a resource path

    // The Skins menu position to apply at start (0 "None" to 4): the stored value, or 1
    // ("Office 2003") when it is missing, not a number or out of range.
    static int StoredMenuPosition(TRegistry& registry);
    static void StoreMenuPosition(TRegistry& registry, std::int32_t position);
};

}  // namespace norvale
