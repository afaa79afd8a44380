// Runs under a real X server (xvfb-run): the desktop's keyboard and windows.
#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QProcess>
#include <QProgressDialog>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <stdexcept>
#include <thread>

#include "FindBar.h"
#include "QtServices.h"
#include "TempFolder.h"
#include "WindowFixture.h"

namespace qm {
namespace {

TEST(RealWindow, CapsLockIsReadAndSwitchedThroughTheKeyboard) {
    ASSERT_EQ(QGuiApplication::platformName(), "xcb");
    QtServices services;
    const bool before = services.CapsLockOn();
    services.PressKey(kVkCapital);
    EXPECT_EQ(services.CapsLockOn(), !before);
    services.PressKey(kVkCapital);
    EXPECT_EQ(services.CapsLockOn(), before);
}

TEST(RealWindow, PauseLetsEventsRunAndWaitsAboutTheTime) {
    QtServices services;
    bool ran = false;
    QTimer::singleShot(10, [&] { ran = true; });
    QElapsedTimer clock;
    clock.start();
    services.Pause(0.2);
    EXPECT_TRUE(ran);
    EXPECT_GE(clock.elapsed(), 190);
}

TEST(RealWindow, ALongTaskShowsProgressAndStopsWhenCancelled) {
    QtServices services;
    TaskProgress progress;
    bool shown = false;
    QTimer press;
    QObject::connect(&press, &QTimer::timeout, [&] {
        auto* dialog = qobject_cast<QProgressDialog*>(QApplication::activeModalWidget());
        if (dialog == nullptr || !dialog->isVisible())
            return;
        shown = true;
        press.stop();
        if (auto* button = dialog->findChild<QPushButton*>())
            button->click();
    });
    press.start(20);
    bool stoppedAsAsked = false;
    services.RunWithProgress("Working", progress, [&] {
        progress.permille = 500;
        while (!progress.cancelled)
            std::this_thread::yield();  // until the user cancels
        stoppedAsAsked = true;
    });
    EXPECT_TRUE(stoppedAsAsked);
    EXPECT_TRUE(shown);
    // A task's failure comes back to the caller; a short task shows nothing.
    EXPECT_THROW(
        services.RunWithProgress("Failing", progress, [] { throw std::runtime_error("no"); }),
        std::runtime_error);
}

using RealMainWindow = test::WindowFixture;

TEST_F(RealMainWindow, MainWindowOpensWhereTheSettingsPlaceIt) {
    settings_.SaveSetting("MainLeft", "1500");
    settings_.SaveSetting("MainTop", "3000");
    window_.StartUp(QString());
    window_.show();
    QApplication::processEvents();
    EXPECT_EQ(window_.pos(), QPoint(100, 200));
    EXPECT_TRUE(window_.isVisible());
}

// Ended from outside, the program leaves the keyboard as it found it and writes its settings.
TEST(RealWindow, ATerminatedProgramPutsCapsLockBackAndKeepsItsSettings) {
    QtServices services;
    if (services.CapsLockOn())
        services.PressKey(kVkCapital);
    test::TempFolder folder;
    QProcess program;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("XDG_CONFIG_HOME", QString::fromStdString(folder.path().string()));
    program.setProcessEnvironment(environment);
    program.start(QStringLiteral(QM_DESKTOP_PROGRAM), {});
    ASSERT_TRUE(program.waitForStarted());
    QElapsedTimer clock;
    clock.start();
    while (!services.CapsLockOn() && clock.elapsed() < 20000)
        program.waitForFinished(20);
    ASSERT_TRUE(services.CapsLockOn()) << "the program did not switch Caps Lock on";
    program.terminate();  // SIGTERM
    ASSERT_TRUE(program.waitForFinished(20000));
    EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
    EXPECT_FALSE(services.CapsLockOn());
    EXPECT_FALSE(test::ReadBytes(folder.File("Quillmark/Quillmark.ini")).empty());
}

// The main window shown and active on the X server, both document windows open.
class ShownWindowTest : public test::WindowFixture {
  protected:
    void SetUp() override {
        window_.StartUp(QString());
        window_.context().documents.OriginalFile();
        window_.show();
        window_.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window_));
    }
    QsciScintilla& Text(bool source) { return source ? Source() : Converted(); }
    void FocusText(bool source) {
        Text(source).setFocus();
        RunEvents(20);
        ASSERT_EQ(QApplication::focusWidget(), static_cast<QWidget*>(&Text(source)));
    }
};

// The editor's own key commands and the document windows' Close would otherwise take these.
TEST_F(ShownWindowTest, EveryMenuShortcutRunsItsCommandWithTheFocusInEitherText) {
    const std::pair<Qt::Key, QAction*> keys[] = {
        {Qt::Key_L, controls_.MenuRunLine},           {Qt::Key_R, controls_.MenuRunStart},
        {Qt::Key_W, controls_.MenuDisplayCascade},    {Qt::Key_V, controls_.MenuDisplayVertical},
        {Qt::Key_H, controls_.MenuDisplayHorizontal}, {Qt::Key_A, controls_.MenuEditAll},
        {Qt::Key_C, controls_.MenuEditCopy},          {Qt::Key_X, controls_.MenuEditCut},
        {Qt::Key_P, controls_.MenuEditPaste},         {Qt::Key_S, controls_.MenuFileSave},
        {Qt::Key_N, controls_.MenuFileNew},
    };
    for (bool source : {true, false}) {
        for (const auto& [key, item] : keys) {
            FocusText(source);
            int runs = 0;
            const auto counting = QObject::connect(item, &QAction::triggered, [&runs] { ++runs; });
            services_.AnswerMessage(MsgResult::No);  // should a command ask whether to save
            services_.AnswerFileDialog(std::nullopt);
            QTest::keyClick(QApplication::focusWidget(), key, Qt::ControlModifier);
            RunEvents(20);
            QObject::disconnect(counting);
            EXPECT_EQ(runs, 1) << "Ctrl+" << char(key)
                               << (source ? " in the source" : " in the converted text");
        }
    }
}

TEST_F(ShownWindowTest, EscapeInTheFindBarGivesTheFocusBackToTheTextSearched) {
    for (bool source : {true, false}) {
        FocusText(source);
        auto* bar = window_.findChild<FindBar*>();
        ASSERT_NE(bar, nullptr);
        bar->StartFind();
        RunEvents(20);
        ASSERT_EQ(QApplication::focusWidget(), static_cast<QWidget*>(&bar->findField()));
        QTest::keyClick(&bar->findField(), Qt::Key_Escape);
        RunEvents(20);
        EXPECT_EQ(QApplication::focusWidget(), static_cast<QWidget*>(&Text(source)))
            << (source ? "source" : "converted");
    }
}

TEST_F(ShownWindowTest, TheBarsAroundEmptyRecentListsAreDrawn) {
    for (QMenu* menu : {controls_.MenuFile, controls_.MenuDic}) {
        menu->popup(window_.geometry().center());
        RunEvents(20);
        int drawn = 0;
        for (QAction* item : menu->actions()) {
            if (item->isSeparator() && !menu->actionGeometry(item).isEmpty())
                ++drawn;
        }
        menu->hide();
        EXPECT_EQ(drawn, menu == controls_.MenuFile ? 4 : 2) << menu->objectName().toStdString();
    }
}

// A window the user closed and opened again fills its place in the arrangement.
TEST_F(ShownWindowTest, AReopenedWindowTakesItsPlaceInTheArrangement) {
    const auto frameOfConverted = [this] { return FrameOf(context().documents.Form1()); };
    for (QAction* arrangement : {controls_.MenuDisplayVertical, controls_.MenuDisplayCascade}) {
        arrangement->trigger();
        RunEvents(20);
        ASSERT_NE(frameOfConverted(), nullptr);
        const QRect placed = frameOfConverted()->geometry();
        CloseFrameOf(context().documents.Form1());
        ASSERT_FALSE(window_.context().documents.HasForm1());
        RunEvents(50);
        ASSERT_NE(frameOfConverted(), nullptr);
        EXPECT_EQ(frameOfConverted()->geometry(), placed)
            << arrangement->objectName().toStdString();
    }
}

// Cascade leaves the window being worked in at the front: below the others, a click on its title
// would not bring it up, as it is already the active window.
TEST_F(ShownWindowTest, CascadeKeepsTheWindowWorkedInAtTheFront) {
    QMdiArea& area = window_.mdiArea();
    QMdiSubWindow* source = FrameOf(context().documents.OriginalFile());
    ASSERT_NE(source, nullptr);
    area.setActiveSubWindow(source);
    controls_.MenuDisplayCascade->trigger();
    RunEvents(20);
    EXPECT_EQ(area.activeSubWindow(), source);
    EXPECT_EQ(area.subWindowList(QMdiArea::StackingOrder).last(), source);
}

}  // namespace
}  // namespace qm
