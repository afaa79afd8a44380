// Runs under a real X server (xvfb-run): the desktop's keyboard and windows.
#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>

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
