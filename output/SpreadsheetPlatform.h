#pragma once

#include <QString>
#include <QStringList>

namespace qm {

struct WorkbookContent;

// The spreadsheet programs that open .xlsx files, in the order they are looked for.
inline constexpr const char* kSpreadsheetPrograms[] = {"localc", "libreoffice", "soffice", "gnumeric"};

// Full path of the first spreadsheet program found in folders (the PATH when empty), or empty.
QString FindSpreadsheetProgram(const QStringList& folders = {});

// Where exported workbooks go: Quillmark in the user's cache folder ($XDG_CACHE_HOME).
QString WorkbookFolder();

// A saved workbook's path, or why none was saved.
struct SavedWorkbook {
    QString path;
    QString error;
};

// Writes content to a new file in folder named after baseName ("O1234.MIN.xlsx", then
// "O1234.MIN (2).xlsx", ...), never replacing a file that may still be open in a spreadsheet.
// The workbook is written under a temporary name first, so a failure leaves no file behind.
SavedWorkbook SaveNewWorkbook(const QString& folder, const QString& baseName, const WorkbookContent& content);

// Writes content to path, replacing a file there (the save dialog asked), but not one whose
// permissions forbid writing. The workbook is written under a temporary name in the same
// folder first, so a failure leaves any earlier file as it was. The reason of a failure, or empty.
QString SaveWorkbookAs(const QString& path, const WorkbookContent& content);

}  // namespace qm
