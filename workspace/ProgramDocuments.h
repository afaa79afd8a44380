#pragma once

#include <QString>

#include <string>

#include "TextCodec.h"

namespace qm {

struct Context;

// File menu: a new program, opening a program, reopening a recent one.
void MenuFileNew_Click(Context& context);
void MenuFileOpen_Click(Context& context);
void mnuFileRecentFile_Click(Context& context, int index);  // index 1 to 5

// What opening a path that names no file does: create it empty (a new program), or refuse.
enum class MissingProgram { Create, Refuse };

// Reads a program file into the source window and names it in the caption. Reports failure with
// a message and false, leaving the windows alone.
bool OpenProgramFile(Context& context, const QString& path, MissingProgram missing = MissingProgram::Create);

// Before the edited source text is replaced or dropped, asks whether to save it (Yes, No,
// Cancel). True when the command may go on: nothing was edited, No, or Yes and the text saved.
bool OfferToSaveSource(Context& context);

// The user closes the source window: true when it may close. Once it is closed its text is gone,
// so nothing is left to save.
bool SourceWindowClosing(Context& context);

// Puts a path at the top of the recent-file list, shifting the others down.
void AddRecentFile(Context& context, const QString& path);

// Every change of the source text: restarts the real-time wait and marks the source changed.
void Text1_Change(Context& context);

// The source window's caption for a path: the path as it is (file names are case-sensitive
// here), shortened to 20 characters, ".....", 25 characters when it has 60 or more.
QString SourceCaption(const QString& path);

// The filter of the save dialogs.
inline constexpr const char* kTextFilesFilter = "Text Files(*.txt)|*.txt|All Files(*.*)|*.*";

// Writes the source text to a file the user chooses in the save dialog, which opens in
// OpenPathName with the program's name and then remembers the chosen folder there. False when
// cancelled, or when writing failed (then reported).
bool SaveSourceText(Context& context);

// Writes a window's text to path in encoding, with the busy pointer; a failure is reported
// with the path and the reason, and nothing is written.
bool WriteWindowText(Context& context, const std::string& text, FileEncoding encoding, const QString& path);

}  // namespace qm
