#include "SpreadsheetWorkbook.h"

#include <QFile>
#include <QRegularExpression>

#include <xlsxwriter.h>

#include <algorithm>

namespace qm {
namespace {

constexpr int kSheetNameMax = LXW_SHEETNAME_MAX;
constexpr int kHeaderFooterMax = LXW_HEADER_FOOTER_MAX;

bool IsWide(char32_t c) {
    return (c >= 0x1100 && c <= 0x115F) || (c >= 0x2E80 && c <= 0xA4CF) || (c >= 0xAC00 && c <= 0xD7A3) ||
           (c >= 0xF900 && c <= 0xFAFF) || (c >= 0xFE30 && c <= 0xFE4F) || (c >= 0xFF00 && c <= 0xFF60) ||
           (c >= 0xFFE0 && c <= 0xFFE6) || (c >= 0x20000 && c <= 0x3FFFD);
}

// Column width in the units of the workbook's default font (about 7 pixels), for a number of
// 10-point Courier New cells (8 pixels each), with a little room to spare; 255 at most.
double ColumnWidth(int cells) { return std::min(255.0, cells * 8.0 / 7.0 + 1.0); }

QString Describe(lxw_error error, const char* what) {
    return QStringLiteral("%1: %2").arg(QLatin1String(what), QString::fromUtf8(lxw_strerror(error)));
}

// Writes one column's lines; an empty line leaves its cell empty.
QString WriteColumn(lxw_worksheet* sheet, lxw_col_t col, const QString& text, lxw_format* font) {
    const QStringList lines = SplitLines(text);
    if (lines.size() > LXW_ROW_MAX) {
        return QStringLiteral("The text has more lines than a sheet holds (%1).").arg(LXW_ROW_MAX);
    }
    int widest = 0;
    for (qsizetype row = 0; row < lines.size(); ++row) {
        if (lines[row].isEmpty()) continue;
        // The writer takes C strings: a NUL character would cut the line short.
        const QByteArray line = QString(lines[row]).replace(QChar(0), QChar::ReplacementCharacter).toUtf8();
        const lxw_error error = worksheet_write_string(sheet, lxw_row_t(row), col, line.constData(), font);
        if (error != LXW_NO_ERROR) {
            return QStringLiteral("Line %1 of column %2: %3")
                .arg(row + 1)
                .arg(QChar(char16_t(u'A' + col)))
                .arg(QString::fromUtf8(lxw_strerror(error)));
        }
        widest = std::max(widest, DisplayWidth(lines[row]));
    }
    const lxw_error error = worksheet_set_column(sheet, col, col, ColumnWidth(std::max(widest, 8)), font);
    return error == LXW_NO_ERROR ? QString() : Describe(error, "Column width");
}

QString FillSheet(lxw_workbook* book, const WorkbookContent& content) {
    const QByteArray name = SheetName(content.sheetName).toUtf8();
    lxw_worksheet* sheet = workbook_add_worksheet(book, name.constData());
    if (sheet == nullptr) return QStringLiteral("The sheet could not be added.");
    lxw_format* font = workbook_add_format(book);
    format_set_font_name(font, "Courier New");
    format_set_font_size(font, 10);
    lxw_error error = worksheet_set_header(sheet, CentredSection(content.header).toUtf8().constData());
    if (error != LXW_NO_ERROR) return Describe(error, "Page header");
    error = worksheet_set_footer(sheet, CentredSection(content.footer).toUtf8().constData());
    if (error != LXW_NO_ERROR) return Describe(error, "Page footer");
    for (std::size_t col = 0; col < content.columns.size(); ++col) {
        const QString failure = WriteColumn(sheet, lxw_col_t(col), content.columns[col], font);
        if (!failure.isEmpty()) return failure;
    }
    return QString();
}

}  // namespace

QStringList SplitLines(const QString& text) {
    static const QRegularExpression kBreak(QStringLiteral("\r\n|\n|\r"));
    QStringList lines = text.split(kBreak);
    if (lines.size() > 1 && lines.last().isEmpty()) lines.removeLast();
    if (lines.size() == 1 && lines.first().isEmpty()) lines.clear();
    return lines;
}

int DisplayWidth(const QString& line) {
    int width = 0;
    for (const char32_t c : line.toUcs4()) width += IsWide(c) ? 2 : 1;
    return width;
}

QString SheetName(const QString& name) {
    static const QRegularExpression kForbidden(QStringLiteral("[\\[\\]:*?/\\\\]"));
    QString valid = name;
    valid.replace(kForbidden, QStringLiteral("_"));
    while (valid.startsWith(u'\'')) valid.remove(0, 1);
    while (valid.endsWith(u'\'')) valid.chop(1);
    const QList<uint> codePoints = valid.toUcs4();
    if (codePoints.size() > kSheetNameMax) {
        valid = QString::fromUcs4(reinterpret_cast<const char32_t*>(codePoints.constData()), kSheetNameMax);
        while (valid.endsWith(u'\'')) valid.chop(1);
    }
    return valid.isEmpty() ? QStringLiteral("Sheet1") : valid;
}

QString CentredSection(QString text) {
    const auto escaped = [](QString part) { return part.replace(u'&', QStringLiteral("&&")); };
    bool shortened = false;
    while (2 + (shortened ? 3 : 0) + escaped(text).size() > kHeaderFooterMax) {
        text.remove(0, 1);
        shortened = true;
    }
    return QStringLiteral("&C") + (shortened ? QStringLiteral("...") : QString()) + escaped(text);
}

QString WriteWorkbook(const QString& path, const WorkbookContent& content) {
    lxw_workbook* book = workbook_new(QFile::encodeName(path).constData());
    if (book == nullptr) return QStringLiteral("The workbook could not be created.");
    const QString failure = FillSheet(book, content);
    if (!failure.isEmpty()) {
        lxw_workbook_free(book);
        return failure;
    }
    const lxw_error error = workbook_close(book);  // writes the file and frees the workbook
    return error == LXW_NO_ERROR ? QString() : Describe(error, "Writing the workbook");
}

}  // namespace qm
