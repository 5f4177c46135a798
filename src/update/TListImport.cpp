#include "update/TListImport.h"

#include <array>
#include <cstring>

namespace norvale {

namespace {
// The ten extensions of the rule editor, lower case; a tail is at most five characters,
// so a look-up is a handful of short comparisons.
constexpr std::array<std::string_view, 10> kKnownExtensions = {
    "com", "net", "org", "info", "biz", "ca", "us", "co.uk", "org.uk", "me.uk"};

bool IsKnownExtension(std::string_view tail) {
    char lower[8];
    if (tail.size() > sizeof lower)
        return false;
    for (std::size_t i = 0; i < tail.size(); ++i) {
        const char c = tail[i];
        lower[i] = (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
    }
    const std::string_view key(lower, tail.size());
    for (std::string_view known : kKnownExtensions)
        if (known == key)
            return true;
    return false;
}
}  // namespace

std::string_view ExtensionOfField(std::string_view field) {
    const std::size_t firstDot = field.find('.');
    const bool hasDot = firstDot != std::string_view::npos;
    for (const std::size_t length : {3u, 4u, 2u, 5u}) {
        const std::size_t take = length < field.size() ? length : field.size();
        const std::string_view tail = field.substr(field.size() - take);
        if (!IsKnownExtension(tail))
            continue;
        // With a dot in the field, a tail only counts when the dot stands right before
        // it: otherwise example.plus would read as "us" and example.africa as "ca".
        if (hasDot && (take == field.size() || field[field.size() - take - 1] != '.'))
            continue;
        return tail;
    }
    // Anything else: what follows the name, so example.de keeps "de" and is exported
    // as the domain it is.
    if (!hasDot)
        return {};
    return field.substr(firstDot + 1);
}

namespace {
// The stored values of one line, as views into it.
struct TLineValues {
    std::string_view name, dom, date;
    std::int32_t size;
};

TLineValues ValuesOfLine(std::string_view line) {
    const std::size_t comma = line.find(',');
    const std::string_view field1 = line.substr(0, comma);
    std::string_view field2;
    if (comma != std::string_view::npos) {
        field2 = line.substr(comma + 1);
        field2 = field2.substr(0, field2.find(','));
    }
    const std::string_view name = field1.substr(0, field1.find('.'));
    return {StoredText(TDomainField::Domain, name),
            StoredText(TDomainField::Dom, ExtensionOfField(field1)),
            StoredText(TDomainField::ExDate, field2), static_cast<std::int32_t>(name.size())};
}
}  // namespace

TDomainRecord RecordOfLine(std::string_view line) {
    const TLineValues v = ValuesOfLine(line);
    return TDomainRecord{std::string(v.name), std::string(v.dom), std::string(v.date), v.size};
}

std::string LoadingText(std::size_t lineIndex) {
    return "Loading..." + std::to_string(lineIndex);
}

TImportResult ImportListText(std::string_view text, const TImportMatcher& matcher,
                             const TImportProgress& progress, const bool* cancel) {
    text = text.substr(0, text.find('\0'));
    TImportResult result;
    result.full.Open();
    result.match.Open();
    // About 25 bytes a line; reserving spares the slot vector its regrowth copies.
    result.full.Reserve(text.size() / 24 + 16);

    std::size_t pos = 0;
    std::size_t index = 0;
    while (pos < text.size()) {
        if (cancel && *cancel) {
            result.cancelled = true;
            break;
        }
        const char* start = text.data() + pos;
        const std::size_t rest = text.size() - pos;
        const char* lf = static_cast<const char*>(std::memchr(start, '\n', rest));
        std::size_t length = lf ? static_cast<std::size_t>(lf - start) : rest;
        // A CR alone also ends a line; look for one only inside this LF-line.
        const char* cr = static_cast<const char*>(std::memchr(start, '\r', length));
        std::size_t next;
        if (cr) {
            length = static_cast<std::size_t>(cr - start);
            next = pos + length + 1;
            if (next < text.size() && text[next] == '\n')
                ++next;
        } else {
            next = pos + length + 1;
        }
        const std::string_view line(start, length);
        pos = next;

        if (!line.empty()) {
            const TLineValues v = ValuesOfLine(line);
            result.full.AppendRecord(v.name, v.dom, v.date, v.size);
            if (matcher && matcher(v.name, v.dom))
                result.match.AppendRecord(v.name, v.dom, v.date, v.size);
        }
        if ((index + 1) % kImportProgressLines == 0 && progress)
            progress(index);
        ++index;
    }
    result.lines = index;
    return result;
}

}  // namespace norvale
