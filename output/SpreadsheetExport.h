#pragma once

#include <QString>

class QWidget;

namespace qm {

struct AppState;
struct Context;

// What the export forms from the state before it hands the program over.
struct ExportPlan {
    QString templateName;    // "Quillmark-TOP.xlt", "Quillmark-LPD.xlt" or "Quillmark.xlt"
    bool convertedOnly = false;  // TOP and LPD: only the converted text, in column A
    QString caption;         // the source window's caption, for the page header
    QString dictionaryName;  // DicFileName below the DicPathName folder, or its file name
    QString footer;          // names the dictionary, for the page footer
};

// The template of a file type: TOP and LPD have their own, every other type shares one.
QString TemplateName(const QString& fileTypeKey);

// Recomputes FileTypeKey from ProgramFileName and forms the plan; caption is the source
// window's caption.
ExportPlan PlanExport(AppState& state, const QString& caption);

// File > Excel: writes the program into a new workbook and opens it in the spreadsheet program
// (the "Excel" setting, or the first one found), with the texts also put on the clipboard. When
// the spreadsheet program is missing or cannot start, offers to choose it. The workbook's path
// goes to the first panel of mainWindow's status bar.
void MenuFileExcel_Click(Context& context, QWidget& mainWindow);

}  // namespace qm
