#include "output/TReportLayout.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "util/ENorvaleError.h"

namespace norvale {
namespace {

// Widths proportional to the text's length, so expected positions are easy to state.
class TFixedMeasure : public IReportTextMeasure {
public:
    double TextWidth(TReportFont font, std::string_view text) const override {
        return static_cast<double>(text.size()) * (font == TReportFont::Title ? 2.5 : 2.0);
    }
    double LineHeight(TReportFont font) const override {
        return font == TReportFont::Title ? 5.0 : 4.0;
    }
    double MaxCharWidth(TReportFont font) const override {
        return font == TReportFont::Title ? 2.5 : 2.0;
    }
};

constexpr double kTol = 1e-9;
const std::string kDate = "12/11/26 14:05";

std::string Name(int i) {
    return "name" + std::to_string(i);
}

void Fill(TDomainTable& table, int count) {
    table.Open();
    for (int i = 0; i < count; ++i)
        table.AppendRecord(Name(i), i % 2 ? "net" : "com",
                           "12/" + std::to_string(10 + i % 20) + "/2026", 4 + i % 7);
}

const TReportText* Find(const TReportPage& page, const std::string& text) {
    for (const TReportText& box : page.texts)
        if (box.text == text)
            return &box;
    return nullptr;
}

// The texts of detail row k of the page, in column order.
std::vector<const TReportText*> RowTexts(const TReportPage& page, std::size_t k) {
    std::vector<const TReportText*> row;
    const double top = page.number == 1 ? 37.5 : 19.5;
    for (const TReportText& box : page.texts)
        if (std::abs(box.top - (top + 5.3 * static_cast<double>(k))) < 1e-6 &&
            std::abs(box.height - 4.8) < 1e-6)
            row.push_back(&box);
    return row;
}

class TReportLayoutTest : public ::testing::Test {
protected:
    TFixedMeasure measure;
    TDomainTable table;
};

// The detail area runs from below the spacing band to the footer (297 - 10 - 10.6 =
// 276.4): from 37.5 on the first page (under the title) and from 19.5 on later ones.
TEST_F(TReportLayoutTest, RowsPerPageFollowFromTheBandHeights) {
    Fill(table, 0);
    const TReportLayout a4(table, kDate, measure);
    EXPECT_EQ(a4.RowsOnFirstPage(), 45u);   // (276.4 - 37.5) / 5.3 = 45.07
    EXPECT_EQ(a4.RowsOnLaterPages(), 48u);  // (276.4 - 19.5) / 5.3 = 48.47

    // Landscape A4 turns the page: footer at 210 - 20.6 = 189.4.
    const TReportLayout landscape(table, kDate, measure, 297.0, 210.0);
    EXPECT_EQ(landscape.RowsOnFirstPage(), 28u);   // 151.9 / 5.3
    EXPECT_EQ(landscape.RowsOnLaterPages(), 32u);  // 169.9 / 5.3
    const TReportPage page = landscape.Page(0);
    ASSERT_NE(Find(page, "1"), nullptr);
    EXPECT_NEAR(Find(page, "1")->top, 193.6, kTol);

    EXPECT_THROW(TReportLayout(table, kDate, measure, 210.0, 60.0), ENorvaleError);
}

TEST_F(TReportLayoutTest, PageCountAtTheBoundaries) {
    const struct {
        int records;
        std::size_t pages;
        std::size_t rowsOnLast;
    } cases[] = {{0, 1, 0},   {1, 1, 1},  {45, 1, 45}, {46, 2, 1},
                 {93, 2, 48}, {94, 3, 1}, {117, 3, 24}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.records);
        TDomainTable t;
        Fill(t, c.records);
        const TReportLayout layout(t, kDate, measure);
        EXPECT_EQ(layout.RowCount(), static_cast<std::size_t>(c.records));
        ASSERT_EQ(layout.PageCount(), c.pages);
        const TReportPage last = layout.Page(c.pages - 1);
        EXPECT_EQ(last.rowCount, c.rowsOnLast);
        EXPECT_EQ(last.firstRow + last.rowCount, static_cast<std::size_t>(c.records));
    }
}

TEST_F(TReportLayoutTest, FirstPageBoxes) {
    Fill(table, 117);
    const TReportLayout layout(table, kDate, measure);
    const TReportPage page = layout.Page(0);

    const TReportText* title = Find(page, "List of Domains");
    ASSERT_NE(title, nullptr);
    EXPECT_EQ(title->font, TReportFont::Title);
    EXPECT_NEAR(title->left, 11.1, kTol);
    EXPECT_NEAR(title->top, 19.5, kTol);
    EXPECT_NEAR(title->width, 15 * 2.5, kTol);  // sizes to its text

    const TReportText* date = Find(page, kDate);
    ASSERT_NE(date, nullptr);
    EXPECT_NEAR(date->Right(), 196.3, kTol);
    EXPECT_NEAR(date->textLeft, 196.3 - 2.0 * static_cast<double>(kDate.size()), kTol);
    EXPECT_NEAR(date->top, 20.6, kTol);

    const struct {
        const char* text;
        double left;
    } headings[] = {
        {"Domain name", 11.1}, {"Extension", 122.2}, {"Exp.Date", 153.9}, {"Length", 185.7}};
    for (const auto& h : headings) {
        SCOPED_TRACE(h.text);
        const TReportText* box = Find(page, h.text);
        ASSERT_NE(box, nullptr);
        EXPECT_NEAR(box->textLeft, h.left, kTol);
        EXPECT_NEAR(box->top, 29.1, kTol);  // header band starts under the title at 28.0
    }

    ASSERT_EQ(page.rules.size(), 2u);
    EXPECT_NEAR(page.rules[0].top, 28.0, kTol);
    EXPECT_NEAR(page.rules[1].top, 34.9, kTol);
    for (const TReportRule& rule : page.rules) {
        EXPECT_NEAR(rule.left, 10.0, kTol);
        EXPECT_NEAR(rule.right, 200.0, kTol);
    }

    // Row 0: name0, com, 12/10/2026, 4. Fixed boxes; the right-aligned ones end at
    // 168.7 and 196.8 whatever the text's width.
    const auto row = RowTexts(page, 0);
    ASSERT_EQ(row.size(), 4u);
    const struct {
        std::string text;
        double left, width, textLeft;
        TReportAlign align;
    } expected[] = {
        {"name0", 11.1, 104.8, 11.1, TReportAlign::Left},
        {"com", 122.2, 20.1, 122.2, TReportAlign::Left},
        {"12/10/2026", 148.6, 20.1, 168.7 - 20.0, TReportAlign::Right},
        {"4", 179.3, 17.5, 196.8 - 2.0, TReportAlign::Right},
    };
    for (std::size_t i = 0; i < 4; ++i) {
        SCOPED_TRACE(expected[i].text);
        EXPECT_EQ(row[i]->text, expected[i].text);
        EXPECT_NEAR(row[i]->left, expected[i].left, kTol);
        EXPECT_NEAR(row[i]->width, expected[i].width, kTol);
        EXPECT_NEAR(row[i]->textLeft, expected[i].textLeft, kTol);
        EXPECT_NEAR(row[i]->top, 37.5, kTol);
        EXPECT_EQ(row[i]->align, expected[i].align);
        EXPECT_FALSE(row[i]->clipped);
    }

    // The 45th row is the page's last, 5.3 mm apart from the first.
    EXPECT_EQ(page.rowCount, 45u);
    const auto last = RowTexts(page, 44);
    ASSERT_EQ(last.size(), 4u);
    EXPECT_EQ(last[0]->text, Name(44));
    EXPECT_NEAR(last[0]->top, 37.5 + 44 * 5.3, 1e-6);
    EXPECT_EQ(Find(page, Name(45)), nullptr);

    const TReportText* number = Find(page, "1");
    ASSERT_NE(number, nullptr);
    EXPECT_NEAR(number->left, 184.6, kTol);
    EXPECT_NEAR(number->top, 280.6, kTol);
}

TEST_F(TReportLayoutTest, LaterPagesRepeatTheHeadingsButNotTheTitle) {
    Fill(table, 117);
    const TReportLayout layout(table, kDate, measure);
    for (std::size_t index : {std::size_t{1}, std::size_t{2}}) {
        SCOPED_TRACE(index);
        const TReportPage page = layout.Page(index);
        EXPECT_EQ(Find(page, "List of Domains"), nullptr);
        EXPECT_EQ(Find(page, kDate), nullptr);
        ASSERT_NE(Find(page, "Domain name"), nullptr);
        EXPECT_NEAR(Find(page, "Domain name")->top, 11.1, kTol);
        EXPECT_NEAR(Find(page, "Length")->textLeft, 185.7, kTol);
        ASSERT_EQ(page.rules.size(), 1u);
        EXPECT_NEAR(page.rules[0].top, 16.9, kTol);

        const auto first = RowTexts(page, 0);
        ASSERT_EQ(first.size(), 4u);
        EXPECT_EQ(first[0]->text, Name(static_cast<int>(45 + (index - 1) * 48)));

        const TReportText* number = Find(page, std::to_string(index + 1));
        ASSERT_NE(number, nullptr);
        EXPECT_NEAR(number->left, 184.6, kTol);
        EXPECT_NEAR(number->top, 280.6, kTol);
    }
    // Page 2 is full: its 48th row ends at 19.5 + 48 * 5.3 = 273.9, above the footer.
    const TReportPage second = layout.Page(1);
    EXPECT_EQ(second.rowCount, 48u);
    const auto last = RowTexts(second, 47);
    ASSERT_EQ(last.size(), 4u);
    EXPECT_EQ(last[0]->text, Name(92));
    EXPECT_LE(last[0]->top + 5.3, 276.4);

    // The last page holds the rest and still carries its footer.
    const TReportPage third = layout.Page(2);
    EXPECT_EQ(third.rowCount, 24u);
    EXPECT_EQ(RowTexts(third, 23).at(0)->text, Name(116));
    EXPECT_TRUE(RowTexts(third, 24).empty());
    EXPECT_THROW(layout.Page(3), ENorvaleError);
}

TEST_F(TReportLayoutTest, ValuesWiderThanTheirBoxAreClipped) {
    table.Open();
    table.AppendRecord(std::string(255, 'w'), "museum", "123456789012", 255);
    table.AppendRecord(std::string(52, 'x'), "com", "1/1/2026", 52);  // 104 mm: just fits
    const TReportLayout layout(table, kDate, measure);
    const TReportPage page = layout.Page(0);

    const auto longRow = RowTexts(page, 0);
    ASSERT_EQ(longRow.size(), 4u);
    EXPECT_TRUE(longRow[0]->clipped);
    EXPECT_NEAR(longRow[0]->width, 104.8, kTol);  // the row never grows
    EXPECT_NEAR(longRow[0]->height, 4.8, kTol);
    EXPECT_EQ(longRow[0]->text.size(), 255u);
    // A right-aligned value too wide for its box still ends at the box's right edge:
    // its start spills to the left and the clip keeps its tail.
    EXPECT_TRUE(longRow[2]->clipped);
    EXPECT_NEAR(longRow[2]->textLeft, 168.7 - 24.0, kTol);
    EXPECT_FALSE(longRow[3]->clipped);

    const auto fitting = RowTexts(page, 1);
    ASSERT_EQ(fitting.size(), 4u);
    EXPECT_FALSE(fitting[0]->clipped);
    EXPECT_NEAR(fitting[0]->top, 42.8, kTol);
}

TEST_F(TReportLayoutTest, EmptyListGivesOnePageWithTitleHeadingsAndFooter) {
    Fill(table, 0);
    const TReportLayout layout(table, kDate, measure);
    ASSERT_EQ(layout.PageCount(), 1u);
    const TReportPage page = layout.Page(0);
    EXPECT_EQ(page.rowCount, 0u);
    std::vector<std::string> texts;
    for (const TReportText& box : page.texts) texts.push_back(box.text);
    EXPECT_EQ(texts, (std::vector<std::string>{"List of Domains", kDate, "Domain name", "Extension",
                                               "Exp.Date", "Length", "1"}));
    EXPECT_EQ(page.rules.size(), 2u);
}

// The report reads what the table yields: its sort, its filter, and never its cursor.
TEST_F(TReportLayoutTest, FollowsTheTablesSortAndFilterWithoutMovingItsCursor) {
    table.Open();
    table.AppendRecord("delta", "com", "3", 5);
    table.AppendRecord("alpha", "net", "1", 5);
    table.AppendRecord("charlie", "org", "2", 7);
    table.AppendRecord("bravo", "com", "4", 5);
    table.SortOn(TDomainField::Domain);
    table.SetFilter([](const TDomainTable& t, TDomainTable::TRecordId id) {
        return t.TextOf(id, TDomainField::Dom) != "net";
    });
    table.MoveTo(1);

    const TReportLayout layout(table, kDate, measure);
    EXPECT_EQ(table.RecNo(), 1u);
    const TReportPage page = layout.Page(0);
    std::vector<std::string> names;
    for (std::size_t k = 0; k < page.rowCount; ++k) names.push_back(RowTexts(page, k).at(0)->text);
    EXPECT_EQ(names, (std::vector<std::string>{"bravo", "charlie", "delta"}));
    EXPECT_EQ(RowTexts(page, 1).at(3)->text, "7");
}

}  // namespace
}  // namespace norvale
