// The Help menu: the About box and the manual's window, in a main window with scripted services.
#include <QAction>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTextBrowser>

#include <cerrno>
#include <cstring>

#include "AboutBox.h"
#include "HelpCommands.h"
#include "HelpWindow.h"
#include "SysInfo.h"
#include "Version.h"
#include "WindowFixture.h"

namespace qm {
namespace {

class HelpCommandsTest : public test::WindowFixture {
  protected:
    HelpCommands help_{window_.context(), window_, QString::fromStdString(folder_.path().string())};
};

TEST_F(HelpCommandsTest, VersionInformationShowsTheAboutBox) {
    controls_.mnuHelpAbout->trigger();
    ASSERT_EQ(services_.modalDialogs, std::vector<QString>{QStringLiteral("frmAbout")});
    AboutBox& box = help_.frmAbout();
    EXPECT_TRUE(box.isVisible());
    EXPECT_EQ(box.lblVersion().text(), QStringLiteral("Ver. 2.3.8"));
    EXPECT_EQ(box.parentWidget(), &window_);

    // Whether this machine has a system information program or not, the button either starts it
    // or shows the one message, and the box stays open.
    box.cmdSysInfo().click();
    EXPECT_EQ(services_.programsStarted.size() + services_.messages.size(), 1u);
    EXPECT_TRUE(box.isVisible());
    box.cmdOK().click();
    EXPECT_FALSE(box.isVisible());
    EXPECT_EQ(box.result(), QDialog::Accepted);
}

TEST(VersionText, NumbersInDecimalWithoutLeadingZeros) {
    EXPECT_EQ(VersionText(2, 3, 8), QStringLiteral("Ver. 2.3.8"));
    EXPECT_EQ(VersionText(10, 0, 12), QStringLiteral("Ver. 10.0.12"));
}

TEST_F(HelpCommandsTest, AMissingManualShowsThePlatformsDescriptionOfTheError) {
    controls_.mnuHelpContents->trigger();
    ASSERT_EQ(services_.messages.size(), 1u);
    EXPECT_EQ(services_.messages[0].prompt, QString::fromLocal8Bit(std::strerror(ENOENT)));
    EXPECT_TRUE(services_.messages[0].title.isEmpty());  // the program title
    EXPECT_FALSE(help_.Help().isVisible());
}

TEST_F(HelpCommandsTest, TheManualOpensWithItsContentsAndSearch) {
    test::WriteBytes(
        folder_.File("Quillmark.html"),
        "<html><body><h1>Quillmark</h1><h2 id=\"types\">File types</h2><p>MIN and SUB.</p>"
        "<h3 id=\"keys\">Keys <i>and</i> menus</h3><p>Ctrl+R converts. Ctrl+R again.</p>"
        "<h2>No anchor</h2></body></html>");
    controls_.mnuHelpContents->trigger();
    EXPECT_TRUE(services_.messages.empty());
    HelpWindow& window = help_.Help();
    EXPECT_TRUE(window.isVisible());
    EXPECT_TRUE(window.browser().toPlainText().contains(QStringLiteral("Ctrl+R converts")));
    ASSERT_EQ(window.contents().count(), 2);
    EXPECT_EQ(window.contents().item(0)->text(), QStringLiteral("File types"));
    EXPECT_EQ(window.contents().item(1)->text(), QStringLiteral("    Keys and menus"));

    EXPECT_TRUE(window.FindNext(QStringLiteral("Ctrl+R")));
    const int first = window.browser().textCursor().selectionStart();
    EXPECT_TRUE(window.FindNext(QStringLiteral("Ctrl+R")));
    EXPECT_GT(window.browser().textCursor().selectionStart(), first);
    EXPECT_TRUE(window.FindNext(QStringLiteral("Ctrl+R")));  // wraps to the top
    EXPECT_EQ(window.browser().textCursor().selectionStart(), first);
    EXPECT_FALSE(window.FindNext(QStringLiteral("absent text")));
}

// The bundled manual reads, and its contents list every chapter the users look for.
TEST(BundledManual, OpensWithAChapterForEveryTopic) {
    HelpWindow window;
    ASSERT_FALSE(window.Open(QStringLiteral(QM_PROGRAM_FOLDER "/Quillmark.html")).has_value());
    QStringList titles;
    for (int i = 0; i < window.contents().count(); ++i)
        titles << window.contents().item(i)->text().trimmed();
    for (const char* chapter :
         {"File types and their dictionaries", "Converting", "Real-time conversion",
          "Maintaining dictionaries", "Saving, printing and the spreadsheet",
          "The command-line converter", "Where settings live", "Keyboard shortcuts"}) {
        EXPECT_TRUE(titles.contains(QString::fromUtf8(chapter))) << chapter;
    }
}

}  // namespace
}  // namespace qm
