#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

#include "domains/TDomainRecord.h"
#include "domains/TDomainTable.h"

namespace norvale {

// Decides whether a new record goes into the match list; called with the name and the
// extension exactly as the tables store them, so the import and a later Apply Rules
// always agree on the same record.
using TImportMatcher = std::function<bool(std::string_view name, std::string_view extension)>;
// Called with the 0-based index of every 3000th line ("Loading..." + index); the window
// handles its pending events there, which is when a press of Cancel takes effect.
using TImportProgress = std::function<void(std::size_t lineIndex)>;

constexpr std::size_t kImportProgressLines = 3000;

// The new lists, built aside: the live lists are never touched by the import.
struct TImportResult {
    TDomainTable full;   // every line
    TDomainTable match;  // the lines the matcher accepted
    bool cancelled = false;
    std::size_t lines = 0;  // lines of the text, empty ones included
};

// The extension of a list line's first field (the tail test against the ten extensions
// of the rule editor, compared ignoring case, in the line's own case).
std::string_view ExtensionOfField(std::string_view field);
// The record one line gives. A line without "," gives an empty date.
TDomainRecord RecordOfLine(std::string_view line);
// "Loading..." followed by the line index, as the update dialog shows it.
std::string LoadingText(std::size_t lineIndex);

// Cuts text into lines (CR, LF or CR LF; a NUL ends the text), skips empty lines and
// builds one record per line into fresh tables. cancel is read before every line: when
// it is set the run stops and the result says so (its tables are then incomplete and
// must not replace anything). The matcher's errors travel on to the caller.
TImportResult ImportListText(std::string_view text, const TImportMatcher& matcher,
                             const TImportProgress& progress = {}, const bool* cancel = nullptr);

}  // namespace norvale
