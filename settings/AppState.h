#pragma once

#include <QString>

#include <array>
#include <cstdint>

#include "CodeWordTracker.h"
#include "Dictionary.h"
#include "FileStamp.h"
#include "IncrementalConvert.h"

namespace qm {

// One dictionary path per program file type: the types and their settings keys, as
// loading a dictionary writes them and as start-up reads them (the store ignores letter case,
// so both name one value).
struct DictionarySlotKey {
    const char* fileTypeKey;  // "MIN" ... "NC", "" for a file name without a full stop, "NGC" ...
    const char* writtenAs;    // "MINdic", "SUBdic", ...
    const char* readAs;       // "MINdic", "SUBDic", ...
};

inline constexpr std::array<DictionarySlotKey, 14> kDictionarySlotKeys = {{
    {"MIN", "MINdic", "MINdic"},
    {"SUB", "SUBdic", "SUBDic"},
    {"SSB", "SSBdic", "SSBDic"},
    {"SDF", "SDFdic", "SDFDic"},
    {"LIB", "LIBdic", "LIBDic"},
    {"TOP", "TOPdic", "TOPDic"},
    {"LDR", "LDRdic", "LDRDic"},
    {"LPD", "LPDdic", "LPDDic"},
    {"TXT", "TXTdic", "TXTDic"},
    {"NC", "NCdic", "NCDic"},
    {"", "NONdic", "NONDic"},
    {"NGC", "NGCdic", "NGCdic"},
    {"GCODE", "GCODEdic", "GCODEdic"},
    {"TAP", "TAPdic", "TAPdic"},
}};

// Index of a file type in kDictionarySlotKeys (exact, case-sensitive), or -1.
int DictionarySlotIndex(const QString& fileTypeKey);

// The program-wide state that every window reads and writes.
struct AppState {
    // Folders and files.
    QString DicFileName;      // full path of the current dictionary
    QString DicPathName;      // folder the dictionary file dialog opens in
    QString OpenPathName;     // folder the program file dialog opens in
    QString SavePathName;     // folder the save dialog for converted programs opens in
    QString ProgramFileName;  // the program in the source window
    FileEncoding ProgramEncoding;  // the encoding it was read in, and is written back in
    ShiftJisTwins ProgramTwins;    // which of several Shift-JIS codes it used for a character
    FileStamp ProgramStamp;        // the program file as it was read or last saved
    FileStamp ProgramStampOffered; // its change last offered to be read again
    std::int16_t SourceChanged = 0;
    std::int16_t RealTimeConvert = 1;
    bool ArrangeOnFirstResize = true;

    // Options.
    bool SpaceAdd = false;
    bool TopBig = false;
    bool CapsLock = true;  // Caps Lock switched on at start-up and off at exit
    bool ScrollTogether = true;  // the converted window follows the source window line for line

    // Printing.
    QString PrintFontName;
    std::int32_t PrintFontSize = 10;
    std::int16_t PrinterOrientation = 1;  // 1 portrait, 2 landscape
    std::int32_t LeftMerge = 10;          // millimetres
    std::int32_t RightMerge = 0;
    std::int32_t PrintLineHeight = 0;     // set per print run, not stored
    std::int32_t PrintLinesPerPage = 0;
    std::int32_t PrintRightEdge = 0;
    std::int16_t PrintPageNo = 0;

    // Carried from start-up to exit unchanged.
    QString ScreenFontName;
    std::int32_t ScreenFontSize = 14;

    QString ExcelPath;  // the spreadsheet program

    // The dictionary.
    DictionaryTable Dictionary;
    bool DictionaryLoaded = false;     // a dictionary loaded since start-up
    QString LoadedDicFileName;         // the file the table was last read from
    FileStamp DictionaryStamp;         // that file as it was read or last written
    QString ConvertedDicFileName;      // the dictionary the converted window's text was made with
    QString FileTypeKey;               // type of the current program, "" at start-up
    std::array<QString, kDictionarySlotKeys.size()> DictionarySlot;  // by kDictionarySlotKeys

    // The last conversion, so that the next converts only the lines that changed.
    IncrementalConverter Conversion;
    // The code words of the program, read again only where it changed, and those the dictionary
    // lacked at the last conversion.
    CodeWordTracker CodeWords;
    std::vector<CodeWordTally> MissingWords;
};

}  // namespace qm
