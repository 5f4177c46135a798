#pragma once

#include <string>
#include <vector>

#include "domains/TDataFolder.h"

namespace norvale {

// The names of the configuration sets in the sets folder: every regular file whose
// name ends in ".set" exactly (case-sensitive), less those four characters, sorted
// for the user. Sub-folders are not searched. A missing folder holds no sets.
// Names that the program would refuse as set names are left out, so every entry
// listed can be opened and deleted.
std::vector<std::string> ListSetNames(const TDataFolder& folder);

// The order in which set names are shown: ASCII case folded, then byte by byte.
bool SetNameLess(const std::string& a, const std::string& b);

// Whether the set file of name exists (name checked by SetFilePath).
bool SetExists(const TDataFolder& folder, const std::string& name);

}  // namespace norvale
