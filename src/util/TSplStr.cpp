#include "util/TSplStr.h"

namespace norvale {

void TSplStr::Split(char delimiter, std::string_view text, std::vector<std::string>& target) {
    std::string_view rest = text;
    while (true) {
        const auto p = rest.find(delimiter);
        if (p == std::string_view::npos) break;
        target.emplace_back(rest.substr(0, p));
        rest.remove_prefix(p + 1);
    }
    target.emplace_back(rest);
}

std::string TSplStr::ReplaceAll(std::string_view text, std::string_view pattern,
                                std::string_view replacement) {
    if (pattern.empty()) return std::string(text);
    std::string result;
    result.reserve(text.size());
    while (true) {
        const auto p = text.find(pattern);
        if (p == std::string_view::npos) {
            result.append(text);
            return result;
        }
        result.append(text.substr(0, p));
        result.append(replacement);
        text.remove_prefix(p + pattern.size());
    }
}

}  // namespace norvale
