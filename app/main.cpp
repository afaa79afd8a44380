// quillmark: the desktop application.
#include <QApplication>
#include <QSessionManager>

#include "AppState.h"
#include "DictionaryCommands.h"
#include "EndSignals.h"
#include "HelpCommands.h"
#include "MainWindow.h"
#include "MemoryArenas.h"
#include "OutputCommands.h"
#include "ProgramFolder.h"
#include "QtServices.h"
#include "SettingsStore.h"
#include "ToolpathCommands.h"

int main(int argc, char** argv) {
    qm::KeepOneMemoryArena();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quillmark"));
    QApplication::setOrganizationName(QStringLiteral("Quillmark"));

    qm::AppState state;
    qm::SettingsStore settings;
    qm::QtServices services;
    const QString programFolder = QString::fromStdString(
        qm::ProgramFolderFor(QApplication::applicationDirPath().toStdString()).string());
    qm::MainWindow window(state, settings, services, programFolder);
    services.SetDialogParent(&window);
    qm::ConnectDictionaryCommands(window.context(), window);
    new qm::OutputCommands(window.context(), window);  // owned by the window
    new qm::HelpCommands(window.context(), window, programFolder);  // owned by the window
    new qm::ToolpathCommands(window.context(), window);  // owned by the window
    // Ended from outside (kill, a closed terminal, Ctrl-C, the desktop session ending): the
    // keyboard and the settings are left as on a normal end, without asking anything. Caught from
    // before start-up switches Caps Lock on, so that no moment is left where a signal ends it.
    qm::EndSignals endSignals;
    QObject::connect(&endSignals, &qm::EndSignals::received, &window, &qm::MainWindow::EndWithoutAsking);
    QObject::connect(&app, &QGuiApplication::commitDataRequest, &window,
                     [&window](QSessionManager&) { window.LeaveKeyboardAndSettings(); });
    QObject::connect(&app, &QCoreApplication::aboutToQuit, &window, &qm::MainWindow::EndWithoutAsking);
    // The argument text: everything after the program's name, joined by single blanks.
    window.StartUp(QApplication::arguments().mid(1).join(QLatin1Char(' ')));
    window.show();
    return QApplication::exec();
}
