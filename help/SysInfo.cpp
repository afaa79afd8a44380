#include "SysInfo.h"

#include <QDir>
#include <QFileInfo>

#include <optional>

#include "Registry.h"
#include "Services.h"

namespace qm {

namespace {

// The registry's answer: nothing when it names no program, an empty text when the folder it
// names holds none, else the program (the full path of the first look-up is not checked).
std::optional<QString> RegistrySysInfoProgram(const Registry& registry) {
    QString value;
    if (GetKeyValue(registry, RegistryRoot::LocalMachine, QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO"),
                    QStringLiteral("PATH"), value)) {
        return value;
    }
    if (!GetKeyValue(registry, RegistryRoot::LocalMachine, QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools Location"),
                     QStringLiteral("MSINFO"), value)) {
        return std::nullopt;
    }
    const QString program = QDir(value).filePath(QStringLiteral("MSINFO32.EXE"));
    return QFileInfo::exists(program) ? program : QString();
}

QString PathSysInfoProgram(const QStringList& searchFolders) {
    for (const QString& name : kSysInfoPrograms) {
        for (const QString& folder : searchFolders) {
            const QFileInfo candidate(QDir(folder).filePath(name));
            if (candidate.isFile() && candidate.isExecutable()) return candidate.filePath();
        }
    }
    return {};
}

}  // namespace

QString SysInfoUnavailableMessage() {
    return QStringLiteral("現時点ではｼｽﾃﾑ情報を使用できません");
}

QStringList PathFolders() {
    return qEnvironmentVariable("PATH").split(QLatin1Char(':'), Qt::SkipEmptyParts);
}

void StartSysInfo(Services& services, const Registry& registry, const QStringList& searchFolders) {
    const std::optional<QString> registered = RegistrySysInfoProgram(registry);
    const QString program = registered ? *registered : PathSysInfoProgram(searchFolders);
    if (!program.isEmpty() && services.StartProgram(program, {}) != 0) return;
    services.Message(SysInfoUnavailableMessage());
}

}  // namespace qm
