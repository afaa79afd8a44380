#include "ScriptedServices.h"

#include <QDialog>

#include <cstdio>

namespace qm {

ScriptedServices::Unanswered::Unanswered(std::string text) : what(std::move(text)) {
    std::fprintf(stderr, "ScriptedServices: %s\n", what.c_str());
}

MsgResult ScriptedServices::MsgBox(const MessageBoxRequest& request) {
    messages.push_back(request);
    if (request.buttons == MsgButtons::Ok) {
        // An OK box has one answer; a scripted one is taken when given.
        if (!messageAnswers_.empty() && messageAnswers_.front() == MsgResult::Ok) messageAnswers_.pop_front();
        return MsgResult::Ok;
    }
    if (messageAnswers_.empty()) {
        throw Unanswered("unexpected question: " + request.prompt.toStdString());
    }
    const MsgResult answer = messageAnswers_.front();
    messageAnswers_.pop_front();
    return answer;
}

std::optional<QString> ScriptedServices::NextFileAnswer(const FileDialogRequest& request) {
    fileDialogs.push_back(request);
    if (fileAnswers_.empty()) throw Unanswered("unexpected file dialog: " + request.title.toStdString());
    std::optional<QString> answer = std::move(fileAnswers_.front());
    fileAnswers_.pop_front();
    return answer;
}

std::optional<QString> ScriptedServices::OpenFileDialog(const FileDialogRequest& request) {
    return NextFileAnswer(request);
}

std::optional<QString> ScriptedServices::SaveFileDialog(const FileDialogRequest& request) {
    return NextFileAnswer(request);
}

void ScriptedServices::PressKey(std::uint16_t vk, std::uint16_t vk2) {
    keysPressed.push_back(vk);
    if (vk2 != 0) keysPressed.push_back(vk2);
    if (vk == kVkCapital && vk2 == 0) capsLock = !capsLock;
}

std::int64_t ScriptedServices::StartProgram(const QString& program, const QStringList& arguments) {
    programsStarted.push_back(QStringList{program} + arguments);
    return nextTaskId++;
}

// The dialog is shown without waiting: it stays open for the test to work it, or a scripted
// action works it at once.
void ScriptedServices::ShowModal(QDialog& dialog) {
    modalDialogs.push_back(dialog.objectName());
    dialog.show();
    if (modalActions_.empty()) return;
    const std::function<void(QDialog&)> action = std::move(modalActions_.front());
    modalActions_.pop_front();
    action(dialog);
}

std::optional<int> ScriptedServices::PrinterSetupDialog(QPrinter&, int) {
    if (printerAnswers_.empty()) throw Unanswered("unexpected printer setup dialog");
    const std::optional<int> answer = printerAnswers_.front();
    printerAnswers_.pop_front();
    return answer;
}

std::optional<QFont> ScriptedServices::FontDialog(const QFont&) {
    if (fontAnswers_.empty()) throw Unanswered("unexpected font dialog");
    std::optional<QFont> answer = std::move(fontAnswers_.front());
    fontAnswers_.pop_front();
    return answer;
}

void ScriptedServices::RunWithProgress(const QString& label, TaskProgress& progress,
                                       const std::function<void()>& task) {
    longTasks.push_back(label);
    if (cancelNextTask_) progress.cancelled = true;
    cancelNextTask_ = false;
    task();
}

}  // namespace qm
