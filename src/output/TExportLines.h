#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "domains/TDomainTable.h"

namespace norvale {

// The columns and the delimiter of an export. The name with its extension is always
// there; the date and the length follow it, each after the delimiter, when chosen.
struct TExportOptions {
    bool ExpDate = true;
    bool Size = true;
    char Delimiter = ',';
};

// One export line of a record, its CR LF included, appended to out.
void AppendExportLine(std::string& out, const TDomainTable& table, TDomainTable::TRecordId id,
                      const TExportOptions& options);

// The export lines of what the table yields, in its current order and through its
// filter, handed to write in chunks. The table's cursor does not move.
void WriteExportLines(const TDomainTable& table, const TExportOptions& options,
                      const std::function<void(std::string_view)>& write);

// All export lines as one text.
std::string ExportText(const TDomainTable& table, const TExportOptions& options);

// Writes the export lines to path atomically: a failed export leaves any file that
// was there as it was. Errors: "Cannot create file "%s". %s".
void ExportToFile(const TDomainTable& table, const TExportOptions& options,
                  const std::string& path);

}  // namespace norvale
