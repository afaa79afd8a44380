#pragma once

#include <QString>
#include <QStringList>

#include <vector>

namespace qm {

// What the export puts into a workbook: one sheet whose columns hold texts line by line.
struct WorkbookContent {
    QString sheetName;          // made valid for a sheet by SheetName
    QString header;             // shown centred in the page header
    QString footer;             // shown centred in the page footer
    std::vector<QString> columns;  // column A, B, ...: each a text of lines
};

// The lines of a text: split at CR LF, LF or CR; a terminator at the end starts no further line.
QStringList SplitLines(const QString& text);

// Width of a line in fixed-pitch character cells: East Asian wide characters take two.
int DisplayWidth(const QString& line);

// A sheet name a spreadsheet accepts: the characters []:*?/\ become "_", apostrophes at either
// end are dropped, at most 31 characters; "Sheet1" when nothing is left.
QString SheetName(const QString& name);

// A centred header or footer section showing text literally ("&" doubled); shortened at its
// start, marked by "...", to the 255 characters a header may hold.
QString CentredSection(QString text);

// Writes the workbook to path. Cells hold text as text: nothing is read as a number or a
// formula. Returns an empty string on success, otherwise what went wrong; a failed write may
// leave a partial file at path for the caller to remove.
QString WriteWorkbook(const QString& path, const WorkbookContent& content);

}  // namespace qm
