#include "CommandGuard.h"

#include <exception>
#include <new>

#include "Services.h"

namespace qm {
namespace {

const QString kTextsKept =
    QStringLiteral("\r\nThe command was stopped; the texts in the windows are kept.");

}  // namespace

bool RunGuarded(Services& services, const std::function<void()>& command, const QString& note) {
    QString reason;
    try {
        command();
        return true;
    } catch (const std::bad_alloc&) {
        reason = QStringLiteral("There is not enough memory to finish this command.");
    } catch (const std::exception& failure) {
        reason = QString::fromLocal8Bit(failure.what());
    }
    services.SetBusy(false);
    services.MsgBox({reason + kTextsKept + note, MsgButtons::Ok, MsgIcon::Exclamation,
                     MsgDefault::First, QString()});
    return false;
}

}  // namespace qm
