#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "util/ENorvaleError.h"
#include "util/TSettingsStore.h"

namespace norvale {

// Error of the registry class: a value of the wrong type, a key that is not open.
class ERegistryException : public ENorvaleError {
public:
    using ENorvaleError::ENorvaleError;
};

// Result codes of the raw value calls, and the store's own message table for them.
enum TRegResult : std::int32_t {
    kRegOk = 0,
    kRegFileNotFound = 2,   // no such value or key
    kRegInvalidHandle = 6,  // no key is open
    kRegWriteFault = 29,    // the settings file could not be written
};
// The text of a result code, ending in a line break like the system's texts; empty
// for a code the table does not know.
std::string RegistryErrorText(std::int32_t code);

// The registry class over the settings store, rooted at HKEY_CURRENT_USER: open a key
// (optionally creating it), test, read, write and list its values and sub-keys.
class TRegistry {
public:
    explicit TRegistry(TSettingsStore& store) : store_(store) {}

    TSettingsStore& Store() { return store_; }

    // Opens key (relative to the root, e.g. "Software\Norvale"); false when it does
    // not exist and canCreate is false.
    bool OpenKey(const std::string& key, bool canCreate);
    bool OpenKeyReadOnly(const std::string& key) { return OpenKey(key, false); }
    void CloseKey() { currentKey_.clear(); open_ = false; }
    bool HasOpenKey() const { return open_; }
    const std::string& CurrentPath() const { return currentKey_; }
    bool KeyExists(const std::string& key) { return store_.KeyExists(key); }

    bool ValueExists(const std::string& name);
    std::vector<std::string> GetValueNames();  // in creation order
    std::vector<std::string> GetKeyNames();

    std::int32_t ReadInteger(const std::string& name);  // ERegistryException unless a DWORD
    void WriteInteger(const std::string& name, std::int32_t value);
    std::string ReadString(const std::string& name);  // "" when missing; ERegistryException if not text
    void WriteString(const std::string& name, const std::string& value);
    bool DeleteValue(const std::string& name);

    // Raw access as the system's value calls offer it, with result codes.
    std::int32_t QueryValue(const std::string& name, TRegDataType& type, std::string& data);
    std::int32_t SetValue(const std::string& name, TRegDataType type, const std::string& data);

private:
    void RequireOpen() const;

    TSettingsStore& store_;
    std::string currentKey_;
    bool open_ = false;
};

}  // namespace norvale
