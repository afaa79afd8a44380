#include <gtest/gtest.h>

#include <sys/stat.h>

#include "SettingsStore.h"
#include "TempFolder.h"

namespace qm {
namespace {

class SettingsStoreTest : public ::testing::Test {
protected:
    test::TempFolder folder_;
    QString file_ = QString::fromStdString(folder_.File("Quillmark.ini"));
};

TEST_F(SettingsStoreTest, StoresTextsAtOnceAndGivesTheDefaultForMissingKeys) {
    SettingsStore store(file_);
    EXPECT_EQ(store.GetSetting("PrintFontName", "fallback"), "fallback");
    store.SaveSetting("PrintFontName", QStringLiteral("ＭＳ 明朝"));
    store.SaveSetting("DicFileName", "/dic/a, b.dic");
    // A second store on the same file sees the values: they are on disk.
    const SettingsStore other(file_);
    EXPECT_EQ(other.GetSetting("PrintFontName", ""), QStringLiteral("ＭＳ 明朝"));
    EXPECT_EQ(other.GetSetting("DicFileName", ""), "/dic/a, b.dic");
    EXPECT_TRUE(QString::fromStdString(test::ReadBytes(folder_.File("Quillmark.ini"))).contains("[Settings]"));
}

TEST_F(SettingsStoreTest, MatchesKeysWithoutRegardToLetterCaseAndKeepsOneSpelling) {
    SettingsStore store(file_);
    store.SaveSetting("SUBdic", "/a.dic");
    EXPECT_EQ(store.GetSetting("SUBDic", ""), "/a.dic");
    store.SaveSetting("SUBDIC", "/b.dic");
    EXPECT_EQ(store.GetSetting("subdic", ""), "/b.dic");
    const QString ini = QString::fromStdString(test::ReadBytes(folder_.File("Quillmark.ini")));
    EXPECT_EQ(ini.count("dic=", Qt::CaseInsensitive), 1) << ini.toStdString();
    EXPECT_TRUE(ini.contains("SUBdic=/b.dic")) << ini.toStdString();
}

TEST_F(SettingsStoreTest, ReadsAHandEditedFileInAnyLetterCase) {
    test::WriteBytes(folder_.File("Quillmark.ini"),
                     "[Settings]\nmaindic=ignored\nmindic=/x/Mill.dic\nSPACEADD=True\nNote=a,b,c\n");
    const SettingsStore store(file_);
    EXPECT_EQ(store.GetSetting("MINdic", ""), "/x/Mill.dic");
    EXPECT_EQ(store.GetSetting("SpaceAdd", "False"), "True");
    EXPECT_EQ(store.GetSetting("Note", ""), "a,b,c");
}

// A named pipe would keep the program waiting for a writer for good; it is skipped, neither
// read nor written, and the values live in the store only.
TEST_F(SettingsStoreTest, ASettingsFileThatIsNoPlainFileIsSkippedWithAMessage) {
    ASSERT_EQ(::mkfifo(folder_.File("Quillmark.ini").c_str(), 0644), 0);
    SettingsStore store(file_);
    EXPECT_TRUE(store.problem().contains(file_ + " is not a plain file")) << store.problem().toStdString();
    EXPECT_EQ(store.GetSetting("SpaceAdd", "False"), "False");
    store.SaveSetting("SpaceAdd", "True");
    EXPECT_EQ(store.GetSetting("SPACEADD", "False"), "True");
    EXPECT_TRUE(SettingsStore(QString::fromStdString(folder_.File("new.ini"))).problem().isEmpty());
}

}  // namespace
}  // namespace qm
