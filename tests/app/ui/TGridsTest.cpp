#include <gtest/gtest.h>

#include <QAbstractItemModelTester>
#include <QAction>
#include <QApplication>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QTest>
#include <QToolButton>
#include <QTreeView>
#include <filesystem>
#include <memory>

#include "app/TDomainGrid.h"
#include "app/TDomainTableModel.h"
#include "app/TGridHeader.h"
#include "app/TGridNavigator.h"
#include "app/TGroupByBox.h"
#include "app/TGroupedModel.h"
#include "app/mainU.h"
#include "domains/TDomainListFile.h"
#include "support/TTempDir.h"
#include "support/qt/TScriptedPrompts.h"

namespace norvale {
namespace {

using test::TIsolatedHome;
using test::TScriptedPromptsScope;

std::vector<std::string> Names(const TDomainTable& table) {
    std::vector<std::string> out;
    for (std::size_t row = 0; row < table.RecordCount(); ++row)
        out.emplace_back(table.TextOf(table.RecordAtRow(row), TDomainField::Domain));
    return out;
}

std::vector<TDomainRecord> FileRecords(const std::string& path) {
    TDomainTable table;
    table.Open();
    TDomainListFile::Load(table, path);
    std::vector<TDomainRecord> out;
    for (std::size_t row = 0; row < table.RecordCount(); ++row)
        out.push_back(table.RecordOf(table.RecordAtRow(row)));
    return out;
}

TEST(TDomainTableModel, PassesTheModelTesterThroughSortFilterAndRefill) {
    TDomainTable table;
    table.Open();
    for (int i = 0; i < 50; ++i)
        table.AppendRecord("name" + std::to_string(49 - i), i % 2 ? "com" : "net", "1/1/2024",
                           4 + i % 7);
    TGridColumns columns{{"Domain name", "Extension", "Exp.Date", "Size"}, {350, 88, 110, 80}};
    TDomainTableModel model(table, columns);
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
    EXPECT_EQ(model.rowCount(), 50);
    EXPECT_EQ(model.columnCount(), 4);
    EXPECT_EQ(model.headerData(2, Qt::Horizontal).toString(), "Exp.Date");

    table.SortOn(TDomainField::Domain);
    EXPECT_EQ(model.index(0, 0).data().toString(), "name0");
    EXPECT_EQ(model.index(0, 3).data().toInt(), table.SizeOf(table.RecordAtRow(0)));
    table.SetFilter([](const TDomainTable& t, TDomainTable::TRecordId id) {
        return t.TextOf(id, TDomainField::Dom) == "com";
    });
    EXPECT_EQ(model.rowCount(), 25);
    EXPECT_EQ(model.index(0, 1).data().toString(), "com");
    table.MoveTo(3);
    table.Delete();
    EXPECT_EQ(model.rowCount(), 24);
    TDomainTable fresh;
    fresh.Open();
    fresh.AppendRecord("zz", "com", "", 2);
    fresh.AppendRecord("aa", "com", "", 2);
    table.ReplaceContent(std::move(fresh));
    ASSERT_EQ(model.rowCount(), 2);
    EXPECT_EQ(model.index(0, 0).data().toString(), "aa");  // the sort stays in force
    table.Close();
    EXPECT_EQ(model.rowCount(), 0);
}

TEST(TGroupedModel, GroupsWithCountsAndMapsRowsBothWays) {
    TDomainTable table;
    table.Open();
    table.AppendRecord("a", "net", "", 1);
    table.AppendRecord("b", "COM", "", 1);
    table.AppendRecord("c", "com", "", 1);
    table.AppendRecord("d", "org", "", 1);
    TGridColumns columns{{"Domain name", "Extension", "Exp.Date", "Size"}, {}};
    TGroupedModel model(table, columns, TDomainField::Dom);
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
    ASSERT_EQ(model.rowCount(), 3);  // "COM" and "com" are one value to the filter too
    EXPECT_EQ(model.index(0, 0).data().toString(), "Extension: COM  (2)");
    EXPECT_EQ(model.index(2, 0).data().toString(), "Extension: org  (1)");
    const QModelIndex com = model.index(0, 0);
    EXPECT_TRUE(model.IsGroupRow(com));
    EXPECT_EQ(model.TableRow(com), TDomainTable::npos);
    EXPECT_EQ(model.TableRow(model.index(1, 0, com)), 2u);
    EXPECT_EQ(model.IndexOfTableRow(2), model.index(1, 0, com));
    table.MoveTo(0);
    table.Delete();  // "a", the only "net"
    EXPECT_EQ(model.rowCount(), 2);
    // Grouping is a view: the table keeps its order of addition.
    EXPECT_EQ(Names(table), (std::vector<std::string>{"b", "c", "d"}));
}

// A window over lists written beforehand into an isolated data folder.
class TGridsWindow : public ::testing::Test {
protected:
    void WriteFullList(const std::vector<TDomainRecord>& records) {
        WriteList("dlist.dat", records);
    }
    void WriteMatchList(const std::vector<TDomainRecord>& records) {
        WriteList("mlist.dat", records);
    }
    void WriteList(const char* file, const std::vector<TDomainRecord>& records) {
        std::filesystem::create_directories(home.DataFolder());
        TDomainTable table;
        table.Open();
        for (const auto& r : records) table.AppendRecord(r);
        TDomainListFile::Save(table, home.DataFolder() + file);
    }
    void Start() {
        window = std::make_unique<TfrmMain>(TMainOptions{home.DataFolder(), home.SettingsFile()});
        window->show();
        QApplication::processEvents();
    }
    void Restart() {
        window.reset();
        Start();
    }
    void ClickHeader(TDomainGrid* grid, int column) {
        TGridHeader* header = grid->Header;
        const QPoint at(header->sectionViewportPosition(column) + header->sectionSize(column) / 2,
                        (header->height() - header->FilterRowHeight()) / 2);
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, at);
    }
    void Focus(TDomainGrid* grid, int row) {
        QAbstractItemView* view = grid->ActiveView();
        view->setCurrentIndex(view->model()->index(row, 0));
    }
    std::string Status() const { return window->RzStatusPane1->text().toStdString(); }
    std::string DraftFile() const { return home.DataFolder() + "draft.dat"; }

    static std::vector<TDomainRecord> Sample() {
        return {{"shopnow", "com", "12/01/2024", 7},
                {"cars", "net", "02/11/2024", 4},
                {"myshop", "org", "10/05/2023", 6},
                {"bo", "com", "01/30/2025", 2},
                {"tenletters", "info", "11/11/2024", 10}};
    }

    TIsolatedHome home;
    TScriptedPromptsScope prompts;
    std::unique_ptr<TfrmMain> window;
};

TEST_F(TGridsWindow, GridsSitOnTheirTabsWithCaptionsAndSettings) {
    Start();
    EXPECT_EQ(window->grid1->parentWidget(), window->TabSheet1);
    EXPECT_EQ(window->cxGrid1->parentWidget(), window->TabSheet2);
    EXPECT_EQ(window->cxGrid2->parentWidget(), window->TabSheet3);
    EXPECT_EQ(window->cxGrid1->View->model()->headerData(2, Qt::Horizontal).toString(),
              "Expirion Date");
    EXPECT_EQ(window->grid1->View->model()->headerData(2, Qt::Horizontal).toString(), "Exp.Date");
    EXPECT_EQ(window->cxGrid2->Header->sectionSize(0), 252);
    EXPECT_TRUE(window->grid1->GroupBox);
    EXPECT_FALSE(window->cxGrid1->GroupBox);
    EXPECT_TRUE(window->cxGrid2->Navigator->Button(TGridNavigator::nbDelete));
    EXPECT_FALSE(window->cxGrid1->Navigator->Button(TGridNavigator::nbDelete));
    for (TDomainGrid* grid : {window->grid1, window->cxGrid1, window->cxGrid2}) {
        EXPECT_EQ(grid->View->selectionBehavior(), QAbstractItemView::SelectRows);
        EXPECT_EQ(grid->View->editTriggers(), QAbstractItemView::NoEditTriggers);
        EXPECT_EQ(grid->View->verticalHeader()->sectionResizeMode(0), QHeaderView::Fixed);
    }
    EXPECT_TRUE(window->Addtodrafts1->isEnabled());
}

TEST_F(TGridsWindow, HeaderClickSortsTheTableAscendingAndShowsTheArrow) {
    WriteFullList(Sample());
    Start();
    window->PageControl1->setCurrentIndex(1);
    TDomainGrid* grid = window->cxGrid1;
    struct TCase {
        int column;
        std::vector<std::string> names;
    };
    const TCase cases[] = {
        {1, {"shopnow", "bo", "tenletters", "cars", "myshop"}},  // com com info net org, stable
        {1, {"shopnow", "bo", "tenletters", "cars", "myshop"}},  // a second click changes nothing
        {2,
         {"bo", "cars", "myshop", "tenletters",
          "shopnow"}},  // dates as text, character by character
        {3, {"bo", "cars", "myshop", "shopnow", "tenletters"}},  // sizes as numbers: 2 before 10
        {0, {"bo", "cars", "myshop", "shopnow", "tenletters"}},
    };
    for (const TCase& c : cases) {
        window->kbmMemTable1().MoveTo(3);
        ClickHeader(grid, c.column);
        EXPECT_EQ(Names(window->kbmMemTable1()), c.names) << c.column;
        EXPECT_EQ(window->kbmMemTable1().RecNo(), 0u) << "cursor to the first record";
        EXPECT_EQ(grid->View->currentIndex().row(), 0);
        EXPECT_EQ(grid->Header->sortIndicatorSection(), c.column);
        EXPECT_EQ(grid->Header->sortIndicatorOrder(), Qt::AscendingOrder);
        EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    }
    // The file keeps the order of addition.
    EXPECT_EQ(FileRecords(home.DataFolder() + "dlist.dat"), Sample());
}

TEST_F(TGridsWindow, SortSurvivesTheRefillOfItsList) {
    WriteMatchList(Sample());
    Start();
    ClickHeader(window->grid1, 3);
    TDomainTable fresh;
    fresh.Open();
    fresh.AppendRecord("longername", "com", "", 10);
    fresh.AppendRecord("abc", "com", "", 3);
    window->kbmMain().ReplaceContent(std::move(fresh));
    EXPECT_EQ(Names(window->kbmMain()), (std::vector<std::string>{"abc", "longername"}));
    EXPECT_EQ(window->grid1->Header->sortIndicatorSection(), 3);
    EXPECT_EQ(window->grid1->View->model()->index(0, 0).data().toString(), "abc");
}

TEST_F(TGridsWindow, FilterRowFiltersTheTableAndTheStatusPaneFollows) {
    WriteFullList(Sample());
    Start();
    window->PageControl1->setCurrentIndex(1);
    TDomainGrid* grid = window->cxGrid1;
    EXPECT_EQ(Status(), "Found 5 domains");
    QTest::keyClicks(grid->Header->FilterEditor(0), "*SHOP*");
    EXPECT_EQ(Status(), "Found 2 domains");
    EXPECT_EQ(Names(window->kbmMemTable1()), (std::vector<std::string>{"shopnow", "myshop"}));
    EXPECT_FALSE(grid->FilterPanel->isHidden());
    EXPECT_EQ(grid->FilterPanelText->text(), "Domain name contains \"SHOP\"");

    QTest::keyClicks(grid->Header->FilterEditor(3), ">6");
    EXPECT_EQ(Status(), "Found 1 domains");
    // A size text that is no condition is marked and leaves the filter as it was.
    grid->Header->FilterEditor(3)->setText(">x");
    EXPECT_TRUE(grid->Header->FilterEditor(3)->property("filterError").toBool());
    EXPECT_EQ(window->kbmMemTable1().RecordCount(), 1u);

    QTest::mouseClick(grid->btnClearFilter, Qt::LeftButton);
    EXPECT_EQ(Status(), "Found 5 domains");
    EXPECT_TRUE(grid->FilterPanel->isHidden());
    EXPECT_TRUE(grid->Header->FilterEditor(0)->text().isEmpty());
    EXPECT_FALSE(grid->Header->FilterEditor(3)->property("filterError").toBool());
    // Saving while filtered still writes every record.
    grid->SetColumnFilter(1, "com");
    window->Lists->SaveDomainLists();
    EXPECT_EQ(FileRecords(home.DataFolder() + "dlist.dat").size(), 5u);
}

TEST_F(TGridsWindow, ClearGridFilterEmptiesTheEditorsToo) {
    WriteFullList(Sample());
    Start();
    window->cxGrid1->SetColumnFilter(1, "net");
    ASSERT_EQ(window->kbmMemTable1().RecordCount(), 1u);
    window->ClearGridFilter(1);
    EXPECT_EQ(window->kbmMemTable1().RecordCount(), 5u);
    EXPECT_FALSE(window->kbmMemTable1().Filtered());
    EXPECT_TRUE(window->cxGrid1->Header->FilterEditor(1)->text().isEmpty());
    EXPECT_TRUE(window->cxGrid1->Filter().Empty());
}

TEST_F(TGridsWindow, PickListOffersEachValueWithItsCount) {
    WriteFullList(Sample());
    Start();
    TDomainGrid* grid = window->cxGrid1;
    const auto values = grid->PickList(1);
    ASSERT_TRUE(values);
    EXPECT_EQ(*values, (TDistinctValues{{"com", 2}, {"info", 1}, {"net", 1}, {"org", 1}}));
}

TEST_F(TGridsWindow, FocusedRowIsTheTablesCurrentRecordBothWays) {
    WriteFullList(Sample());
    Start();
    window->PageControl1->setCurrentIndex(1);  // the page buttons need a laid-out grid
    TDomainGrid* grid = window->cxGrid1;
    Focus(grid, 2);
    EXPECT_EQ(window->kbmMemTable1().RecNo(), 2u);
    window->kbmMemTable1().MoveTo(4);
    EXPECT_EQ(grid->View->currentIndex().row(), 4);
    struct TCase {
        TGridNavigator::TButton button;
        std::size_t expected;
    };
    const TCase cases[] = {{TGridNavigator::nbFirst, 0},    {TGridNavigator::nbNext, 1},
                           {TGridNavigator::nbLast, 4},     {TGridNavigator::nbPrior, 3},
                           {TGridNavigator::nbNextPage, 4}, {TGridNavigator::nbPriorPage, 0}};
    for (const TCase& c : cases) {
        grid->Navigator->Button(c.button)->click();
        EXPECT_EQ(window->kbmMemTable1().RecNo(), c.expected) << c.button;
        EXPECT_EQ(grid->View->currentIndex().row(), static_cast<int>(c.expected));
    }
    EXPECT_FALSE(grid->Navigator->Button(TGridNavigator::nbPrior)->isEnabled());
}

TEST_F(TGridsWindow, AddToDraftsCopiesTheFocusedVisibleRowAndWritesTheFile) {
    WriteFullList(Sample());
    Start();
    window->PageControl1->setCurrentIndex(1);
    window->cxGrid1->SetColumnFilter(0, "*shop*");
    Focus(window->cxGrid1, 1);  // "myshop"
    EXPECT_EQ(Status(), "Found 2 domains");
    window->Addtodrafts1->trigger();
    window->Addtodrafts1->trigger();  // no duplicate test
    const TDomainRecord myshop{"myshop", "org", "10/05/2023", 6};
    EXPECT_EQ(FileRecords(DraftFile()), (std::vector<TDomainRecord>{myshop, myshop}));
    EXPECT_EQ(Status(), "Found 2 domains");  // the status pane is not refreshed
    window->PageControl1->setCurrentIndex(2);
    EXPECT_EQ(Status(), "Found 2 domains");
    EXPECT_EQ(window->cxGrid2->View->model()->rowCount(), 2);
    EXPECT_TRUE(prompts->shown.isEmpty());
    Restart();
    EXPECT_EQ(window->kbmDraft().RecordCount(), 2u);
}

TEST_F(TGridsWindow, AddToDraftsWithNothingToAddWritesNothing) {
    WriteFullList(Sample());
    Start();
    window->PageControl1->setCurrentIndex(0);  // the match list is empty
    window->Addtodrafts1->trigger();
    window->PageControl1->setCurrentIndex(1);
    window->cxGrid1->SetColumnFilter(0, "nothing*");
    window->Addtodrafts1->trigger();
    window->PageControl1->setCurrentIndex(2);  // the drafts tab adds nothing to itself
    window->AddCurrentToDrafts(2);
    EXPECT_EQ(window->kbmDraft().RecordCount(), 0u);
    EXPECT_FALSE(std::filesystem::exists(DraftFile()));
}

TEST_F(TGridsWindow, AFocusedGroupRowAddsNothing) {
    WriteMatchList(Sample());
    Start();
    TDomainGrid* grid = window->grid1;
    grid->GroupBy(1);
    ASSERT_TRUE(grid->GroupView);
    EXPECT_EQ(grid->ActiveView(), grid->GroupView);
    EXPECT_EQ(grid->GroupView->model()->rowCount(), 4);
    grid->GroupView->setCurrentIndex(grid->GroupView->model()->index(0, 0));
    EXPECT_TRUE(grid->GroupRowFocused());
    window->AddCurrentToDrafts(0);
    EXPECT_EQ(window->kbmDraft().RecordCount(), 0u);
    // A record under a group is the table's current record.
    const QModelIndex com = grid->GroupView->model()->index(0, 0);
    grid->GroupView->setCurrentIndex(grid->GroupView->model()->index(1, 0, com));
    EXPECT_EQ(window->kbmMain().RecNo(), 3u);  // "bo", the second "com"
    window->AddCurrentToDrafts(0);
    ASSERT_EQ(window->kbmDraft().RecordCount(), 1u);
    EXPECT_EQ(window->kbmDraft().TextOf(window->kbmDraft().RecordAtRow(0), TDomainField::Domain),
              "bo");
    grid->Ungroup();
    EXPECT_EQ(grid->ActiveView(), grid->View);
    EXPECT_EQ(Names(window->kbmMain()),
              (std::vector<std::string>{"shopnow", "cars", "myshop", "bo", "tenletters"}));
}

TEST_F(TGridsWindow, AFailingDraftWriteIsShownAndTheDraftStaysInMemory) {
    WriteFullList(Sample());
    std::filesystem::create_directories(DraftFile());  // draft.dat cannot be replaced
    Start();
    window->PageControl1->setCurrentIndex(1);
    window->Addtodrafts1->trigger();
    ASSERT_EQ(prompts->shown.size(), 1);
    EXPECT_TRUE(prompts->shown[0].startsWith("error: ")) << prompts->shown[0].toStdString();
    EXPECT_EQ(window->kbmDraft().RecordCount(), 1u);
}

TEST_F(TGridsWindow, DeletingDraftsRewritesTheFileAndKeyboardDeleteAsks) {
    WriteFullList(Sample());
    Start();
    window->PageControl1->setCurrentIndex(1);
    for (int row : {0, 1, 2}) {
        Focus(window->cxGrid1, row);
        window->Addtodrafts1->trigger();
    }
    window->PageControl1->setCurrentIndex(2);
    TDomainGrid* drafts = window->cxGrid2;
    Focus(drafts, 1);  // "cars"
    drafts->View->setFocus();
    prompts->confirmAnswers = {false};
    window->activateWindow();
    QTest::keyClick(drafts->View, Qt::Key_Delete);
    EXPECT_EQ(window->kbmDraft().RecordCount(), 3u);
    prompts->confirmAnswers = {true};
    drafts->DeleteAction->trigger();
    EXPECT_EQ(prompts->shown.size(), 2);
    EXPECT_EQ(Names(window->kbmDraft()), (std::vector<std::string>{"shopnow", "myshop"}));
    EXPECT_EQ(Status(), "Found 3 domains");  // deleting a draft does not recount
    Focus(drafts, 0);
    drafts->Navigator->Button(TGridNavigator::nbDelete)->click();
    EXPECT_EQ(prompts->shown.size(), 2);  // the navigator's delete does not ask
    Restart();
    EXPECT_EQ(Names(window->kbmDraft()), (std::vector<std::string>{"myshop"}));
}

TEST_F(TGridsWindow, DraftGridSortsItsDisplayOnlyAndItsFilterCounts) {
    Start();
    for (const auto& r : Sample()) window->kbmDraft().AppendRecord(r);
    window->PageControl1->setCurrentIndex(2);
    TDomainGrid* drafts = window->cxGrid2;
    ClickHeader(drafts, 3);
    EXPECT_EQ(drafts->View->model()->index(0, 0).data().toString(), "bo");
    EXPECT_EQ(drafts->View->model()->index(4, 0).data().toString(), "tenletters");
    EXPECT_EQ(Names(window->kbmDraft()),
              (std::vector<std::string>{"shopnow", "cars", "myshop", "bo", "tenletters"}));
    // The focused display row is the table's record whatever the display order.
    Focus(drafts, 0);
    EXPECT_EQ(window->kbmDraft().RecNo(), 3u);
    drafts->SetColumnFilter(1, "com");
    EXPECT_EQ(Status(), "Found 2 domains");
    EXPECT_EQ(drafts->View->model()->rowCount(), 2);
}

}  // namespace
}  // namespace norvale
