#pragma once

#include <array>
#include <optional>

#include "util/TRegistry.h"

namespace norvale {

// The editor's extension check marks as stored under Software\Norvale.
struct TExtensionCheckLoad {
    // No values at all (first run, or the key cannot be read): check every extension.
    bool noValues = true;
    // Otherwise the marks the listing sets; a position it does not reach keeps its mark.
    std::array<std::optional<bool>, 10> marks{};
};

// Goes through the key's values in listing order; the position in the listing, not a
// value's name, decides the extension (a value named "tfrmmain" is passed over but
// still counts). Values that are no number are ignored.
TExtensionCheckLoad LoadExtensionChecks(TRegistry& registry);
// Writes "0" to "9" as DWORDs, 1 for checked. Raises when the store cannot be written.
void SaveExtensionChecks(TRegistry& registry, const std::array<bool, 10>& checks);

}  // namespace norvale
