#pragma once

#include <QDialog>
#include <QStringList>

class QLabel;
class QPushButton;

namespace qm {

class Registry;
class Services;

// frmAbout: the program's title and version, OK, and a button that starts the system
// information program.
class AboutBox : public QDialog {
    Q_OBJECT
public:
    AboutBox(Services& services, const Registry& registry, QStringList searchFolders, QWidget* parent = nullptr);

    QLabel& lblTitle() { return *lblTitle_; }
    QLabel& lblVersion() { return *lblVersion_; }
    QPushButton& cmdOK() { return *cmdOK_; }
    QPushButton& cmdSysInfo() { return *cmdSysInfo_; }

    void cmdOK_Click();
    void cmdSysInfo_Click();

private:
    Services& services_;
    const Registry& registry_;
    QStringList searchFolders_;
    QLabel* lblTitle_;
    QLabel* lblVersion_;
    QPushButton* cmdOK_;
    QPushButton* cmdSysInfo_;
};

}  // namespace qm
