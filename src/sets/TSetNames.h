#pragma once

#include <string>

#include "domains/TDataFolder.h"

namespace norvale {

// The nine characters the set-name box filters: " * / : < > ? \ |
constexpr const char* kForbiddenSetNameCharacters = "\"*/:<>?\\|";
constexpr const char* kSetFileExtension = ".set";

bool IsForbiddenSetNameCharacter(char c);

// A set name becomes a file name only inside the sets folder: a name that holds one
// of the nine characters, or that is "." or "..", or that is empty, is refused with
// an ENorvaleError that says why.
void ValidateSetName(const std::string& name);

// The sets folder + name exactly as typed + ".set" (after ValidateSetName).
std::string SetFilePath(const TDataFolder& folder, const std::string& name);

}  // namespace norvale
