#include "sets/TSetNames.h"

#include <cstring>

#include "util/ENorvaleError.h"

namespace norvale {

bool IsForbiddenSetNameCharacter(char c) {
    return c != '\0' && std::strchr(kForbiddenSetNameCharacters, c) != nullptr;
}

void ValidateSetName(const std::string& name) {
    if (name.find_first_not_of(" \t") == std::string::npos) throw ENorvaleError("Enter name!");
    if (name == "." || name == "..")
        throw ENorvaleError("\"" + name + "\" cannot be the name of a configuration set.");
    for (char c : name) {
        if (IsForbiddenSetNameCharacter(c) || c == '\0')
            throw ENorvaleError("The name of a configuration set cannot contain any of the characters \" * / : < > ? \\ |");
    }
}

std::string SetFilePath(const TDataFolder& folder, const std::string& name) {
    ValidateSetName(name);
    return folder.SetsFolder() + name + kSetFileExtension;
}

}  // namespace norvale
