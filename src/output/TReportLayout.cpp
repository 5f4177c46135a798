#include "output/TReportLayout.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "util/ENorvaleError.h"

namespace norvale {

namespace {

// The design is given to a tenth of a millimetre; working in whole tenths keeps the
// band arithmetic exact (5.3 mm rows must not drift over two thousand pages).
constexpr int kMargin = 100;
constexpr int kBandWidth = 1900;

constexpr int kTitleHeight = 180;
constexpr int kTitleLeft = 11;
constexpr int kTitleTop = 95;
constexpr int kDateRight = 1863;
constexpr int kDateTop = 106;

constexpr int kHeaderHeight = 69;
constexpr int kHeadingTop = 11;
constexpr int kSpacingHeight = 26;

constexpr int kDetailHeight = 53;
constexpr int kDetailBoxHeight = 48;

constexpr int kFooterHeight = 106;
constexpr int kPageNumberLeft = 1746;
constexpr int kPageNumberTop = 42;

struct TColumn {
    const char* heading;
    int headingLeft;
    int boxLeft;
    int boxWidth;
    TReportAlign align;
    bool repeats;  // values recur down the list (all but the name)
};
constexpr TColumn kColumns[kDomainFieldCount] = {
    {"Domain name", 11, 11, 1048, TReportAlign::Left, false},
    {"Extension", 1122, 1122, 201, TReportAlign::Left, true},
    {"Exp.Date", 1439, 1386, 201, TReportAlign::Right, true},
    {"Length", 1757, 1693, 175, TReportAlign::Right, true},
};

constexpr double Mm(int tenths) {
    return tenths / 10.0;
}

// Rows that fit between the top of the detail area and the footer: a band that does
// not fit whole goes to the next page.
std::size_t RowsBetween(int top, int footerTop) {
    return footerTop > top ? static_cast<std::size_t>((footerTop - top) / kDetailHeight) : 0;
}

}  // namespace

TReportLayout::TReportLayout(const TDomainTable& table, std::string dateText,
                             const IReportTextMeasure& measure, double pageWidth, double pageHeight)
    : table_(table),
      dateText_(std::move(dateText)),
      measure_(measure),
      pageWidth_(pageWidth),
      pageHeight_(pageHeight),
      pageHeightTenths_(static_cast<int>(std::lround(pageHeight * 10.0))) {
    const int footerTop = pageHeightTenths_ - kMargin - kFooterHeight;
    const int firstDetailTop = kMargin + kTitleHeight + kHeaderHeight + kSpacingHeight;
    const int laterDetailTop = kMargin + kHeaderHeight + kSpacingHeight;
    rowsFirst_ = RowsBetween(firstDetailTop, footerTop);
    rowsLater_ = RowsBetween(laterDetailTop, footerTop);
    // Without room for a row on every page the report would never end.
    if (rowsFirst_ == 0 || rowsLater_ == 0 || pageWidth < Mm(kMargin + kBandWidth))
        throw ENorvaleError("The paper is too small for the report.");

    const std::size_t count = table.RecordCount();
    rows_.reserve(count);
    for (std::size_t row = 0; row < count; ++row) rows_.push_back(table.RecordAtRow(row));
}

std::size_t TReportLayout::PageCount() const {
    if (rows_.size() <= rowsFirst_)
        return 1;
    return 1 + (rows_.size() - rowsFirst_ + rowsLater_ - 1) / rowsLater_;
}

void TReportLayout::AddText(TReportPage& page, int leftTenths, int topTenths, std::string text,
                            TReportFont font) const {
    TReportText box;
    box.left = Mm(leftTenths);
    box.top = Mm(topTenths);
    box.width = measure_.TextWidth(font, text);
    box.height = measure_.LineHeight(font);
    box.textLeft = box.left;
    box.text = std::move(text);
    box.font = font;
    page.texts.push_back(std::move(box));
}

double TReportLayout::BodyWidth(std::string_view text, bool repeats) const {
    constexpr std::size_t kMaxRemembered = 1 << 16;
    if (!repeats)
        return measure_.TextWidth(TReportFont::Body, text);
    const std::string key(text);
    if (const auto it = widths_.find(key); it != widths_.end())
        return it->second;
    const double width = measure_.TextWidth(TReportFont::Body, text);
    if (widths_.size() < kMaxRemembered)
        widths_.emplace(key, width);
    return width;
}

void TReportLayout::AddFixedText(TReportPage& page, int leftTenths, int topTenths, int widthTenths,
                                 int heightTenths, std::string text, TReportAlign align,
                                 bool repeats) const {
    TReportText box;
    box.left = Mm(leftTenths);
    box.top = Mm(topTenths);
    box.width = Mm(widthTenths);
    box.height = Mm(heightTenths);
    if (align == TReportAlign::Right) {
        const double textWidth = BodyWidth(text, repeats);
        box.textLeft = box.Right() - textWidth;
        box.clipped = textWidth > box.width + 1e-6;
    } else {
        box.textLeft = box.left;
        // Only a text long enough to overflow at its widest is worth measuring.
        const bool mayOverflow =
            static_cast<double>(text.size()) * measure_.MaxCharWidth(TReportFont::Body) > box.width;
        // A hair of slack so that a text that just fits is not clipped by rounding.
        box.clipped = mayOverflow && BodyWidth(text, repeats) > box.width + 1e-6;
    }
    box.text = std::move(text);
    box.align = align;
    page.texts.push_back(std::move(box));
}

void TReportLayout::AddRule(TReportPage& page, int topTenths) const {
    page.rules.push_back(TReportRule{Mm(kMargin), Mm(kMargin + kBandWidth), Mm(topTenths)});
}

TReportPage TReportLayout::Page(std::size_t index) const {
    if (index >= PageCount())
        throw ENorvaleError("List index out of bounds (" + std::to_string(index) + ")");
    TReportPage page;
    page.number = index + 1;
    page.firstRow = index == 0 ? 0 : rowsFirst_ + (index - 1) * rowsLater_;
    const std::size_t capacity = index == 0 ? rowsFirst_ : rowsLater_;
    page.rowCount =
        page.firstRow < rows_.size() ? std::min(capacity, rows_.size() - page.firstRow) : 0;
    page.texts.reserve(page.rowCount * kDomainFieldCount + 8);

    int y = kMargin;
    if (index == 0) {
        AddText(page, kMargin + kTitleLeft, y + kTitleTop, "List of Domains", TReportFont::Title);
        const double dateWidth = measure_.TextWidth(TReportFont::Body, dateText_);
        TReportText date;
        date.width = dateWidth;
        date.left = Mm(kMargin + kDateRight) - dateWidth;
        date.top = Mm(y + kDateTop);
        date.height = measure_.LineHeight(TReportFont::Body);
        date.textLeft = date.left;
        date.text = dateText_;
        date.align = TReportAlign::Right;
        page.texts.push_back(std::move(date));
        y += kTitleHeight;
        AddRule(page, y);
    }

    for (const TColumn& column : kColumns)
        AddText(page, kMargin + column.headingLeft, y + kHeadingTop, column.heading,
                TReportFont::Body);
    y += kHeaderHeight;
    AddRule(page, y);
    y += kSpacingHeight;

    for (std::size_t i = 0; i < page.rowCount; ++i) {
        const TDomainTable::TRecordId id = rows_[page.firstRow + i];
        for (int f = 0; f < kDomainFieldCount; ++f) {
            const auto field = static_cast<TDomainField>(f);
            std::string text = field == TDomainField::Size ? std::to_string(table_.SizeOf(id))
                                                           : std::string(table_.TextOf(id, field));
            const TColumn& column = kColumns[f];
            AddFixedText(page, kMargin + column.boxLeft, y, column.boxWidth, kDetailBoxHeight,
                         std::move(text), column.align, column.repeats);
        }
        y += kDetailHeight;
    }

    const int footerTop = pageHeightTenths_ - kMargin - kFooterHeight;
    AddText(page, kMargin + kPageNumberLeft, footerTop + kPageNumberTop,
            std::to_string(page.number), TReportFont::Body);
    return page;
}

}  // namespace norvale
