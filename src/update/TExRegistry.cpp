#include "update/TExRegistry.h"

namespace norvale {

std::string EExRegistryException::CodeText(std::int32_t code) {
    const std::string text = RegistryErrorText(code);
    if (text.empty())
        return "Error " + std::to_string(code);
    return "Error " + std::to_string(code) + " : " + text;
}

EExRegistryException::EExRegistryException(std::int32_t code, const std::string& operation)
    : ERegistryException(CodeText(code) + ":" + operation), code_(code) {}

void TExRegistry::ReadMultiSz(const std::string& valueName, std::vector<std::string>& list) {
    list.clear();
    TRegDataType type = TRegDataType::None;
    std::string data;
    const std::int32_t result = QueryValue(valueName, type, data);
    if (result != kRegOk)
        throw EExRegistryException(result, "Unable read MULTI_SZ value");
    if (type != TRegDataType::MultiString)
        throw ERegistryException("String list expected");
    std::size_t pos = 0;
    while (pos < data.size() && data[pos] != '\0') {
        std::size_t end = data.find('\0', pos);
        if (end == std::string::npos)
            end = data.size();  // unterminated: the rest is the last string
        list.push_back(data.substr(pos, end - pos));
        pos = end + 1;
    }
}

std::string TExRegistry::MultiSzBytes(const std::vector<std::string>& list) {
    std::string bytes;
    for (const std::string& s : list) {
        bytes += s;
        bytes += '\0';
    }
    bytes += '\0';
    return bytes;
}

void TExRegistry::WriteMultiSz(const std::string& valueName, const std::vector<std::string>& list) {
    const std::int32_t result = SetValue(valueName, TRegDataType::MultiString, MultiSzBytes(list));
    if (result != kRegOk)
        throw EExRegistryException(result, "Unable to write MULTI_SZ value");
}

void TExRegistry::GrantAccessTree(TRegRoot root, const std::string& path,
                                  std::vector<std::string>& list) {
    if (path.empty() || !Store().KeyExists(path))
        return;
    try {
        Store().RestrictToOwner();
    } catch (const ENorvaleError&) {
        // As with the access list of a key: a failure to tighten it is not reported.
    }
    for (const std::string& name : Store().SubKeyNames(path)) {
        const std::string below = path + "\\" + name;
        list.push_back(below);
        GrantAccessTree(root, below, list);
    }
}

}  // namespace norvale
