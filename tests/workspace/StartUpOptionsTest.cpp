#include <QAction>
#include <QFontDatabase>
#include <QFontInfo>
#include <QMenu>

#include <sys/stat.h>

#include "InstalledFont.h"
#include "WindowFixture.h"

namespace qm {
namespace {

class StartUpOptionsTest : public test::WindowFixture {
  protected:
    QAction* CapsLockItem() {
        return controls_.MenuRunOption->findChild<QAction*>("MenuRunOptionCaps");
    }
    QFont EditorFont() { return window_.context().documents.OriginalFile().Text1().font(); }
};

TEST_F(StartUpOptionsTest, CapsLockIsSwitchedOnlyWhileTheOptionIsOn) {
    window_.StartUp(QString());  // no "CapsLock" key: on, as always
    QAction* item = CapsLockItem();
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->text(), "Caps Lock on at start");
    EXPECT_TRUE(item->isChecked());
    EXPECT_TRUE(services_.capsLock);

    item->trigger();  // off: exit leaves Caps Lock as the user has it
    EXPECT_FALSE(item->isChecked());
    services_.keysPressed.clear();
    EXPECT_TRUE(window_.MenuFileEnd_Click());
    EXPECT_TRUE(services_.keysPressed.empty());
    EXPECT_TRUE(services_.capsLock);
    EXPECT_EQ(SettingsStore(Path("Quillmark.ini")).GetSetting("capslock", ""), "False");
}

TEST_F(StartUpOptionsTest, CapsLockOffInTheSettingsLeavesTheKeyboardAlone) {
    settings_.SaveSetting("CapsLock", "False");
    window_.StartUp(QString());
    ASSERT_NE(CapsLockItem(), nullptr);
    EXPECT_FALSE(CapsLockItem()->isChecked());
    EXPECT_TRUE(services_.keysPressed.empty());
    EXPECT_FALSE(services_.capsLock);

    CapsLockItem()->trigger();  // on again: switched off at exit, and so stored
    services_.capsLock = true;
    window_.close();
    EXPECT_FALSE(services_.capsLock);
    EXPECT_EQ(SettingsStore(Path("Quillmark.ini")).GetSetting("CapsLock", ""), "True");
}

TEST_F(StartUpOptionsTest, ASettingsFileThatIsANamedPipeIsSkippedWithAMessage) {
    ASSERT_EQ(::mkfifo(folder_.File("fifo.ini").c_str(), 0644), 0);
    SettingsStore fifo(Path("fifo.ini"));
    AppState state;
    MainWindow window(state, fifo, services_, QString::fromStdString(folder_.path().string()));
    window.StartUp(QString());
    ASSERT_EQ(services_.messages.size(), 1u);
    EXPECT_TRUE(services_.messages[0].prompt.contains("is not a plain file")) << services_.messages[0].prompt.toStdString();
    EXPECT_TRUE(window.MenuFileEnd_Click());  // the settings are not written into the pipe either
}

TEST_F(StartUpOptionsTest, ScreenFontIsTheStoredOneWhenInstalledOtherwiseTheFixedPitchFont) {
    const QFont fixed = FixedPitchFont();
    if (QFontDatabase::hasFamily("Terminal"))
        GTEST_SKIP() << "a font named Terminal is installed";
    window_.StartUp(QString());  // "Terminal", the default, is a Windows font
    EXPECT_EQ(EditorFont().family(), fixed.family());
    EXPECT_TRUE(QFontInfo(EditorFont()).fixedPitch());
}

TEST_F(StartUpOptionsTest, InstalledScreenFontIsUsedAtItsSize) {
    const QString installed = QFontDatabase::families().first();
    settings_.SaveSetting("ScreenFontName", installed);
    settings_.SaveSetting("ScreenFontSize", "17");
    window_.StartUp(QString());
    EXPECT_EQ(EditorFont().family(), installed);
    EXPECT_EQ(EditorFont().pointSize(), 17);
    EXPECT_EQ(window_.context().documents.Form1().Text1().font().pointSize(), 17);
}

}  // namespace
}  // namespace qm
