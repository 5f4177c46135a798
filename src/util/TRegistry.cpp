#include "util/TRegistry.h"

namespace norvale {

std::string RegistryErrorText(std::int32_t code) {
    switch (code) {
        case kRegOk: return "The operation completed successfully.\r\n";
        case kRegFileNotFound: return "The system cannot find the file specified.\r\n";
        case kRegInvalidHandle: return "The handle is invalid.\r\n";
        case kRegWriteFault: return "The system cannot write to the specified device.\r\n";
        default: return {};
    }
}

bool TRegistry::OpenKey(const std::string& key, bool canCreate) {
    if (!store_.KeyExists(key)) {
        if (!canCreate) return false;
        store_.CreateKey(key);
    }
    currentKey_ = key;
    open_ = true;
    return true;
}

void TRegistry::RequireOpen() const {
    if (!open_) throw ERegistryException("No registry key is open.");
}

bool TRegistry::ValueExists(const std::string& name) {
    if (!open_) return false;
    TRegValue v;
    return store_.FindValue(currentKey_, name, v);
}

std::vector<std::string> TRegistry::GetValueNames() {
    if (!open_) return {};
    return store_.ValueNames(currentKey_);
}

std::vector<std::string> TRegistry::GetKeyNames() {
    if (!open_) return {};
    return store_.SubKeyNames(currentKey_);
}

std::int32_t TRegistry::ReadInteger(const std::string& name) {
    RequireOpen();
    TRegValue v;
    if (!store_.FindValue(currentKey_, name, v) || v.type != TRegDataType::DWord || v.data.size() != 4)
        throw ERegistryException("Invalid data type for '" + name + "'");
    std::uint32_t n = 0;
    for (int i = 3; i >= 0; --i) n = n * 256 + static_cast<unsigned char>(v.data[static_cast<std::size_t>(i)]);
    return static_cast<std::int32_t>(n);
}

void TRegistry::WriteInteger(const std::string& name, std::int32_t value) {
    RequireOpen();
    const auto n = static_cast<std::uint32_t>(value);
    store_.SetValue(currentKey_, name, TRegDataType::DWord,
                    std::string{static_cast<char>(n & 0xff), static_cast<char>((n >> 8) & 0xff),
                                static_cast<char>((n >> 16) & 0xff), static_cast<char>(n >> 24)});
}

std::string TRegistry::ReadString(const std::string& name) {
    RequireOpen();
    TRegValue v;
    if (!store_.FindValue(currentKey_, name, v)) return {};
    if (v.type != TRegDataType::String) throw ERegistryException("Invalid data type for '" + name + "'");
    return v.data;
}

void TRegistry::WriteString(const std::string& name, const std::string& value) {
    RequireOpen();
    store_.SetValue(currentKey_, name, TRegDataType::String, value);
}

bool TRegistry::DeleteValue(const std::string& name) {
    RequireOpen();
    return store_.DeleteValue(currentKey_, name);
}

std::int32_t TRegistry::QueryValue(const std::string& name, TRegDataType& type, std::string& data) {
    if (!open_) return kRegInvalidHandle;
    TRegValue v;
    if (!store_.FindValue(currentKey_, name, v)) return kRegFileNotFound;
    type = v.type;
    data = v.data;
    return kRegOk;
}

std::int32_t TRegistry::SetValue(const std::string& name, TRegDataType type, const std::string& data) {
    if (!open_) return kRegInvalidHandle;
    try {
        store_.SetValue(currentKey_, name, type, data);
    } catch (const ENorvaleError&) {
        return kRegWriteFault;
    }
    return kRegOk;
}

}  // namespace norvale
