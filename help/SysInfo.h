#pragma once

#include <QString>
#include <QStringList>

namespace qm {

class Registry;
class Services;

// The system information programs looked for on the PATH, in this order, when the registry
// names none (on this platform it never does).
inline const QStringList kSysInfoPrograms = {QStringLiteral("hardinfo2"), QStringLiteral("hardinfo"),
                                             QStringLiteral("kinfocenter"),
                                             QStringLiteral("gnome-system-monitor")};

// "現時点ではｼｽﾃﾑ情報を使用できません": every failure of StartSysInfo ends in this message.
QString SysInfoUnavailableMessage();

// The folders of the PATH environment variable, in order.
QStringList PathFolders();

// Finds and starts the system information program: the registry's MSINFO path (not checked),
// else MSINFO32.EXE in the registry's shared tools folder when it exists, else the first of
// kSysInfoPrograms that is an executable file in one of searchFolders (only when the registry
// names nothing). When none is found or it cannot be started, shows SysInfoUnavailableMessage in a box with the program title.
void StartSysInfo(Services& services, const Registry& registry, const QStringList& searchFolders);

}  // namespace qm
