#include <sys/stat.h>

#include "SettingsFixture.h"

namespace qm::test {
namespace {

class SettingsStoreTest : public SettingsFixture {};

// Keys are matched in any letter case, in a hand-edited file and between writes, and each keeps
// one spelling; values are on disk at once, a list of unquoted commas read back as written.
TEST_F(SettingsStoreTest, StoresTextsAtOnceAndMatchesKeysInAnyLetterCase) {
    WriteBytes(Ini(),
               "[Settings]\nmaindic=ignored\nmindic=/x/Mill.dic\nSPACEADD=True\nNote=a,b,c\n");
    SettingsStore store(file_);
    EXPECT_EQ(store.GetSetting("MINdic", ""), "/x/Mill.dic");
    EXPECT_EQ(store.GetSetting("SpaceAdd", "False"), "True");
    EXPECT_EQ(store.GetSetting("Note", ""), "a,b,c");
    EXPECT_EQ(store.GetSetting("PrintFontName", "fallback"), "fallback");
    store.SaveSetting("PrintFontName", QStringLiteral("ＭＳ 明朝"));
    store.SaveSetting("SUBdic", "/a.dic");
    store.SaveSetting("SUBDIC", "/dic/a, b.dic");
    const SettingsStore other(file_);
    EXPECT_EQ(other.GetSetting("PrintFontName", ""), QStringLiteral("ＭＳ 明朝"));
    EXPECT_EQ(other.GetSetting("subdic", ""), "/dic/a, b.dic");
    const QString ini = QString::fromStdString(ReadBytes(Ini()));
    EXPECT_EQ(ini.count("subdic=", Qt::CaseInsensitive), 1) << ini.toStdString();
    EXPECT_TRUE(ini.contains("[Settings]") && ini.contains("SUBdic=")) << ini.toStdString();
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
