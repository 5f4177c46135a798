#include "domains/TDomainRecord.h"

namespace norvale {

const char* DomainFieldName(TDomainField field) {
    switch (field) {
        case TDomainField::Domain: return "Domain";
        case TDomainField::Dom: return "Dom";
        case TDomainField::ExDate: return "ExDate";
        case TDomainField::Size: return "Size";
    }
    return "";
}

std::optional<TDomainField> FindDomainField(std::string_view name) {
    for (int i = 0; i < kDomainFieldCount; ++i) {
        const auto field = static_cast<TDomainField>(i);
        const std::string_view candidate = DomainFieldName(field);
        if (candidate.size() != name.size()) continue;
        bool same = true;
        for (std::size_t k = 0; k < name.size() && same; ++k) {
            char a = name[k];
            if (a >= 'A' && a <= 'Z') a = static_cast<char>(a - 'A' + 'a');
            char b = candidate[k];
            if (b >= 'A' && b <= 'Z') b = static_cast<char>(b - 'A' + 'a');
            same = a == b;
        }
        if (same) return field;
    }
    return std::nullopt;
}

std::size_t FieldWidth(TDomainField field) {
    switch (field) {
        case TDomainField::Domain: return kDomainWidth;
        case TDomainField::Dom: return kDomWidth;
        case TDomainField::ExDate: return kExDateWidth;
        case TDomainField::Size: return 0;
    }
    return 0;
}

std::string_view StoredText(TDomainField field, std::string_view text) {
    const auto zero = text.find('\0');
    if (zero != std::string_view::npos) text = text.substr(0, zero);
    // Size has no width: the text given for it is a number and is never cut.
    const std::size_t width = FieldWidth(field);
    if (width != 0 && text.size() > width) text = text.substr(0, width);
    return text;
}

}  // namespace norvale
