// Apply Rules on the real main window: what the run leaves behind on every path, and
// what the window allows while it runs.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QProgressBar>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>
#include <filesystem>
#include <memory>

#include "app/mainU.h"
#include "domains/TDomainListFile.h"
#include "rules/TRuleListFile.h"
#include "support/TTempDir.h"
#include "support/qt/TScriptedPrompts.h"
#include "util/TFileIO.h"

namespace norvale {
namespace {

using test::TIsolatedHome;
using test::TScriptedPromptsScope;

TRule Rule(std::string pattern, std::string length = "*", bool checked = true) {
    TRule rule{std::move(pattern), {"", "No", "No", std::move(length)}, checked};
    for (int i = 0; i < 10; ++i) rule.SubItems.push_back("Yes");
    return rule;
}

// What the window looks like while the run pumps events.
struct TDuringRun {
    QStringList progressTexts;
    bool hourglass = false;
    bool pageControlEnabled = true;
    bool applyEnabled = true;
    bool insertEnabled = true;
    bool stillOpenAfterClose = false;
};

class ApplyRulesWindow : public ::testing::Test {
protected:
    TIsolatedHome home;
    TScriptedPromptsScope prompts;
    std::unique_ptr<TfrmMain> window;

    ApplyRulesWindow() { std::filesystem::create_directories(home.DataFolder()); }

    void Open(const TRuleList& rules) {
        SaveRuleList(rules, home.DataFolder() + "rules.dat");
        window = std::make_unique<TfrmMain>(TMainOptions{home.DataFolder(), home.SettingsFile()});
        window->show();
        QApplication::processEvents();
        prompts->shown.clear();
    }
    // count records: "shop0".."shopN" on even rows, "other" on odd rows.
    void FillFull(std::size_t count) {
        TDomainTable& full = window->kbmMemTable1();
        for (std::size_t i = 0; i < count; ++i) {
            const std::string name = (i % 2 ? "other" : "shop") + std::to_string(i);
            full.AppendRecord(name, "com", "01/01/2027", static_cast<std::int32_t>(name.size()));
        }
    }
    std::string MatchFile() const { return home.DataFolder() + "mlist.dat"; }

    // Clicks Apply Rules and looks at the window each time the run processes events.
    TDuringRun Run() {
        TDuringRun seen;
        QTimer probe;
        probe.setInterval(0);
        QObject::connect(&probe, &QTimer::timeout, [&] {
            const QString text = window->RzStatusPane2->text();
            if (!text.isEmpty() && (seen.progressTexts.isEmpty() || seen.progressTexts.back() != text))
                seen.progressTexts << text;
            const QCursor* cursor = QApplication::overrideCursor();
            seen.hourglass = cursor && cursor->shape() == Qt::WaitCursor;
            seen.pageControlEnabled = window->PageControl1->isEnabled();
            seen.applyEnabled = window->BtnApply->isEnabled();
            seen.insertEnabled = window->RzToolButton1->isEnabled();
            window->close();
            seen.stillOpenAfterClose = window->isVisible();
        });
        probe.start();
        window->BtnApply->click();
        probe.stop();
        return seen;
    }
    void ExpectUsable() {
        EXPECT_EQ(QApplication::overrideCursor(), nullptr);
        EXPECT_TRUE(window->PageControl1->isEnabled());
        EXPECT_TRUE(window->BtnApply->isEnabled());
        EXPECT_TRUE(window->EditRule1->isEnabled());
        EXPECT_TRUE(window->RzToolButton1->isEnabled());
        EXPECT_FALSE(window->kbmMain().ControlsDisabled());
        EXPECT_FALSE(window->kbmMemTable1().ControlsDisabled());
    }
};

TEST_F(ApplyRulesWindow, EmptyFullList) {
    Open({Rule("**")});
    window->kbmMain().AppendRecord("old", "com", "", 3);
    const TDuringRun seen = Run();
    EXPECT_TRUE(seen.progressTexts.isEmpty());
    EXPECT_TRUE(window->kbmMain().IsEmpty());
    TDomainTable saved;
    saved.Open();
    TDomainListFile::Load(saved, MatchFile());
    EXPECT_TRUE(saved.IsEmpty());
    EXPECT_EQ(window->RzStatusPane1->text(), "Found 0 domains");
    ExpectUsable();
}

TEST_F(ApplyRulesWindow, NoCheckedRulesFindNothing) {
    Open({Rule("**", "*", false)});
    FillFull(10);
    Run();
    EXPECT_TRUE(window->kbmMain().IsEmpty());
    EXPECT_TRUE(prompts->shown.isEmpty()) << prompts->shown.join("; ").toStdString();
}

TEST_F(ApplyRulesWindow, ThreeThousandRecordsShowOneProgressTextAndRefuseToClose) {
    Open({Rule("shop*")});
    FillFull(3000);
    window->PageControl1->setCurrentIndex(kTabFull);
    window->kbmMemTable1().SetFilter([](const TDomainTable&, TDomainTable::TRecordId) { return false; });
    const TDuringRun seen = Run();

    EXPECT_EQ(seen.progressTexts, QStringList{"Processing rules...3000"});
    EXPECT_TRUE(seen.hourglass);
    EXPECT_FALSE(seen.pageControlEnabled);
    EXPECT_FALSE(seen.applyEnabled);
    EXPECT_FALSE(seen.insertEnabled);
    EXPECT_TRUE(seen.stillOpenAfterClose) << "a close request during the run is refused";

    // The full-list filter went before the walk, so all 3000 were tested.
    EXPECT_FALSE(window->kbmMemTable1().Filtered());
    EXPECT_EQ(window->kbmMain().RecordCount(), 1500u);
    EXPECT_EQ(window->kbmMain().Text(TDomainField::Domain), "shop0");
    EXPECT_EQ(window->ActiveTab(), kTabMatch);
    EXPECT_EQ(window->RzStatusPane1->text(), "Found 1500 domains");
    EXPECT_TRUE(window->RzStatusPane2->text().isEmpty());
    EXPECT_EQ(window->RzProgressBar1->value(), 0);
    TDomainTable saved;
    saved.Open();
    TDomainListFile::Load(saved, MatchFile());
    EXPECT_EQ(saved.RecordCount(), 1500u);
    ExpectUsable();

    // Twice in a row gives the same list; afterwards the window closes.
    Run();
    EXPECT_EQ(window->kbmMain().RecordCount(), 1500u);
    window->close();
    EXPECT_FALSE(window->isVisible());
}

TEST_F(ApplyRulesWindow, AFailingRuleInTheMiddleLeavesTheMatchListAndItsFile) {
    // Only "other4001" gets past the keyword to the bad length cell, after the first
    // progress report.
    Open({Rule("shop*"), Rule("*other4001*", "=x")});
    FillFull(6000);
    window->kbmMain().AppendRecord("kept", "net", "02/02/2027", 4);
    window->Lists->SaveDomainLists();
    const std::string matchBytes = ReadWholeFile(MatchFile());

    const TDuringRun seen = Run();
    EXPECT_EQ(seen.progressTexts, QStringList{"Processing rules...3000"});
    EXPECT_EQ(prompts->shown, QStringList{"error: 'x' is not a valid integer value"});
    ASSERT_EQ(window->kbmMain().RecordCount(), 1u);
    EXPECT_EQ(window->kbmMain().RecordOf(window->kbmMain().RecordAtRow(0)),
              (TDomainRecord{"kept", "net", "02/02/2027", 4}));
    EXPECT_EQ(ReadWholeFile(MatchFile()), matchBytes);
    EXPECT_EQ(window->RzStatusPane2->text(), "Processing rules...3000") << "the last progress stays";
    ExpectUsable();
}

}  // namespace
}  // namespace norvale
