#pragma once

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "Services.h"

namespace qm {

// Services for tests: modal questions are answered from a queue given in advance, and every
// call is recorded. A question nobody scripted an answer for throws, so a test can never hang
// on a dialog nor pass over one unnoticed.
class ScriptedServices : public Services {
public:
    // Not a std::exception, so that no command's guard mistakes a test's missing answer for a
    // failure of the program and carries on; its text also goes to standard error.
    struct Unanswered {
        explicit Unanswered(std::string text);
        std::string what;
    };

    // Answers, taken in order by the calls that ask.
    void AnswerMessage(MsgResult result) { messageAnswers_.push_back(result); }
    void AnswerFileDialog(std::optional<QString> path) { fileAnswers_.push_back(std::move(path)); }
    void AnswerPrinterSetup(std::optional<int> orientation) { printerAnswers_.push_back(orientation); }
    void AnswerFont(std::optional<QFont> font) { fontAnswers_.push_back(std::move(font)); }
    // What the user does in the next modal dialog of the program's own (press a button, ...).
    void WhileModal(std::function<void(QDialog&)> action) { modalActions_.push_back(std::move(action)); }

    // The user presses Cancel in the next long task's progress dialog (before the task starts).
    void CancelNextTask() { cancelNextTask_ = true; }

    // What was asked or done, in order.
    std::vector<MessageBoxRequest> messages;
    std::vector<FileDialogRequest> fileDialogs;
    std::vector<std::uint16_t> keysPressed;
    std::vector<QStringList> programsStarted;
    std::vector<double> pauses;
    std::vector<QString> modalDialogs;  // object names
    std::vector<QString> longTasks;     // labels
    int busyCalls = 0;
    bool busy = false;

    // Scripted machine state.
    QString clipboard;
    bool capsLock = false;
    bool numLock = false;
    std::int64_t nextTaskId = 100;

    bool AllAnswersUsed() const {
        return messageAnswers_.empty() && fileAnswers_.empty() && printerAnswers_.empty() && fontAnswers_.empty() &&
               modalActions_.empty();
    }

    MsgResult MsgBox(const MessageBoxRequest& request) override;
    std::optional<QString> OpenFileDialog(const FileDialogRequest& request) override;
    std::optional<QString> SaveFileDialog(const FileDialogRequest& request) override;
    void ClipboardClear() override { clipboard.clear(); }
    void ClipboardSetText(const QString& text) override { clipboard = text; }
    QString ClipboardGetText() override { return clipboard; }
    void SetBusy(bool isBusy, QWidget* = nullptr) override {
        ++busyCalls;
        busy = isBusy;
    }
    bool CapsLockOn() override { return capsLock; }
    bool NumLockOn() override { return numLock; }
    void PressKey(std::uint16_t vk, std::uint16_t vk2 = 0) override;
    std::int64_t StartProgram(const QString& program, const QStringList& arguments) override;
    void Pause(double seconds) override { pauses.push_back(seconds); }
    void ShowModal(QDialog& dialog) override;
    std::optional<int> PrinterSetupDialog(QPrinter& printer, int orientation) override;
    std::optional<QFont> FontDialog(const QFont& initial) override;
    // Runs the task on the calling thread.
    void RunWithProgress(const QString& label, TaskProgress& progress, const std::function<void()>& task) override;

private:
    std::optional<QString> NextFileAnswer(const FileDialogRequest& request);

    std::deque<MsgResult> messageAnswers_;
    std::deque<std::optional<QString>> fileAnswers_;
    std::deque<std::optional<int>> printerAnswers_;
    std::deque<std::optional<QFont>> fontAnswers_;
    std::deque<std::function<void(QDialog&)>> modalActions_;
    bool cancelNextTask_ = false;
};

}  // namespace qm
