#include "output/TExportLines.h"

#include "util/TFileIO.h"

namespace norvale {

namespace {
// Lines go out in blocks of this size, so a list of millions needs no second copy.
constexpr std::size_t kChunkBytes = std::size_t(1) << 20;
}  // namespace

void AppendExportLine(std::string& out, const TDomainTable& table, TDomainTable::TRecordId id,
                      const TExportOptions& options) {
    out += table.TextOf(id, TDomainField::Domain);
    out += '.';
    out += table.TextOf(id, TDomainField::Dom);
    if (options.ExpDate) {
        out += options.Delimiter;
        out += table.TextOf(id, TDomainField::ExDate);
    }
    if (options.Size) {
        out += options.Delimiter;
        out += std::to_string(table.SizeOf(id));
    }
    out += "\r\n";
}

void WriteExportLines(const TDomainTable& table, const TExportOptions& options,
                      const std::function<void(std::string_view)>& write) {
    std::string chunk;
    chunk.reserve(kChunkBytes + 512);
    const std::size_t rows = table.RecordCount();
    for (std::size_t row = 0; row < rows; ++row) {
        AppendExportLine(chunk, table, table.RecordAtRow(row), options);
        if (chunk.size() >= kChunkBytes) {
            write(chunk);
            chunk.clear();
        }
    }
    if (!chunk.empty())
        write(chunk);
}

std::string ExportText(const TDomainTable& table, const TExportOptions& options) {
    std::string text;
    WriteExportLines(table, options, [&text](std::string_view chunk) { text += chunk; });
    return text;
}

void ExportToFile(const TDomainTable& table, const TExportOptions& options,
                  const std::string& path) {
    TAtomicFileWriter writer(path);
    WriteExportLines(table, options, [&writer](std::string_view chunk) { writer.Write(chunk); });
    writer.Commit();
}

}  // namespace norvale
