// Runs under a real X server (xvfb-run): the desktop's keyboard and windows.
#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QProgressDialog>
#include <QPushButton>
#include <QTimer>

#include <stdexcept>
#include <thread>

#include "MainWindow.h"
#include "QtServices.h"
#include "TempFolder.h"

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
        if (dialog == nullptr || !dialog->isVisible()) return;
        shown = true;
        press.stop();
        if (auto* button = dialog->findChild<QPushButton*>()) button->click();
    });
    press.start(20);
    bool stoppedAsAsked = false;
    services.RunWithProgress("Working", progress, [&] {
        progress.permille = 500;
        while (!progress.cancelled) std::this_thread::yield();  // until the user cancels
        stoppedAsAsked = true;
    });
    EXPECT_TRUE(stoppedAsAsked);
    EXPECT_TRUE(shown);
    // A task's failure comes back to the caller; a short task shows nothing.
    EXPECT_THROW(services.RunWithProgress("Failing", progress, [] { throw std::runtime_error("no"); }),
                 std::runtime_error);
}

TEST(RealWindow, MainWindowOpensWhereTheSettingsPlaceIt) {
    test::TempFolder folder;
    AppState state;
    SettingsStore settings(QString::fromStdString(folder.File("Quillmark.ini")));
    settings.SaveSetting("MainLeft", "1500");
    settings.SaveSetting("MainTop", "3000");
    QtServices services;
    MainWindow window(state, settings, services, QString::fromStdString(folder.path().string()));
    test::WriteBytes(folder.File("Kestrel.dic"), "Translator Dictionary  Ver.1.1  Hollowmere\r\n");
    window.endProgram = [] {};
    window.StartUp(QString());
    window.show();
    QApplication::processEvents();
    EXPECT_EQ(window.pos(), QPoint(100, 200));
    EXPECT_TRUE(window.isVisible());
}

}  // namespace
}  // namespace qm
