#include <sys/stat.h>

#include "SettingsFixture.h"

namespace qm::test {
namespace {

class SettingsStoreTest : public SettingsFixture {};

TEST_F(SettingsStoreTest, StoresTextsAtOnceAndReadsAHandEditedFileInAnyLetterCase) {
    WriteBytes(Ini(),
               "[Settings]\nmaindic=ignored\nmindic=/x/Mill.dic\nSPACEADD=True\nNote=a,b,c\n");
    SettingsStore store(file_);
    EXPECT_EQ(store.GetSetting("MINdic", ""), "/x/Mill.dic");
    EXPECT_EQ(store.GetSetting("SpaceAdd", "False"), "True");
    EXPECT_EQ(store.GetSetting("Note", ""), "a,b,c");
    EXPECT_EQ(store.GetSetting("PrintFontName", "fallback"), "fallback");
    store.SaveSetting("PrintFontName", QStringLiteral("ＭＳ 明朝"));
    store.SaveSetting("DicFileName", "/dic/a, b.dic");
    // A second store on the same file sees the values: they are on disk.
    const SettingsStore other(file_);
    EXPECT_EQ(other.GetSetting("PrintFontName", ""), QStringLiteral("ＭＳ 明朝"));
    EXPECT_EQ(other.GetSetting("DicFileName", ""), "/dic/a, b.dic");
    EXPECT_TRUE(QString::fromStdString(ReadBytes(Ini())).contains("[Settings]"));
}

TEST_F(SettingsStoreTest, MatchesKeysWithoutRegardToLetterCaseAndKeepsOneSpelling) {
    store_.SaveSetting("SUBdic", "/a.dic");
    EXPECT_EQ(store_.GetSetting("SUBDic", ""), "/a.dic");
    store_.SaveSetting("SUBDIC", "/b.dic");
    EXPECT_EQ(store_.GetSetting("subdic", ""), "/b.dic");
    const QString ini = QString::fromStdString(ReadBytes(Ini()));
    EXPECT_EQ(ini.count("dic=", Qt::CaseInsensitive), 1) << ini.toStdString();
    EXPECT_TRUE(ini.contains("SUBdic=/b.dic")) << ini.toStdString();
}

// A named pipe would keep the program waiting for a writer for good; it is skipped, neither
// read nor written, and the values live in the store only.
TEST_F(SettingsStoreTest, ASettingsFileThatIsNoPlainFileIsSkippedWithAMessage) {
    ASSERT_EQ(::mkfifo(folder_.File("pipe.ini").c_str(), 0644), 0);
    const QString pipe = QString::fromStdString(folder_.File("pipe.ini"));
    SettingsStore store(pipe);
    EXPECT_TRUE(store.problem().contains(pipe + " is not a plain file"))
        << store.problem().toStdString();
    EXPECT_EQ(store.GetSetting("SpaceAdd", "False"), "False");
    store.SaveSetting("SpaceAdd", "True");
    EXPECT_EQ(store.GetSetting("SPACEADD", "False"), "True");
    EXPECT_TRUE(store_.problem().isEmpty());
}

}  // namespace
}  // namespace qm::test
