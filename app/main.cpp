// quillmark: the desktop application.
#include <QApplication>

#include "AppState.h"
#include "DictionaryCommands.h"
#include "MainWindow.h"
#include "OutputCommands.h"
#include "QtServices.h"
#include "SettingsStore.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quillmark"));
    QApplication::setOrganizationName(QStringLiteral("Quillmark"));

    qm::AppState state;
    qm::SettingsStore settings;
    qm::QtServices services;
    qm::MainWindow window(state, settings, services, QApplication::applicationDirPath());
    services.SetDialogParent(&window);
    qm::ConnectDictionaryCommands(window.context(), window);
    new qm::OutputCommands(window.context(), window);  // owned by the window
    // The argument text: everything after the program's name, joined by single blanks.
    window.StartUp(QApplication::arguments().mid(1).join(QLatin1Char(' ')));
    window.show();
    return QApplication::exec();
}
