#pragma once

#include <QObject>
#include <QPointer>
#include <QString>

#include <memory>

class QWidget;

namespace qm {

struct Context;
class AboutBox;
class HelpWindow;
class Registry;

// The Help menu: "Quillmark Help " shows the manual of the program folder in the help window,
// "Version Information(&A)" shows the About box. Made once beside the main window.
class HelpCommands : public QObject {
    Q_OBJECT
public:
    // The manual's file name in the program folder.
    static constexpr const char* kManualFileName = "Quillmark.html";

    HelpCommands(Context& context, QWidget& mainWindow, QString programFolder);
    ~HelpCommands() override;

    void mnuHelpContents_Click();
    void mnuHelpAbout_Click();

    // The windows, created on first use.
    HelpWindow& Help();
    AboutBox& frmAbout();

private:
    Context& context_;
    QWidget& mainWindow_;
    QString programFolder_;
    std::unique_ptr<Registry> registry_;
    QPointer<HelpWindow> help_;
    QPointer<AboutBox> about_;
};

}  // namespace qm
