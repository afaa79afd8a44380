#include "QtServices.h"

#include <QApplication>
#include <QClipboard>
#include <QEventLoop>
#include <QDialog>
#include <QFileDialog>
#include <QFontDialog>
#include <QPageLayout>
#include <QDialogButtonBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QMessageBox>
#include <QProcess>
#include <QProgressDialog>
#include <QPushButton>
#include <QTimer>
#include <QWidget>

#include <chrono>
#include <future>

#include "KeyboardLocks.h"

namespace qm {
namespace {

QMessageBox::Icon ToQtIcon(MsgIcon icon) {
    switch (icon) {
        case MsgIcon::Critical:
            return QMessageBox::Critical;
        case MsgIcon::Question:
            return QMessageBox::Question;
        case MsgIcon::Exclamation:
            return QMessageBox::Warning;
        case MsgIcon::Information:
            return QMessageBox::Information;
        case MsgIcon::None:
            break;
    }
    return QMessageBox::NoIcon;
}

// Patterns "*.MIN;*.min" for one "*.MIN" so that file names match in either case.
QString CaseInsensitivePatterns(const QString& patterns) {
    QStringList all;
    for (const QString& pattern : patterns.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        const QString trimmed = pattern.trimmed();
        if (trimmed == QLatin1String("*.*")) {
            all << QStringLiteral("*");
            continue;
        }
        for (const QString& form : {trimmed, trimmed.toUpper(), trimmed.toLower()}) {
            if (!all.contains(form)) all << form;
        }
    }
    return all.join(QLatin1Char(' '));
}

}  // namespace

QString QtServices::QtFilter(const QString& filter) {
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList filters;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        filters << QStringLiteral("%1 (%2)").arg(parts[i], CaseInsensitivePatterns(parts[i + 1]));
    }
    return filters.join(QStringLiteral(";;"));
}

MsgResult QtServices::MsgBox(const MessageBoxRequest& request) {
    QMessageBox box(parent_);
    box.setWindowTitle(request.title.isEmpty() ? QStringLiteral("Quillmark") : request.title);
    box.setText(QString(request.prompt).replace(QLatin1String("\r\n"), QLatin1String("\n")));
    box.setTextFormat(Qt::PlainText);  // prompts quote words and comments, which are no markup
    box.setIcon(ToQtIcon(request.icon));
    if (request.buttons == MsgButtons::Ok) {
        box.setStandardButtons(QMessageBox::Ok);
        box.exec();
        return MsgResult::Ok;
    }
    QMessageBox::StandardButtons buttons = QMessageBox::Yes | QMessageBox::No;
    if (request.buttons == MsgButtons::YesNoCancel) buttons |= QMessageBox::Cancel;
    box.setStandardButtons(buttons);
    box.setDefaultButton(request.defaultButton == MsgDefault::First ? QMessageBox::Yes : QMessageBox::No);
    switch (box.exec()) {
        case QMessageBox::Yes:
            return MsgResult::Yes;
        case QMessageBox::No:
            return MsgResult::No;
        default:
            // Escape or the close box: No where there are two buttons, Cancel where there are three.
            return request.buttons == MsgButtons::YesNoCancel ? MsgResult::Cancel : MsgResult::No;
    }
}

std::optional<QString> QtServices::OpenFileDialog(const FileDialogRequest& request) {
    const QString start = request.initialFile.isEmpty()
                              ? request.initialFolder
                              : QDir(request.initialFolder).filePath(request.initialFile);
    const QString path = QFileDialog::getOpenFileName(parent_, request.title, start, QtFilter(request.filter));
    if (path.isEmpty()) return std::nullopt;
    return path;
}

std::optional<QString> QtServices::SaveFileDialog(const FileDialogRequest& request) {
    const QString start = QDir(request.initialFolder).filePath(request.initialFile);
    const QString path = QFileDialog::getSaveFileName(parent_, request.title, start, QtFilter(request.filter));
    if (path.isEmpty()) return std::nullopt;
    return path;
}

void QtServices::ClipboardClear() { QApplication::clipboard()->clear(); }

void QtServices::ClipboardSetText(const QString& text) { QApplication::clipboard()->setText(text); }

QString QtServices::ClipboardGetText() { return QApplication::clipboard()->text(); }

void QtServices::SetBusy(bool busy, QWidget* window) {
    if (window != nullptr) {
        if (busy) {
            window->setCursor(Qt::WaitCursor);
        } else {
            window->unsetCursor();
        }
        return;
    }
    if (busy) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
    } else {
        while (QApplication::overrideCursor() != nullptr) QApplication::restoreOverrideCursor();
    }
}

bool QtServices::CapsLockOn() { return keyboard::CapsLockOn(); }

bool QtServices::NumLockOn() { return keyboard::NumLockOn(); }

void QtServices::PressKey(std::uint16_t vk, std::uint16_t vk2) {
    // Only the Caps Lock key is needed; it toggles the lock as a real press would.
    if (vk == kVkCapital && vk2 == 0) keyboard::ToggleCapsLock();
}

std::int64_t QtServices::StartProgram(const QString& program, const QStringList& arguments) {
    qint64 pid = 0;
    return QProcess::startDetached(program, arguments, QString(), &pid) ? pid : 0;
}

void QtServices::Pause(double seconds) {
    if (seconds <= 0) return;
    QEventLoop loop;
    // QTimer runs on the monotonic clock: a change of the wall clock or midnight cannot stretch it.
    QTimer::singleShot(int(seconds * 1000), Qt::PreciseTimer, &loop, &QEventLoop::quit);
    loop.exec();
}

void QtServices::ShowModal(QDialog& dialog) { dialog.exec(); }

std::optional<int> QtServices::PrinterSetupDialog(QPrinter& printer, int orientation) {
    printer.setPageOrientation(orientation == 2 ? QPageLayout::Landscape : QPageLayout::Portrait);
    // Qt's print dialog lists the printers and "Print to File (PDF)"; its Properties hold paper
    // and orientation. It only chooses here: what to print is chosen by Print.
    QPrintDialog dialog(&printer, parent_);
    dialog.setWindowTitle(QStringLiteral("Printer Property"));
    dialog.setOptions(QAbstractPrintDialog::PrintToFile | QAbstractPrintDialog::PrintShowPageSize);
    if (auto* buttons = dialog.findChild<QDialogButtonBox*>()) {
        if (QPushButton* ok = buttons->button(QDialogButtonBox::Ok)) ok->setText(QStringLiteral("OK"));
    }
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return printer.pageLayout().orientation() == QPageLayout::Landscape ? 2 : 1;
}

std::optional<QFont> QtServices::FontDialog(const QFont& initial) {
    bool chosen = false;
    const QFont font = QFontDialog::getFont(&chosen, initial, parent_);
    if (!chosen) return std::nullopt;
    return font;
}

void QtServices::RunWithProgress(const QString& label, TaskProgress& progress, const std::function<void()>& task) {
    // Tasks that end within this show nothing.
    constexpr auto kQuiet = std::chrono::milliseconds(400);
    std::future<void> done = std::async(std::launch::async, task);
    if (done.wait_for(kQuiet) != std::future_status::ready) {
        QProgressDialog dialog(label, QStringLiteral("Cancel"), 0, 1000, parent_);
        dialog.setWindowTitle(QStringLiteral("Quillmark"));
        dialog.setWindowModality(Qt::ApplicationModal);
        dialog.setAutoClose(false);
        dialog.setAutoReset(false);
        dialog.setMinimumDuration(0);
        QEventLoop loop;
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, &dialog, [&] {
            if (dialog.wasCanceled() && !progress.cancelled) {
                progress.cancelled = true;
                dialog.setLabelText(QStringLiteral("Cancelling..."));
                dialog.show();  // it stays until the task has stopped
            }
            dialog.setValue(progress.permille.load());
            if (done.wait_for(std::chrono::seconds(0)) == std::future_status::ready) loop.quit();
        });
        poll.start(50);
        dialog.show();
        loop.exec();
    }
    done.get();
}

}  // namespace qm
