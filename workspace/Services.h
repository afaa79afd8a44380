#pragma once

#include <QString>
#include <QStringList>

#include <QFont>

#include <atomic>
#include <cstdint>
#include <functional>
#include <optional>

class QDialog;
class QPrinter;
class QWidget;

namespace qm {

// Everything that shows a modal question or reaches outside the program goes through this
// interface, so each command can run headless in tests with scripted answers.

enum class MsgButtons { Ok, YesNo, YesNoCancel };
enum class MsgIcon { None, Critical, Question, Exclamation, Information };
enum class MsgDefault { First, Second };
enum class MsgResult { Ok, Yes, No, Cancel };

struct MessageBoxRequest {
    QString prompt;  // may contain CR LF
    MsgButtons buttons = MsgButtons::Ok;
    MsgIcon icon = MsgIcon::None;
    MsgDefault defaultButton = MsgDefault::First;
    QString title;  // empty: the program title "Quillmark"
};

struct FileDialogRequest {
    QString filter;  // description and pattern pairs joined by "|": "NC (*.MIN)|*.MIN|All|*.*"
    QString initialFolder;
    QString initialFile;
    QString title;
};

// Shared between a long task and the progress shown for it.
struct TaskProgress {
    std::atomic<int> permille{0};        // share done, set by the task
    std::atomic<bool> cancelled{false};  // set when the user cancels; the task should stop soon
};

inline constexpr std::uint16_t kVkCapital = 20;  // the Caps Lock key

class Services {
public:
    virtual ~Services() = default;

    virtual MsgResult MsgBox(const MessageBoxRequest& request) = 0;
    // The chosen full path, or nothing when the user cancelled.
    virtual std::optional<QString> OpenFileDialog(const FileDialogRequest& request) = 0;
    // Asks before replacing an existing file.
    virtual std::optional<QString> SaveFileDialog(const FileDialogRequest& request) = 0;

    virtual void ClipboardClear() = 0;
    virtual void ClipboardSetText(const QString& text) = 0;
    virtual QString ClipboardGetText() = 0;

    // The hourglass while busy: for the whole application, or for one window.
    virtual void SetBusy(bool busy, QWidget* window = nullptr) = 0;

    virtual bool CapsLockOn() = 0;
    virtual bool NumLockOn() = 0;
    // One press and release of vk; with vk2, vk is held while vk2 is pressed.
    virtual void PressKey(std::uint16_t vk, std::uint16_t vk2 = 0) = 0;

    // Starts a program without waiting; returns its task id, 0 when it could not start.
    virtual std::int64_t StartProgram(const QString& program, const QStringList& arguments) = 0;

    // Waits the given seconds while other events run.
    virtual void Pause(double seconds) = 0;

    // Shows one of the program's own dialogs modally and returns when it is closed.
    virtual void ShowModal(QDialog& dialog) = 0;
    // The printer setup dialog, where the printer (or a PDF file), the paper and the orientation
    // are chosen, opened with orientation (1 portrait, 2 landscape) preselected; the
    // orientation chosen, or nothing when cancelled.
    virtual std::optional<int> PrinterSetupDialog(QPrinter& printer, int orientation) = 0;
    // The font dialog; the font chosen, or nothing when cancelled.
    virtual std::optional<QFont> FontDialog(const QFont& initial) = 0;

    // Runs task on another thread and returns when it has returned, throwing what it threw.
    // When it takes more than a moment, a progress dialog shows progress.permille, and its
    // Cancel button sets progress.cancelled; the rest of the program takes no input meanwhile.
    virtual void RunWithProgress(const QString& label, TaskProgress& progress, const std::function<void()>& task) = 0;

    // The shortcut for an OK box with a prompt and a title.
    MsgResult Message(const QString& prompt, const QString& title = QString()) {
        return MsgBox({prompt, MsgButtons::Ok, MsgIcon::None, MsgDefault::First, title});
    }
};

}  // namespace qm
