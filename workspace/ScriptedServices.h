#pragma once

#include <deque>
#include <stdexcept>
#include <vector>

#include "Services.h"

namespace qm {

// Services for tests: modal questions are answered from a queue given in advance, and every
// call is recorded. A question nobody scripted an answer for throws, so a test can never hang
// on a dialog nor pass over one unnoticed.
class ScriptedServices : public Services {
public:
    struct Unanswered : std::logic_error {
        using std::logic_error::logic_error;
    };

    // Answers, taken in order by the calls that ask.
    void AnswerMessage(MsgResult result) { messageAnswers_.push_back(result); }
    void AnswerFileDialog(std::optional<QString> path) { fileAnswers_.push_back(std::move(path)); }

    // What was asked or done, in order.
    std::vector<MessageBoxRequest> messages;
    std::vector<FileDialogRequest> fileDialogs;
    std::vector<std::uint16_t> keysPressed;
    std::vector<QStringList> programsStarted;
    std::vector<double> pauses;
    int busyCalls = 0;
    bool busy = false;

    // Scripted machine state.
    QString clipboard;
    bool capsLock = false;
    bool numLock = false;
    std::int64_t nextTaskId = 100;

    bool AllAnswersUsed() const { return messageAnswers_.empty() && fileAnswers_.empty(); }

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

private:
    std::optional<QString> NextFileAnswer(const FileDialogRequest& request);

    std::deque<MsgResult> messageAnswers_;
    std::deque<std::optional<QString>> fileAnswers_;
};

}  // namespace qm
