#include "SpreadsheetPlatform.h"

#include <QDir>
#include <QFileInfo>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryFile>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <utility>

#include <sys/stat.h>

#include "SpreadsheetWorkbook.h"

namespace qm {
namespace {

// Leaves room for " (n).xlsx" within a file system's 255-byte name limit.
constexpr qsizetype kBaseNameMax = 100;

// Read and write as the process's umask allows, as for any file the user saves.
QFile::Permissions UsualPermissions() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    QFile::Permissions permissions;
    const std::pair<mode_t, QFile::Permissions> bits[] = {
        {S_IRUSR, QFile::ReadOwner | QFile::ReadUser}, {S_IWUSR, QFile::WriteOwner | QFile::WriteUser},
        {S_IRGRP, QFile::ReadGroup}, {S_IWGRP, QFile::WriteGroup}, {S_IROTH, QFile::ReadOther},
        {S_IWOTH, QFile::WriteOther}};
    for (const auto& [bit, permission] : bits) {
        if ((mask & bit) == 0) permissions |= permission;
    }
    return permissions;
}

// access(2) lets root write anything; a file whose permission bits forbid writing stays
// protected for root too.
bool MayReplace(const QFileInfo& file) {
    constexpr QFile::Permissions kAnyWrite = QFile::WriteOwner | QFile::WriteGroup | QFile::WriteOther;
    return file.isFile() && file.isWritable() && (file.permissions() & kAnyWrite);
}

QString NumberedName(const QString& baseName, int number) {
    const QString stem = baseName.left(kBaseNameMax);
    return number == 1 ? stem + QStringLiteral(".xlsx") : QStringLiteral("%1 (%2).xlsx").arg(stem).arg(number);
}

// Gives the written file its final name; the rename never replaces an existing file.
QString Publish(const QDir& dir, const QString& written, const QString& baseName) {
    for (int number = 1; number <= 999; ++number) {
        const QString target = dir.filePath(NumberedName(baseName, number));
        if (!QFile::exists(target) && QFile::rename(written, target)) return target;
    }
    return QString();
}

}  // namespace

QString FindSpreadsheetProgram(const QStringList& folders) {
    for (const char* name : kSpreadsheetPrograms) {
        const QString path = QStandardPaths::findExecutable(QString::fromLatin1(name), folders);
        if (!path.isEmpty()) return path;
    }
    return QString();
}

QString WorkbookFolder() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation) + QStringLiteral("/Quillmark");
}

SavedWorkbook SaveNewWorkbook(const QString& folder, const QString& baseName, const WorkbookContent& content) {
    QDir dir(folder);
    if (!dir.mkpath(QStringLiteral("."))) {
        return {QString(), QStringLiteral("The folder %1 could not be made.").arg(folder)};
    }
    // Reserves a temporary name for the writer, which opens the file by name itself.
    QTemporaryFile reserved(dir.filePath(QStringLiteral(".export-XXXXXX.xlsx")));
    if (!reserved.open()) return {QString(), QStringLiteral("%1: %2").arg(folder, reserved.errorString())};
    const QString written = reserved.fileName();
    reserved.close();
    const QString failure = WriteWorkbook(written, content);
    if (!failure.isEmpty()) return {QString(), failure};  // the temporary file goes with `reserved`
    const QString path = Publish(dir, written, baseName);
    if (path.isEmpty()) return {QString(), QStringLiteral("No free file name for %1 in %2.").arg(baseName, folder)};
    reserved.setAutoRemove(false);
    return {path, QString()};
}

QString SaveWorkbookAs(const QString& path, const WorkbookContent& content) {
    const QFileInfo target(path);
    if (target.exists() && !MayReplace(target)) {
        return QStringLiteral("%1: %2").arg(path, target.isDir() ? QStringLiteral("Is a folder")
                                                                 : QStringLiteral("Permission denied"));
    }
    QTemporaryFile reserved(target.absoluteDir().filePath(QStringLiteral(".export-XXXXXX.xlsx")));
    if (!reserved.open()) return QStringLiteral("%1: %2").arg(target.absolutePath(), reserved.errorString());
    const QString written = reserved.fileName();
    reserved.close();
    const QString failure = WriteWorkbook(written, content);
    if (!failure.isEmpty()) return failure;
    // The temporary file is private; the saved one gets the old file's or the usual permissions.
    QFile::setPermissions(written, target.exists() ? target.permissions() : UsualPermissions());
    // rename(2) replaces the old file in one step; QFile::rename would refuse an existing one.
    if (std::rename(QFile::encodeName(written).constData(), QFile::encodeName(path).constData()) != 0) {
        return QStringLiteral("%1: %2").arg(path, QString::fromLocal8Bit(std::strerror(errno)));
    }
    reserved.setAutoRemove(false);
    return QString();
}

}  // namespace qm
