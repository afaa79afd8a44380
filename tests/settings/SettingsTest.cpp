#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "Settings.h"
#include "TempFolder.h"

namespace qm {
namespace {

// A store that remembers every write in order.
class RecordingStore : public SettingsStore {
public:
    using SettingsStore::SettingsStore;
    void SaveSetting(const QString& key, const QString& value) override {
        writes.emplace_back(key, value);
        SettingsStore::SaveSetting(key, value);
    }
    std::vector<std::pair<QString, QString>> writes;
};

class SettingsTest : public ::testing::Test {
protected:
    QStringList WrittenKeys() const {
        QStringList keys;
        for (const auto& write : store_.writes) keys << write.first;
        return keys;
    }

    test::TempFolder folder_;
    RecordingStore store_{QString::fromStdString(folder_.File("Quillmark.ini"))};
    const QString programFolder_ = "/opt/quillmark";
};

TEST_F(SettingsTest, EmptyStoreGivesEveryDefault) {
    AppState state;
    ReadSettings(store_, state, programFolder_);
    EXPECT_EQ(state.ScreenFontName, "Terminal");
    EXPECT_EQ(state.ScreenFontSize, 14);
    EXPECT_EQ(state.PrintFontName, QStringLiteral("ＭＳ 明朝"));
    EXPECT_EQ(state.PrintFontSize, 10);
    EXPECT_EQ(state.PrinterOrientation, 1);
    EXPECT_EQ(state.LeftMerge, 10);
    EXPECT_EQ(state.RightMerge, 0);
    EXPECT_FALSE(state.SpaceAdd);
    EXPECT_FALSE(state.TopBig);
    EXPECT_TRUE(state.ScrollTogether);
    EXPECT_EQ(state.DicFileName, "/opt/quillmark/Kestrel.dic");
    EXPECT_EQ(state.DicPathName, "/opt/quillmark");
    EXPECT_EQ(state.OpenPathName, "/");
    EXPECT_EQ(state.SavePathName, "/");
    EXPECT_EQ(state.DictionarySlot[0], "/opt/quillmark/Kestrel-ENG.dic");   // MIN
    EXPECT_EQ(state.DictionarySlot[5], "/opt/quillmark/TOP-FILE-ENG.DIC");  // TOP
    EXPECT_EQ(state.DictionarySlot[7], "/opt/quillmark/Loader parameter ENG.dic");
    EXPECT_EQ(state.DictionarySlot[10], "/opt/quillmark/Merlin.dic");       // no type
    EXPECT_EQ(state.ExcelPath, "");
    const WindowTwips twips = ReadMainWindowTwips(store_);
    EXPECT_EQ(twips.left, 1000);
    EXPECT_EQ(twips.height, 8500);
    EXPECT_TRUE(store_.writes.empty());
}

TEST_F(SettingsTest, ValuesThatAreNotOfTheKeysTypeFallBackToTheDefault) {
    for (const char* key : {"MainLeft", "ScreenFontSize", "PrinterOrientation", "LeftMerge"}) {
        store_.SaveSetting(key, "twelve");
    }
    store_.SaveSetting("PrintFontSize", "99999999999");
    store_.SaveSetting("SpaceAdd", "yes");
    AppState state;
    ReadSettings(store_, state, programFolder_);
    EXPECT_EQ(state.ScreenFontSize, 14);
    EXPECT_EQ(state.PrinterOrientation, 1);
    EXPECT_EQ(state.LeftMerge, 10);
    EXPECT_EQ(state.PrintFontSize, 10);
    EXPECT_FALSE(state.SpaceAdd);
    EXPECT_EQ(ReadMainWindowTwips(store_).left, 1000);
}

TEST_F(SettingsTest, SaveDataWritesEveryKeyInOrderAndReadsBackTheSame) {
    AppState state;
    ReadSettings(store_, state, programFolder_);
    state.ScreenFontName = "Mono";
    state.ScreenFontSize = 12;
    state.PrintFontName = "Serif";
    state.PrintFontSize = 9;
    state.PrinterOrientation = 2;
    state.LeftMerge = -3;
    state.RightMerge = 7;
    state.SpaceAdd = true;
    state.ScrollTogether = false;
    state.DicFileName = "/d/Mill.dic";
    state.DicPathName = "/d";
    state.OpenPathName = "/nc";
    state.SavePathName = "/out";
    SaveDataWindow window;
    window.placement = WindowTwips{15.5f, 30, 9000, 6000.25f};
    window.recentFileItems = {"/nc/O1.MIN", "/nc/O2.MIN", "RecentFile3", "RecentFile4", "RecentFile5"};
    window.recentDictionaryItems = {"/d/Mill.dic", "DicFile2", "DicFile3", "DicFile4", "DicFile5"};
    store_.SaveSetting("RecentFile3", "/nc/kept.MIN");
    store_.writes.clear();

    SaveData(store_, state, window);
    EXPECT_EQ(WrittenKeys(), (QStringList{"MainLeft", "MainTop", "MainWidth", "MainHeight",
                                          "ScreenFontName", "ScreenFontSize", "PrintFontName",
                                          "PrintFontSize", "PrinterOrientation", "LeftMerge",
                                          "RightMerge", "SpaceAdd", "TopBig", "CapsLock", "DicPathName",
                                          "OpenPathName", "SavePathName", "DicFileName",
                                          "RecentFile1", "RecentFile2", "DicFile1", "ScrollTogether"}));
    EXPECT_EQ(store_.writes[0].second, "15.5");
    EXPECT_EQ(store_.writes[11].second, "True");
    EXPECT_EQ(store_.writes[12].second, "False");
    EXPECT_EQ(store_.GetSetting("RecentFile3", ""), "/nc/kept.MIN");

    AppState reread;
    ReadSettings(store_, reread, programFolder_);
    EXPECT_EQ(reread.ScreenFontName, "Mono");
    EXPECT_EQ(reread.ScreenFontSize, 12);
    EXPECT_EQ(reread.PrintFontName, "Serif");
    EXPECT_EQ(reread.PrintFontSize, 9);
    EXPECT_EQ(reread.PrinterOrientation, 2);
    EXPECT_EQ(reread.LeftMerge, -3);
    EXPECT_EQ(reread.RightMerge, 7);
    EXPECT_TRUE(reread.SpaceAdd);
    EXPECT_FALSE(reread.ScrollTogether);
    EXPECT_EQ(reread.DicFileName, "/d/Mill.dic");
    EXPECT_EQ(reread.DicPathName, "/d");
    EXPECT_EQ(reread.OpenPathName, "/nc");
    EXPECT_EQ(reread.SavePathName, "/out");
    const WindowTwips twips = ReadMainWindowTwips(store_);
    EXPECT_EQ(twips.left, 15.5f);
    EXPECT_EQ(twips.height, 6000.25f);
}

TEST_F(SettingsTest, MinimizedWindowLeavesItsPlacementAlone) {
    AppState state;
    ReadSettings(store_, state, programFolder_);
    SaveDataWindow window;  // no placement: minimized
    window.recentFileItems = {"RecentFile1", "RecentFile2", "RecentFile3", "RecentFile4", "RecentFile5"};
    window.recentDictionaryItems = {"DicFile1", "DicFile2", "DicFile3", "DicFile4", "DicFile5"};
    SaveData(store_, state, window);
    EXPECT_EQ(WrittenKeys().first(), "ScreenFontName");
    EXPECT_FALSE(WrittenKeys().contains("MainLeft"));
    EXPECT_EQ(WrittenKeys().mid(WrittenKeys().size() - 2), (QStringList{"DicFileName", "ScrollTogether"}));
}

}  // namespace
}  // namespace qm
