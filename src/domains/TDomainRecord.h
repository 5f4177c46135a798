#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace norvale {

// The four fields of a domain record, in their order.
enum class TDomainField : std::uint8_t { Domain = 0, Dom = 1, ExDate = 2, Size = 3 };
constexpr int kDomainFieldCount = 4;

// Field widths: a longer text is cut to its width when it is stored.
constexpr std::size_t kDomainWidth = 255;
constexpr std::size_t kDomWidth = 10;
constexpr std::size_t kExDateWidth = 12;

const char* DomainFieldName(TDomainField field);  // "Domain", "Dom", "ExDate", "Size"
// Field lookup by name ignoring ASCII case ("domain" names Domain).
std::optional<TDomainField> FindDomainField(std::string_view name);
std::size_t FieldWidth(TDomainField field);  // 0 for Size

// What a field keeps of text: up to the first zero byte, for a text field at most its
// width (Size has none).
std::string_view StoredText(TDomainField field, std::string_view text);

// One domain record as plain values, for building and comparing records.
struct TDomainRecord {
    std::string Domain;  // the name without its extension
    std::string Dom;     // the extension without a leading dot
    std::string ExDate;  // the deletion date as the list gives it, never parsed
    std::int32_t Size = 0;

    bool operator==(const TDomainRecord&) const = default;
};

}  // namespace norvale
