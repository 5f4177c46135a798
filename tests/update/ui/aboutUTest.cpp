// Help, web site, update check and the about box.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>

#include "app/mainU.h"
#include "support/TTempDir.h"
#include "support/qt/TModalDriver.h"
#include "support/qt/TScriptedPrompts.h"
#include "update/TWebAddresses.h"
#include "update/ui/TShadowLabel.h"
#include "update/ui/aboutU.h"
#include "util/TRegistry.h"
#include "util/TSettingsStore.h"
#include "util/ui/TUrlOpener.h"

namespace norvale {
namespace {

using test::TIsolatedHome;
using test::TScriptedPromptsScope;
using test::WhenModal;
using ::testing::ElementsAre;

class TWebCommandsTest : public ::testing::Test {
protected:
    TIsolatedHome home;
    TScriptedPromptsScope prompts;
    QStringList opened;
    std::unique_ptr<TfrmMain> main;

    void SetUp() override {
        {
            TSettingsStore store(home.SettingsFile());
            TRegistry registry(store);
            ASSERT_TRUE(registry.OpenKey(TWebAddresses::kKey, true));
            registry.WriteString("Site", "http://maker.test.example");
        }
        TUrlOpener::SetOpener([this](const QString& address) { opened << address; });
        main = std::make_unique<TfrmMain>(TMainOptions{home.DataFolder(), home.SettingsFile()});
    }
    void TearDown() override {
        main.reset();
        TUrlOpener::SetOpener({});
    }
};

TEST_F(TWebCommandsTest, EachMenuCommandAndItsToolbarTwinOpenTheSameAddress) {
    const struct {
        QObject* toolbar;
        std::vector<QObject*> twins;
        QString address;
    } cases[] = {
        {main->BtnHelp,
         {main->Help2, main->OnlineHelp1},
         "http://maker.test.example/onlinehelp.php"},
        {main->btnWeb, {main->NorvaleOnWeb1}, "http://maker.test.example"},
        {main->bCheckUpdates,
         {main->Checkforupdates1},
         "http://maker.test.example/update.php?version=1.0.1.17"},
    };
    for (const auto& c : cases) {
        opened.clear();
        auto* button = qobject_cast<QToolButton*>(c.toolbar);
        ASSERT_TRUE(button && button->isEnabled());
        button->click();
        for (QObject* twin : c.twins) {
            auto* action = qobject_cast<QAction*>(twin);
            if (!action)
                continue;  // the resources menus may have replaced it
            ASSERT_TRUE(action->isEnabled()) << action->objectName().toStdString();
            action->trigger();
        }
        ASSERT_FALSE(opened.isEmpty());
        for (const QString& address : opened) EXPECT_EQ(address, c.address);
    }
    EXPECT_TRUE(prompts->shown.isEmpty());
}

TEST_F(TWebCommandsTest, UpdateCheckWithoutAVersionOpensThePageAllTheSame) {
    const struct {
        std::function<std::string()> source;
        const char* address;
    } cases[] = {
        {[] { return std::string("2.3.4.5"); },
         "http://maker.test.example/update.php?version=2.3.4.5"},
        {[] { return std::string(); }, "http://maker.test.example/update.php?version="},
        {[]() -> std::string { throw std::runtime_error("no version resource"); },
         "http://maker.test.example/update.php?version="},
    };
    for (const auto& c : cases) {
        opened.clear();
        main->VersionSource = c.source;
        main->bCheckUpdates->click();
        EXPECT_THAT(opened, ElementsAre(c.address));
    }
    EXPECT_TRUE(prompts->shown.isEmpty()) << "no message of our own";
}

TEST_F(TWebCommandsTest, EveryAboutCreatesANewBoxThatGoesWhenItCloses) {
    for (int round = 0; round < 2; ++round) {
        bool destroyed = false;
        WhenModal<TfrmAbout>([&destroyed](TfrmAbout* box) {
            EXPECT_EQ(TfrmAbout::Current(), box);
            QObject::connect(box, &QObject::destroyed, [&destroyed] { destroyed = true; });
            box->RzBitBtn1->click();
        });
        ASSERT_TRUE(main->About1->isEnabled());
        main->About1->trigger();
        EXPECT_TRUE(destroyed) << "round " << round;
        EXPECT_EQ(TfrmAbout::Current(), nullptr);
    }
}

TEST(TAboutBoxTest, ShowsNameAndLinkAndTheLinkOpensTheHomePage) {
    QStringList opened;
    TUrlOpener::SetOpener([&opened](const QString& address) { opened << address; });
    TfrmAbout box("http://maker.test.example");
    EXPECT_EQ(box.windowTitle(), "About");
    EXPECT_EQ(box.size(), QSize(379, 245));
    EXPECT_EQ(box.MaxLabel1->Text(), "Norvale v1.0");
    EXPECT_EQ(box.MaxLabel1->size(), QSize(226, 26));
    EXPECT_EQ(box.Label3->text(), "Web Site: ");
    EXPECT_EQ(box.Label4->text(), "maker.test.example");
    EXPECT_EQ(box.RzBitBtn1->text(), "OK");
    box.show();
    QTest::mouseClick(box.Label4, Qt::LeftButton);
    EXPECT_THAT(opened, ElementsAre("http://maker.test.example"));
    EXPECT_TRUE(box.isVisible());
    TUrlOpener::SetOpener({});
}

TEST(TAboutBoxTest, EscClosesFromAnyControlAndOtherKeysDoNothing) {
    for (const char* name : {"RzBitBtn1", "Label4", "MaxLabel1", "frmAbout"}) {
        TfrmAbout box("http://maker.test.example");
        box.show();
        QWidget* target = box.objectName() == name ? &box : box.findChild<QWidget*>(name);
        ASSERT_TRUE(target) << name;
        for (Qt::Key other : {Qt::Key_A, Qt::Key_F1, Qt::Key_Tab}) QTest::keyClick(target, other);
        EXPECT_TRUE(box.isVisible()) << name;
        QTest::keyClick(target, Qt::Key_Escape);
        EXPECT_FALSE(box.isVisible()) << name;
    }
}

TEST(TAboutBoxTest, LinkTextIsTheSitesHost) {
    EXPECT_EQ(AboutLinkText("http://www.norvale.example"), "www.norvale.example");
    EXPECT_EQ(AboutLinkText("https://maker.example:8080/path?q"), "maker.example:8080");
}

}  // namespace
}  // namespace norvale
