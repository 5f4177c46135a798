#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "util/TRegistry.h"

namespace norvale {

// A failed raw value call, with the store's result code. Its text is the code text,
// ":" and the operation: "Error 2 : The system cannot find the file specified.\r\n:Unable
// read MULTI_SZ value", or "Error 77:..." when the store has no text for the code.
class EExRegistryException : public ERegistryException {
public:
    EExRegistryException(std::int32_t code, const std::string& operation);
    std::int32_t Code() const { return code_; }
    static std::string CodeText(std::int32_t code);

private:
    std::int32_t code_;
};

enum class TRegRoot { CurrentUser };

// The registry class plus multi-string values and the access rights of a key tree.
class TExRegistry : public TRegistry {
public:
    using TRegistry::TRegistry;

    // The strings of a multi-string value of the open key, up to the first empty one.
    // Never reads past the value's data, however it ends. Raises EExRegistryException
    // when the value cannot be read and "String list expected" for another type.
    void ReadMultiSz(const std::string& valueName, std::vector<std::string>& list);
    // Every string followed by a NUL, then one more NUL.
    void WriteMultiSz(const std::string& valueName, const std::vector<std::string>& list);
    // Makes sure the key tree is readable and writable by its owner, and by nobody else:
    // the settings store is one file, so that is the file's and its folder's mode. Appends
    // the path of every key below path to list, depth first.
    void GrantAccessTree(TRegRoot root, const std::string& path, std::vector<std::string>& list);

    static std::string MultiSzBytes(const std::vector<std::string>& list);
};

}  // namespace norvale
