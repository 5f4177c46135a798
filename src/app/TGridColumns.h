#pragma once

#include <QString>
#include <array>

#include "domains/TDomainRecord.h"

namespace norvale {

// What one grid shows of the four fields: captions and design widths, in field order
// (Domain, Dom, ExDate, Size). A width of 0 keeps the header's default.
struct TGridColumns {
    std::array<QString, kDomainFieldCount> captions;
    std::array<int, kDomainFieldCount> widths{};
};

// The grids show the fields in this order.
constexpr std::array<TDomainField, kDomainFieldCount> kGridFieldOrder = {
    TDomainField::Domain, TDomainField::Dom, TDomainField::ExDate, TDomainField::Size};
inline TDomainField GridField(int column) {
    return kGridFieldOrder[static_cast<std::size_t>(column)];
}
inline int GridColumn(TDomainField field) {
    for (int c = 0; c < kDomainFieldCount; ++c)
        if (kGridFieldOrder[static_cast<std::size_t>(c)] == field)
            return c;
    return -1;
}

}  // namespace norvale
