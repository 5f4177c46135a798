// norvale-cli report, read back from the PDF it writes with pdftotext -bbox.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "domains/TDomainListFile.h"
#include "support/TPdfWords.h"
#include "support/TTempDir.h"

namespace norvale {
namespace {

using test::ReadPdfWords;
using test::TIsolatedHome;
using test::TPdfPage;
using test::TPdfWord;

std::string Quote(const std::string& s) {
    return "'" + s + "'";
}

int RunShell(const std::string& command) {
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

const TPdfWord* FindWord(const TPdfPage& page, const std::string& text) {
    return page.Find(text);
}

class TReportCliPdfTest : public ::testing::Test {
protected:
    void SetUp() override { std::filesystem::create_directories(dataDir); }

    void WriteList(const char* file, int count) {
        TDomainTable table;
        table.Open();
        for (int i = 0; i < count; ++i) {
            char name[16];
            std::snprintf(name, sizeof name, "dom%03d", i);
            // A Latin-1 byte in the second row must reach the PDF as that letter.
            table.AppendRecord(i == 1 ? std::string("caf\xe9") : std::string(name),
                               i % 3 ? "net" : "co.uk", "12/24/2026", 6 + i % 5);
        }
        TDomainListFile::Save(table, dataDir + file);
    }

    int Report(const std::string& args) {
        return RunShell(std::string(NORVALE_CLI_PATH) + " --data-dir " + Quote(dataDir) +
                        " report " + args + " >/dev/null 2>" +
                        Quote(home.Dir().File("stderr.txt")));
    }

    TIsolatedHome home;
    std::string dataDir = home.Dir().Path() + "lists/";
    std::string pdf = home.Dir().File("report.pdf");
};

// 117 records: 45 on the first page, 48 on the second, 24 on the last.
TEST_F(TReportCliPdfTest, TwoAndAHalfPagesReadBack) {
    WriteList("mlist.dat", 117);
    ASSERT_EQ(Report("--pdf " + Quote(pdf)), 0) << home.Dir().Read("stderr.txt");
    const std::vector<TPdfPage> pages = ReadPdfWords(pdf);
    ASSERT_EQ(pages.size(), 3u);
    EXPECT_NEAR(pages[0].width, 210.0, 0.1);
    EXPECT_NEAR(pages[0].height, 297.0, 0.1);

    const std::size_t rowsPerPage[] = {45, 48, 24};
    for (std::size_t p = 0; p < pages.size(); ++p) {
        SCOPED_TRACE("page " + std::to_string(p + 1));
        const TPdfPage& page = pages[p];
        EXPECT_EQ(FindWord(page, "List") != nullptr, p == 0);
        EXPECT_EQ(FindWord(page, "Domains") != nullptr, p == 0);
        const double headingTop = p == 0 ? 29.1 : 11.1;
        for (const char* heading : {"Domain", "Extension", "Exp.Date", "Length"}) {
            const TPdfWord* w = FindWord(page, heading);
            ASSERT_NE(w, nullptr) << heading;
            EXPECT_NEAR(w->yMin, headingTop, 0.5) << heading;
        }
        // The footer holds the page number and nothing else.
        std::vector<std::string> footer;
        std::size_t names = 0;
        for (const TPdfWord& w : page.words) {
            if (w.yMin > 276.4)
                footer.push_back(w.text);
            if (std::abs(w.xMin - 11.1) < 0.5 && w.yMin > headingTop + 5)
                ++names;
        }
        EXPECT_EQ(footer, std::vector<std::string>{std::to_string(p + 1)});
        EXPECT_EQ(names, rowsPerPage[p]);
    }

    // The first row's four values where the layout puts them: name and extension
    // from the left of their boxes, date and length ending at their boxes' right edge.
    const struct {
        std::size_t page;
        const char* text;
        double x;
        bool fromRight;
        double top;
    } cells[] = {
        {0, "dom000", 11.1, false, 37.5}, {0, "co.uk", 122.2, false, 37.5},
        {0, "6", 196.8, true, 37.5},      {0, "café", 11.1, false, 42.8},
        {1, "dom045", 11.1, false, 19.5}, {2, "dom116", 11.1, false, 19.5 + 23 * 5.3},
    };
    for (const auto& c : cells) {
        SCOPED_TRACE(c.text);
        const TPdfWord* w = FindWord(pages[c.page], c.text);
        ASSERT_NE(w, nullptr);
        EXPECT_NEAR(c.fromRight ? w->xMax : w->xMin, c.x, 0.5);
        EXPECT_NEAR(w->yMin, c.top, 0.5);
    }
    const TPdfWord* date = nullptr;
    for (const TPdfWord& w : pages[0].words)
        if (w.text == "12/24/2026" && std::abs(w.yMin - 37.5) < 0.5)
            date = &w;
    ASSERT_NE(date, nullptr);
    EXPECT_NEAR(date->xMax, 168.7, 0.5);
    // The title's date and time ends at 186.3 from the band's left edge.
    double dateEnd = 0;
    for (const TPdfWord& w : pages[0].words)
        if (std::abs(w.yMin - 20.6) < 0.6)
            dateEnd = std::max(dateEnd, w.xMax);
    EXPECT_NEAR(dateEnd, 196.3, 0.5);
}

TEST_F(TReportCliPdfTest, ChoosesTheListAndPrintsAnEmptyOne) {
    WriteList("mlist.dat", 3);
    WriteList("draft.dat", 50);
    ASSERT_EQ(Report("--list drafts --pdf " + Quote(pdf)), 0) << home.Dir().Read("stderr.txt");
    EXPECT_EQ(ReadPdfWords(pdf).size(), 2u);

    // dlist.dat is missing: the full list is empty and still prints its one page.
    ASSERT_EQ(Report("--list=full --pdf=" + Quote(pdf)), 0) << home.Dir().Read("stderr.txt");
    const auto pages = ReadPdfWords(pdf);
    ASSERT_EQ(pages.size(), 1u);
    EXPECT_NE(FindWord(pages[0], "Domains"), nullptr);
    EXPECT_NE(FindWord(pages[0], "Length"), nullptr);
    EXPECT_EQ(FindWord(pages[0], "dom000"), nullptr);
    EXPECT_NE(FindWord(pages[0], "1"), nullptr);
}

TEST_F(TReportCliPdfTest, FailuresWriteNothing) {
    WriteList("mlist.dat", 3);
    const struct {
        std::string args;
        int exitCode;
    } cases[] = {
        {"", 2},
        {"--pdf", 2},
        {"--list all --pdf " + Quote(pdf), 2},
        {"--pdf " + Quote(pdf) + " --landscape", 2},
        {"--pdf " + Quote(home.Dir().File("missing/report.pdf")), 3},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args);
        EXPECT_EQ(Report(c.args), c.exitCode);
        EXPECT_FALSE(home.Dir().Exists("report.pdf"));
    }

    // A damaged list is an error, and the file stays where it is, untouched.
    home.Dir().Write("lists/mlist.dat", "not a list");
    EXPECT_EQ(Report("--pdf " + Quote(pdf)), 3);
    EXPECT_FALSE(home.Dir().Exists("report.pdf"));
    EXPECT_EQ(home.Dir().Read("lists/mlist.dat"), "not a list");
}

}  // namespace
}  // namespace norvale
