#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "domains/TDomainTable.h"

namespace norvale {

// The two faces the report uses: Arial 10 pt for everything but the title, 12 pt.
enum class TReportFont : std::uint8_t { Body, Title };
enum class TReportAlign : std::uint8_t { Left, Right };

// Text widths come from whoever paints, since only the paint device knows its fonts.
// Everything in millimetres.
class IReportTextMeasure {
public:
    virtual ~IReportTextMeasure() = default;
    virtual double TextWidth(TReportFont font, std::string_view text) const = 0;
    virtual double LineHeight(TReportFont font) const = 0;
    // No single character is wider than this (a bound, so that a text too short to
    // overflow its box need not be measured).
    virtual double MaxCharWidth(TReportFont font) const = 0;
};

// One text on a page. The box is in millimetres from the paper's top-left corner.
// A box that sizes to its text is exactly as wide as the text; a fixed box keeps its
// width, and a text wider than it is clipped to it (clipped is then true).
struct TReportText {
    double left = 0;
    double top = 0;
    double width = 0;
    double height = 0;
    double textLeft = 0;  // where the text starts: left of the box unless right-aligned
    std::string text;
    TReportFont font = TReportFont::Body;
    TReportAlign align = TReportAlign::Left;
    bool clipped = false;

    double Right() const { return left + width; }
};

// A horizontal rule (the line along a band's bottom edge).
struct TReportRule {
    double left = 0;
    double right = 0;
    double top = 0;
};

struct TReportPage {
    std::size_t number = 1;  // 1-based
    std::size_t firstRow = 0;
    std::size_t rowCount = 0;
    std::vector<TReportText> texts;
    std::vector<TReportRule> rules;
};

// The banded list report: a title band on the first page, the column headings and a
// spacing band on every page, one detail band per record and the page footer with the
// page number at the bottom of every page. The records are the rows the table yields
// when the layout is made (its sort and filter), read without moving its cursor; the
// table must not change while the layout is in use.
class TReportLayout {
public:
    // A4 portrait, unless the printer says otherwise.
    static constexpr double kA4Width = 210.0;
    static constexpr double kA4Height = 297.0;

    TReportLayout(const TDomainTable& table, std::string dateText,
                  const IReportTextMeasure& measure, double pageWidth = kA4Width,
                  double pageHeight = kA4Height);

    std::size_t RowCount() const { return rows_.size(); }
    std::size_t RowsOnFirstPage() const { return rowsFirst_; }
    std::size_t RowsOnLaterPages() const { return rowsLater_; }
    std::size_t PageCount() const;
    double PageWidth() const { return pageWidth_; }
    double PageHeight() const { return pageHeight_; }

    // The boxes of one page, 0-based index.
    TReportPage Page(std::size_t index) const;

private:
    void AddText(TReportPage& page, int leftTenths, int topTenths, std::string text,
                 TReportFont font) const;
    void AddFixedText(TReportPage& page, int leftTenths, int topTenths, int widthTenths,
                      int heightTenths, std::string text, TReportAlign align, bool repeats) const;
    void AddRule(TReportPage& page, int topTenths) const;
    double BodyWidth(std::string_view text, bool repeats) const;

    const TDomainTable& table_;
    std::vector<TDomainTable::TRecordId> rows_;
    std::string dateText_;
    const IReportTextMeasure& measure_;
    double pageWidth_;
    double pageHeight_;
    int pageHeightTenths_;
    std::size_t rowsFirst_ = 0;
    std::size_t rowsLater_ = 0;
    // Dates, extensions and lengths repeat all down a list; their widths are measured once.
    mutable std::unordered_map<std::string, double> widths_;
};

}  // namespace norvale
