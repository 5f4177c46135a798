// The report forms on the main window: which list, preview, print, and the grid's
// bound views released on every path. The dialogs are answered by a fake, since the
// real ones block until a person closes them.
#include <gtest/gtest.h>

#include <QAction>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QTabWidget>
#include <QToolButton>
#include <functional>
#include <memory>

#include "app/mainU.h"
#include "domains/TDomainListFile.h"
#include "output/ui/repdraftsU.h"
#include "output/ui/reportfullU.h"
#include "output/ui/reportsU.h"
#include "support/TPdfWords.h"
#include "support/TTempDir.h"
#include "support/qt/TScriptedPrompts.h"
#include "util/ENorvaleError.h"
#include "util/TFileIO.h"

namespace norvale {
namespace {

using test::ReadPdfWords;
using test::TIsolatedHome;
using test::TScriptedPromptsScope;

class TFakeReportDialogs : public IReportDialogs {
public:
    std::function<void(QPrintPreviewDialog&)> onPreview = [](QPrintPreviewDialog&) {};
    std::function<bool(QPrintDialog&)> onSetup = [](QPrintDialog&) { return false; };
    int previews = 0;
    int setups = 0;

    void ExecPreview(QPrintPreviewDialog& dialog) override {
        ++previews;
        onPreview(dialog);
    }
    bool ExecPrinterSetup(QPrintDialog& dialog) override {
        ++setups;
        return onSetup(dialog);
    }
};

void WriteList(const std::string& path, const std::string& prefix, int count) {
    TDomainTable table;
    table.Open();
    for (int i = 0; i < count; ++i)
        table.AppendRecord(prefix + std::to_string(1000 + i), i % 2 ? "net" : "com", "12/24/2026",
                           4 + i % 9);
    TDomainListFile::Save(table, path);
}

class TReportFormsTest : public ::testing::Test {
protected:
    void SetUp() override {
        const TDataFolder folder(home.DataFolder());
        folder.EnsureDataFolder();
        WriteList(folder.FilePath("mlist.dat"), "match", 3);
        WriteList(folder.FilePath("dlist.dat"), "full", 117);
        WriteList(folder.FilePath("draft.dat"), "draft", 50);
        window = std::make_unique<TfrmMain>();
        auto owned = std::make_unique<TFakeReportDialogs>();
        dialogs = owned.get();
        TfrmReport::SetDialogs(std::move(owned));
    }
    void TearDown() override {
        window.reset();
        TfrmReport::SetDialogs(nullptr);
    }

    // Pages the preview window would show, made by the real preview widget.
    static int PreviewPages(QPrintPreviewDialog& dialog) {
        auto* widget = dialog.findChild<QPrintPreviewWidget*>();
        if (!widget)
            return -1;
        widget->updatePreview();
        return widget->pageCount();
    }

    TIsolatedHome home;
    TScriptedPromptsScope prompts;
    std::unique_ptr<TfrmMain> window;
    TFakeReportDialogs* dialogs = nullptr;
};

TEST_F(TReportFormsTest, PreviewShowsTheActiveTabsListInAFormMadeOnceAndKept) {
    const struct {
        int tab;
        const char* caption;
        int pages;
    } cases[] = {{kTabMatch, "Report", 1}, {kTabFull, "Report Full", 3}, {kTabDrafts, "Drafts", 2}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.caption);
        window->PageControl1->setCurrentIndex(c.tab);
        TDomainTable& table = window->Lists->ForTab(c.tab);
        int pages = 0;
        bool suspended = false;
        QString title;
        dialogs->onPreview = [&](QPrintPreviewDialog& dialog) {
            suspended = table.ControlsDisabled();
            title = dialog.windowTitle();
            pages = PreviewPages(dialog);
        };
        ASSERT_TRUE(window->BtnPrintPreview->isEnabled());
        window->BtnPrintPreview->click();
        EXPECT_EQ(pages, c.pages);
        EXPECT_TRUE(suspended);
        EXPECT_FALSE(table.ControlsDisabled());
        EXPECT_EQ(title, c.caption);

        TfrmReport* form = &window->ReportForm(c.tab);
        EXPECT_EQ(&form->Table(), &table);
        EXPECT_EQ(form->windowTitle(), c.caption);
        EXPECT_FALSE(form->isVisible());
        // The menu twin runs the same command on the same, kept form.
        pages = 0;
        window->ProntPreview1->trigger();
        EXPECT_EQ(pages, c.pages);
        EXPECT_EQ(&window->ReportForm(c.tab), form);
    }
    EXPECT_NE(dynamic_cast<TfrmReportFull*>(window->frmReportFull), nullptr);
    EXPECT_NE(dynamic_cast<TfrmRepDrafts*>(window->frmRepDrafts), nullptr);
    EXPECT_EQ(dialogs->previews, 6);
    EXPECT_TRUE(prompts->shown.isEmpty()) << prompts->shown.join("\n").toStdString();

    // A long run turns the commands off.
    window->BeginLongRun();
    EXPECT_FALSE(window->BtnPrintPreview->isEnabled());
    EXPECT_FALSE(window->Print1->isEnabled());
    window->EndLongRun();
    EXPECT_TRUE(window->BtnPrint->isEnabled());
}

// The preview reads the list in the grid's order and through its filter, and the
// grid's current row stays where it was.
TEST_F(TReportFormsTest, PreviewPaintsTheListInItsSortAndFilter) {
    window->PageControl1->setCurrentIndex(kTabFull);
    TDomainTable& table = window->kbmMemTable1();
    table.SortOn(TDomainField::Size);
    table.SetFilter([](const TDomainTable& t, TDomainTable::TRecordId id) {
        return t.TextOf(id, TDomainField::Dom) == "net";
    });
    table.MoveTo(5);
    const std::string pdf = home.Dir().File("preview.pdf");
    dialogs->onPreview = [&](QPrintPreviewDialog& dialog) {
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(QString::fromStdString(pdf));
        emit dialog.paintRequested(&printer);
    };
    window->BtnPrintPreview->click();
    EXPECT_EQ(table.RecNo(), 5u);

    const auto pages = ReadPdfWords(pdf);
    ASSERT_EQ(pages.size(), 2u);  // 58 of the 117 are .net
    // Sorted by length (4 + i % 9), stable: the six .net rows of length 4 (i = 9, 27,
    // ..., 99) come first, then those of length 5 in the order of addition (i = 1, 19, ...).
    const struct {
        const char* name;
        int row;
    } rows[] = {{"full1009", 0}, {"full1099", 5}, {"full1001", 6}, {"full1019", 7}};
    for (const auto& r : rows) {
        SCOPED_TRACE(r.name);
        const test::TPdfWord* word = pages[0].Find(r.name);
        ASSERT_NE(word, nullptr);
        EXPECT_NEAR(word->yMin, 37.5 + 5.3 * r.row, 0.5);
    }
    EXPECT_EQ(pages[0].Find("full1000"), nullptr);  // .com, filtered out
}

TEST_F(TReportFormsTest, PrintHandsPrinterCopiesAndOrientationToTheReport) {
    window->PageControl1->setCurrentIndex(kTabFull);
    const std::string pdf = home.Dir().File("printed.pdf");
    bool suspended = false;
    dialogs->onSetup = [&](QPrintDialog& dialog) {
        suspended = window->kbmMemTable1().ControlsDisabled();
        QPrinter* chosen = dialog.printer();
        chosen->setOutputFormat(QPrinter::PdfFormat);
        chosen->setOutputFileName(QString::fromStdString(pdf));
        chosen->setCopyCount(2);
        chosen->setPageOrientation(QPageLayout::Landscape);
        return true;
    };
    window->Print1->trigger();
    EXPECT_TRUE(prompts->shown.isEmpty()) << prompts->shown.join("\n").toStdString();
    EXPECT_TRUE(suspended);
    EXPECT_FALSE(window->kbmMemTable1().ControlsDisabled());

    const QPrinter& settings = window->ReportForm(kTabFull).Printer();
    EXPECT_EQ(settings.copyCount(), 2);
    EXPECT_EQ(settings.pageLayout().orientation(), QPageLayout::Landscape);
    EXPECT_EQ(settings.outputFileName().toStdString(), pdf);

    // Landscape turns the page: 28 rows, then 32 a page, so 117 rows take 4 pages; a
    // printer that cannot make copies gets the pages twice.
    const auto pages = ReadPdfWords(pdf);
    const std::size_t copies = settings.supportsMultipleCopies() ? 1 : 2;
    ASSERT_EQ(pages.size(), 4 * copies);
    EXPECT_NEAR(pages[0].width, 297.0, 0.1);
    EXPECT_NEAR(pages[0].height, 210.0, 0.1);
    EXPECT_NE(pages[0].Find("List"), nullptr);
    EXPECT_NE(pages[3].Find("4"), nullptr);
    EXPECT_NE(pages[3].Find("full1116"), nullptr);
    // The match list's form has its own, untouched settings.
    EXPECT_EQ(window->ReportForm(kTabMatch).Printer().copyCount(), 1);
}

TEST_F(TReportFormsTest, CancelPrintsNothingAndReleasesTheGrid) {
    window->PageControl1->setCurrentIndex(kTabDrafts);
    const std::string pdf = home.Dir().File("cancelled.pdf");
    dialogs->onSetup = [&](QPrintDialog& dialog) {
        dialog.printer()->setOutputFormat(QPrinter::PdfFormat);
        dialog.printer()->setOutputFileName(QString::fromStdString(pdf));
        return false;
    };
    window->BtnPrint->click();
    EXPECT_EQ(dialogs->setups, 1);
    EXPECT_FALSE(FileExists(pdf));
    EXPECT_TRUE(window->ReportForm(kTabDrafts).Printer().outputFileName().isEmpty());
    EXPECT_FALSE(window->kbmDraft().ControlsDisabled());
    EXPECT_TRUE(prompts->shown.isEmpty());
}

TEST_F(TReportFormsTest, ErrorsAreReportedAndTheGridIsReleased) {
    window->PageControl1->setCurrentIndex(kTabMatch);
    // The printer cannot start: its file would go into a folder that does not exist.
    dialogs->onSetup = [&](QPrintDialog& dialog) {
        dialog.printer()->setOutputFormat(QPrinter::PdfFormat);
        dialog.printer()->setOutputFileName(
            QString::fromStdString(home.Dir().File("no/such/folder/r.pdf")));
        return true;
    };
    window->BtnPrint->click();
    EXPECT_FALSE(window->kbmMain().ControlsDisabled());

    // The preview window fails after the report has started.
    dialogs->onPreview = [](QPrintPreviewDialog&) { throw ENorvaleError("The preview broke."); };
    window->BtnPrintPreview->click();
    EXPECT_FALSE(window->kbmMain().ControlsDisabled());

    EXPECT_EQ(prompts->shown,
              QStringList({"error: Printing could not be started.", "error: The preview broke."}));
}

}  // namespace
}  // namespace norvale
