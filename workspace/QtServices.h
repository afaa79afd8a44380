#pragma once

#include "Services.h"

namespace qm {

// The services as the desktop provides them: Qt dialogs, the system clipboard, the X keyboard.
class QtServices : public Services {
public:
    explicit QtServices(QWidget* dialogParent = nullptr) : parent_(dialogParent) {}
    void SetDialogParent(QWidget* parent) { parent_ = parent; }

    MsgResult MsgBox(const MessageBoxRequest& request) override;
    std::optional<QString> OpenFileDialog(const FileDialogRequest& request) override;
    std::optional<QString> SaveFileDialog(const FileDialogRequest& request) override;
    void ClipboardClear() override;
    void ClipboardSetText(const QString& text) override;
    QString ClipboardGetText() override;
    void SetBusy(bool busy, QWidget* window = nullptr) override;
    bool CapsLockOn() override;
    bool NumLockOn() override;
    void PressKey(std::uint16_t vk, std::uint16_t vk2 = 0) override;
    std::int64_t StartProgram(const QString& program, const QStringList& arguments) override;
    void Pause(double seconds) override;
    void ShowModal(QDialog& dialog) override;
    std::optional<int> PrinterSetupDialog(QPrinter& printer, int orientation) override;
    std::optional<QFont> FontDialog(const QFont& initial) override;
    void RunWithProgress(const QString& label, TaskProgress& progress, const std::function<void()>& task) override;

    // "Programs (*.MIN)|*.MIN;*.SUB|All files|*.*" as a Qt name filter list; patterns match
    // upper and lower case alike.
    static QString QtFilter(const QString& filter);

private:
    QWidget* parent_;
};

}  // namespace qm
