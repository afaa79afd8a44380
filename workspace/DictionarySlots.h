#pragma once

#include <QString>

#include "EngineText.h"

namespace qm {

struct Context;

// Chooses the dictionary of a program's file type and loads it. The type is everything after
// the first full stop of the file's own name, in upper case; a recognised type's slot becomes
// DicFileName, any other type keeps the current one. Loads in either case.
void SelectDictionaryForFile(Context& context, const QString& path);

// Checks and reads DicFileName into the table, names it in the converted window's caption and
// records it as the dictionary of the current file type, in the state and in the settings.
// A refused file changes nothing but DicFileName, which goes back to the dictionary in use, so
// that a refused file is never written over by a later save.
enum class DictionaryLoad {
    Loaded,
    CheckRefused,  // missing file, wrong header or version: the table is as it was
    Unreadable,    // the records could not be read: the table is as it was
};
DictionaryLoad LoadDictionary(Context& context);

// The converted window's caption names the dictionary its text was converted with
// (ConvertedDicFileName). A load names the new dictionary at once only while the window holds
// no converted text; otherwise the next conversion does.
void NameConvertedWindow(Context& context);
void NameConversionDictionary(Context& context);

// "Converted by " and what DicFileName holds behind the DicPathName folder, starting with its
// slash; a dictionary outside that folder by its file name.
QString ConvertedCaption(const QString& DicFileName, const QString& DicPathName);

// The dictionary as the spreadsheet footer names it: its path below the DicPathName folder, or
// its file name when it lies elsewhere.
QString DictionaryNameBelowFolder(const QString& DicFileName, const QString& DicPathName);

}  // namespace qm
