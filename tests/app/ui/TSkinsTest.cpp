#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QImage>
#include <QTabWidget>
#include <QToolBar>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>

#include "app/TDomainGrid.h"
#include "app/TGroupByBox.h"
#include "app/TSkins.h"
#include "app/mainU.h"
#include "domains/TDomainListFile.h"
#include "support/TTempDir.h"
#include "support/qt/TScriptedPrompts.h"
#include "util/TRegistry.h"
#include "util/TSettingsStore.h"

namespace norvale {
namespace {

using test::TIsolatedHome;
using test::TScriptedPromptsScope;

class TSkinsWindow : public ::testing::Test {
protected:
    // Sets the stored value before the window starts.
    void Store(const std::function<void(TRegistry&)>& write) {
        TSettingsStore store(home.SettingsFile());
        TRegistry registry(store);
        registry.OpenKey(TSkins::kKey, true);
        write(registry);
    }
    std::optional<std::int32_t> Stored() {
        TSettingsStore store(home.SettingsFile());
        TRegistry registry(store);
        if (!registry.OpenKey(TSkins::kKey, false) || !registry.ValueExists(TSkins::kValue))
            return std::nullopt;
        return registry.ReadInteger(TSkins::kValue);
    }
    void Start() {
        window = std::make_unique<TfrmMain>(TMainOptions{home.DataFolder(), home.SettingsFile()});
        window->show();
        QApplication::processEvents();
    }
    QAction* Item(int position) const {
        return QList<QAction*>{window->None1, window->SK1, window->SK2, window->SK3,
                               window->SK4}[position];
    }
    // The state a skin at menu position leaves the window in.
    void ExpectSkin(int position) {
        for (int p = 0; p < 5; ++p) EXPECT_EQ(Item(p)->isChecked(), p == position) << p;
        EXPECT_EQ(Stored(), position);
        const QString bitmap = window->grid1->GroupBox->BackgroundBitmap();
        if (position == 0) {
            EXPECT_TRUE(window->styleSheet().isEmpty());
            EXPECT_TRUE(bitmap.isEmpty());
            EXPECT_EQ(window->TB->styleSheet(), window->TBThemeStyleSheet);
        } else {
            EXPECT_EQ(window->styleSheet(), TSkins::StyleSheet(position - 1));
            EXPECT_EQ(bitmap, TSkins::ToolbarBitmap(position - 1));
            EXPECT_FALSE(QImage(bitmap).isNull()) << bitmap.toStdString();
            EXPECT_TRUE(window->TB->styleSheet().isEmpty());
        }
    }

    TIsolatedHome home;
    TScriptedPromptsScope prompts;
    std::unique_ptr<TfrmMain> window;
};

TEST_F(TSkinsWindow, StoredValueDecidesTheSkinAtStart) {
    struct TCase {
        const char* what;
        std::function<void(TRegistry&)> write;
        int applied;
    };
    const TCase cases[] = {
        {"none", [](TRegistry&) {}, 1},
        {"0", [](TRegistry& r) { r.WriteInteger("Skin", 0); }, 0},
        {"3", [](TRegistry& r) { r.WriteInteger("Skin", 3); }, 3},
        {"4", [](TRegistry& r) { r.WriteInteger("Skin", 4); }, 4},
        {"7", [](TRegistry& r) { r.WriteInteger("Skin", 7); }, 1},
        {"-1", [](TRegistry& r) { r.WriteInteger("Skin", -1); }, 1},
        {"a text", [](TRegistry& r) { r.WriteString("Skin", "2"); }, 1},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.what);
        window.reset();
        std::filesystem::remove(home.SettingsFile());
        Store(c.write);
        Start();
        ExpectSkin(c.applied);
    }
    EXPECT_TRUE(prompts->shown.isEmpty());
}

TEST_F(TSkinsWindow, MenuChoiceAppliesAtOnceAndAtTheNextStart) {
    Start();
    ExpectSkin(1);
    window->SK3->trigger();  // "Mac"
    ExpectSkin(3);
    window->None1->trigger();
    ExpectSkin(0);
    window->SK3->trigger();
    window.reset();
    Start();
    ExpectSkin(3);
    EXPECT_TRUE(prompts->shown.isEmpty());
}

TEST_F(TSkinsWindow, EverySkinLooksItsOwn) {
    // Some records so the grids show rows, alternating colours and selection.
    std::filesystem::create_directories(home.DataFolder());
    TDomainTable table;
    table.Open();
    for (int i = 0; i < 30; ++i)
        table.AppendRecord("example" + std::to_string(i), i % 3 ? "com" : "net", "12/01/2024", 8);
    TDomainListFile::Save(table, home.DataFolder() + "mlist.dat");
    Start();
    window->grid1->GroupBy(1);
    std::vector<QImage> shots;
    const char* dir = std::getenv("NORVALE_SCREENSHOT_DIR");  // to look at them by hand
    for (int position = 0; position < 5; ++position) {
        Item(position)->trigger();
        QApplication::processEvents();
        shots.push_back(window->grab().toImage());
        if (dir)
            shots.back().save(
                QStringLiteral("%1/skin-%2.png").arg(QString::fromLocal8Bit(dir)).arg(position));
    }
    for (std::size_t a = 0; a < shots.size(); ++a)
        for (std::size_t b = a + 1; b < shots.size(); ++b)
            EXPECT_NE(shots[a], shots[b]) << a << " and " << b;
}

}  // namespace
}  // namespace norvale
