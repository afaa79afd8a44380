#include "Settings.h"
#include "SettingsFixture.h"

namespace qm::test {
namespace {

// A key, its default, a value to store, and a value not of the key's type (nullptr: every text
// is of its type). The first eighteen are written back by SaveData.
struct Key {
    const char* key;
    QString byDefault, stored;
    const char* wrongType = nullptr;
};

const Key kKeys[] = {
    {"MainLeft", "1000", "15.5", "twelve"},
    {"MainTop", "1000", "30"},
    {"MainWidth", "12000", "9000"},
    {"MainHeight", "8500", "6000.25"},
    {"ScreenFontName", "Terminal", "Mono"},
    {"ScreenFontSize", "14", "12", "twelve"},
    {"PrintFontName", QStringLiteral("ＭＳ 明朝"), "Serif"},
    {"PrintFontSize", "10", "9", "99999999999"},
    {"PrinterOrientation", "1", "2", "twelve"},
    {"LeftMerge", "10", "-3", "twelve"},
    {"RightMerge", "0", "7"},
    {"SpaceAdd", "False", "True", "yes"},
    {"TopBig", "False", "True"},
    {"CapsLock", "True", "False"},
    {"DicPathName", "/opt/quillmark", "/d"},
    {"OpenPathName", "/", "/nc"},
    {"SavePathName", "/", "/out"},
    {"DicFileName", "/opt/quillmark/Kestrel.dic", "/d/Mill.dic"},
    {"ScrollTogether", "True", "False"},
    {"MINdic", "/opt/quillmark/Kestrel-ENG.dic", "/d/m.dic"},
    {"TOPDic", "/opt/quillmark/TOP-FILE-ENG.DIC", "/d/t.dic"},
    {"LPDDic", "/opt/quillmark/Loader parameter ENG.dic", "/l.dic"},
    {"NONDic", "/opt/quillmark/Merlin.dic", "/d/n.dic"},  // no file type
    {"Excel", "", "/usr/bin/gnumeric"},
};
constexpr std::size_t kWrittenKeys = 19;

// What start-up reads for each key of kKeys, in that order.
QStringList Shown(const SettingsStore& store) {
    AppState s;
    ReadSettings(store, s, "/opt/quillmark");
    const WindowTwips t = ReadMainWindowTwips(store);
    const auto n = [](double value) { return QString::number(value); };
    const auto b = [](bool value) { return QString(value ? "True" : "False"); };
    return QStringList{n(t.left), n(t.top), n(t.width), n(t.height), s.ScreenFontName} +
           QStringList{n(s.ScreenFontSize), s.PrintFontName, n(s.PrintFontSize)} +
           QStringList{n(s.PrinterOrientation), n(s.LeftMerge), n(s.RightMerge), b(s.SpaceAdd)} +
           QStringList{b(s.TopBig), b(s.CapsLock), s.DicPathName, s.OpenPathName, s.SavePathName} +
           QStringList{s.DicFileName, b(s.ScrollTogether), s.DictionarySlot[0],
                       s.DictionarySlot[5]} +
           QStringList{s.DictionarySlot[7], s.DictionarySlot[10], s.ExcelPath};
}

class SettingsTest : public SettingsFixture {
  protected:
    void ExpectEveryKey(QString Key::*value) {
        const QStringList shown = Shown(store_);
        ASSERT_EQ(shown.size(), std::size(kKeys));
        for (std::size_t i = 0; i < std::size(kKeys); ++i)
            EXPECT_EQ(shown[i], kKeys[i].*value) << kKeys[i].key;
    }
};

TEST_F(SettingsTest, EveryKeyReadsItsDefaultOrWhatIsStoredAndIsWrittenBackAsItWasRead) {
    ExpectEveryKey(&Key::byDefault);
    EXPECT_TRUE(store_.writes.empty()) << "reading writes nothing";
    for (const Key& key : kKeys)
        store_.SaveSetting(key.key, key.stored);
    store_.SaveSetting("RecentFile3", "/nc/kept.MIN");
    ExpectEveryKey(&Key::stored);

    AppState state;
    ReadSettings(store_, state, "/opt/quillmark");
    store_.writes.clear();
    SaveDataWindow window{ReadMainWindowTwips(store_),
                          {"/nc/O1.MIN", "/nc/O2.MIN", "RecentFile3", "RecentFile4", "RecentFile5"},
                          {"/d/Mill.dic", "DicFile2", "DicFile3", "DicFile4", "DicFile5"}};
    SaveData(store_, state, window);
    QStringList keys;
    for (std::size_t i = 0; i + 1 < kWrittenKeys; ++i)
        keys << kKeys[i].key;
    EXPECT_EQ(store_.Keys(),
              keys + QStringList({"RecentFile1", "RecentFile2", "DicFile1", "ScrollTogether"}));
    // Written into a new file, each reads back the same.
    RecordingStore written(QString::fromStdString(folder_.File("written.ini")));
    SaveData(written, state, window);
    const QStringList shown = Shown(written);
    for (std::size_t i = 0; i < kWrittenKeys; ++i)
        EXPECT_EQ(shown[i], kKeys[i].stored) << kKeys[i].key;
    EXPECT_EQ(store_.GetSetting("RecentFile3", ""), "/nc/kept.MIN");

    // Minimized: the placement is left alone.
    store_.writes.clear();
    window = {std::nullopt,
              {"RecentFile1", "RecentFile2", "RecentFile3", "RecentFile4", "RecentFile5"},
              {"DicFile1", "DicFile2", "DicFile3", "DicFile4", "DicFile5"}};
    SaveData(store_, state, window);
    EXPECT_EQ(store_.Keys(), keys.mid(4) + QStringList({"ScrollTogether"}));
}

// The options share their values, so each is flipped alone: each is written from its own field.
TEST_F(SettingsTest, EachOptionIsWrittenFromItsOwnField) {
    const std::pair<const char*, bool AppState::*> options[] = {
        {"SpaceAdd", &AppState::SpaceAdd},
        {"TopBig", &AppState::TopBig},
        {"CapsLock", &AppState::CapsLock},
        {"ScrollTogether", &AppState::ScrollTogether}};
    for (const auto& [flipped, field] : options) {
        AppState state;
        state.*field = !(state.*field);
        SaveData(store_, state, {});
        for (const auto& [key, read] : options)
            EXPECT_EQ(store_.GetSetting(key, ""), state.*read ? "True" : "False")
                << flipped << " flipped";
    }
}

TEST_F(SettingsTest, ValuesThatAreNotOfTheKeysTypeFallBackToTheDefault) {
    for (const Key& key : kKeys) {
        if (key.wrongType != nullptr)
            store_.SaveSetting(key.key, key.wrongType);
    }
    ExpectEveryKey(&Key::byDefault);
}

}  // namespace
}  // namespace qm::test
