#include "HelpCommands.h"

#include <QAction>
#include <QDir>

#include "AboutBox.h"
#include "Context.h"
#include "Controls.h"
#include "HelpWindow.h"
#include "Registry.h"
#include "Services.h"
#include "SysInfo.h"

namespace qm {

HelpCommands::HelpCommands(Context& context, QWidget& mainWindow, QString programFolder)
    : QObject(&mainWindow),
      context_(context),
      mainWindow_(mainWindow),
      programFolder_(std::move(programFolder)),
      registry_(std::make_unique<PlatformRegistry>()) {
    connect(context_.controls.mnuHelpContents, &QAction::triggered, this, &HelpCommands::mnuHelpContents_Click);
    connect(context_.controls.mnuHelpAbout, &QAction::triggered, this, &HelpCommands::mnuHelpAbout_Click);
}

HelpCommands::~HelpCommands() {
    delete help_.data();
    delete about_.data();
}

// A manual that cannot be read shows the platform's description of the error, titled with the
// program title; nothing else happens.
void HelpCommands::mnuHelpContents_Click() {
    const QString path = QDir(programFolder_).filePath(QLatin1String(kManualFileName));
    if (const std::optional<QString> error = Help().Open(path)) {
        context_.services.Message(*error);
        return;
    }
    Help().show();
    Help().raise();
    Help().activateWindow();
}

void HelpCommands::mnuHelpAbout_Click() { context_.services.ShowModal(frmAbout()); }

HelpWindow& HelpCommands::Help() {
    if (!help_) help_ = new HelpWindow(&mainWindow_);
    return *help_;
}

AboutBox& HelpCommands::frmAbout() {
    if (!about_) about_ = new AboutBox(context_.services, *registry_, PathFolders(), &mainWindow_);
    return *about_;
}

}  // namespace qm
