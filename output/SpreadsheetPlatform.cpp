#include "SpreadsheetPlatform.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryFile>

#include "EngineText.h"
#include "FileAccess.h"
#include "SpreadsheetWorkbook.h"

namespace qm {
namespace {

// Leaves room for " (n).xlsx" within a file system's 255-byte name limit.
constexpr qsizetype kBaseNameMax = 100;

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
    // The writer opens its file by name: it writes a private temporary file, whose bytes then
    // take the place of the chosen file as any other saved file's do (read-only files refused,
    // permissions, owner and links kept).
    QTemporaryFile scratch(QDir::temp().filePath(QStringLiteral("quillmark-XXXXXX.xlsx")));
    if (!scratch.open()) return QStringLiteral("%1: %2").arg(scratch.fileName(), scratch.errorString());
    const QString failure = WriteWorkbook(scratch.fileName(), content);
    if (!failure.isEmpty()) return failure;
    std::string bytes;
    if (const Status read = ReadWholeFile(EnginePath(scratch.fileName()), bytes); !read.ok()) {
        return FromEngineText(read.message());
    }
    const Status saved = WriteFileSafely(EnginePath(path), bytes);
    return saved.ok() ? QString() : FromEngineText(saved.message());
}

}  // namespace qm
