#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace norvale {

// Small text utility: splitting a line into fields and replacing every occurrence
// of a pattern. No state of its own; the main window and the import share it.
class TSplStr {
public:
    // Appends the fields of text, cut at every delimiter, to target (which is not
    // cleared first). n delimiters give n+1 fields; empty fields are kept.
    static void Split(char delimiter, std::string_view text, std::vector<std::string>& target);

    // Every occurrence of pattern replaced, left to right, without overlaps; the
    // replacement is never searched again. An empty pattern leaves text unchanged.
    static std::string ReplaceAll(std::string_view text, std::string_view pattern,
                                  std::string_view replacement);
};

}  // namespace norvale
