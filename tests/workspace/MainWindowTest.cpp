#include <gtest/gtest.h>

#include <QMdiArea>
#include <QMdiSubWindow>

#include "AppState.h"
#include "MainWindow.h"
#include "ScriptedServices.h"
#include "TempFolder.h"

namespace qm {
namespace {

class MainWindowTest : public ::testing::Test {
protected:
    MainWindowTest() {
        test::WriteBytes(folder_.File("Kestrel.dic"), "Translator Dictionary  Ver.1.1  Hollowmere\r\n");
    }
    void SetUp() override { window_.endProgram = [this] { ++ended_; }; }
    QString Ini() const { return QString::fromStdString(folder_.File("Quillmark.ini")); }

    test::TempFolder folder_;
    AppState state_;
    SettingsStore settings_{Ini()};
    ScriptedServices services_;
    MainWindow window_{state_, settings_, services_, QString::fromStdString(folder_.path().string())};
    int ended_ = 0;
};

TEST_F(MainWindowTest, StartsFromAnEmptyStoreWithTheDefaults) {
    window_.StartUp(QString());
    EXPECT_EQ(window_.windowTitle(), "Quillmark Eng Ver.2.38");
    // 1000 by 12000 twips at 96 dots per inch: 15 twips to the pixel.
    EXPECT_EQ(window_.pos(), QPoint(67, 67));
    EXPECT_EQ(window_.size(), QSize(800, 567));
    EXPECT_EQ(state_.ProgramFileName, "New.min");
    EXPECT_EQ(state_.RealTimeConvert, 1);
    EXPECT_TRUE(state_.DictionaryLoaded);
    ASSERT_EQ(window_.mdiArea().subWindowList().size(), 1);
    EXPECT_EQ(window_.mdiArea().subWindowList()[0]->windowTitle(), "Converted by /Kestrel.dic");
}

TEST_F(MainWindowTest, ClosingWritesTheSettingsAndSwitchesCapsLockOff) {
    settings_.SaveSetting("MainLeft", "1500");
    settings_.SaveSetting("MainWidth", "9000");
    window_.StartUp(QString());
    services_.capsLock = true;
    window_.close();
    EXPECT_FALSE(services_.capsLock);
    const SettingsStore reread(Ini());
    EXPECT_EQ(reread.GetSetting("MainLeft", ""), "1500");
    EXPECT_EQ(reread.GetSetting("MainWidth", ""), "9000");
    EXPECT_EQ(reread.GetSetting("DicFileName", ""), QString::fromStdString(folder_.File("Kestrel.dic")));
    EXPECT_EQ(reread.GetSetting("RecentFile1", "none"), "none");
}

TEST_F(MainWindowTest, MissingDictionaryAtStartUpIsReportedAndStartUpGoesOn) {
    settings_.SaveSetting("DicFileName", "/nowhere/X.dic");
    window_.StartUp(QString());
    ASSERT_EQ(services_.messages.size(), 1u);
    EXPECT_EQ(services_.messages[0].prompt, "/nowhere/X.dic not find dictionaly.");
    EXPECT_FALSE(state_.DictionaryLoaded);
    EXPECT_TRUE(window_.mdiArea().subWindowList().isEmpty());
    EXPECT_EQ(state_.ProgramFileName, "New.min");
}

}  // namespace
}  // namespace qm
