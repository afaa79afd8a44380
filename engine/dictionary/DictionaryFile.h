#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "Dictionary.h"
#include "FileAccess.h"
#include "Status.h"

namespace qm {

// A dictionary file is text: a header line, then one record per entry, each line ending in
// CR LF. The entry {0, "G00", "Rapid"} is the record line
//
//   0,"G00","Rapid"
//
// and a whole file written by SaveDictionary reads
//
//   Translator Dictionary  Ver.1.1  Hollowmere
//   0,"G100","Drill cycle"
//   0,"G00","Rapid"
//
// longest words first, entries of equal length in table order, entries with an empty word left
// out. Nothing inside the quotes is escaped, so a word or comment holding a double quote, CR or
// LF cannot be stored.

// Title of the message box that shows the check's refusals.
inline constexpr std::string_view kDictionaryCheckTitle = "Dictionary Check";

// "Translator Dictionary  Ver.1.1  Hollowmere"
std::string DictionaryHeader();

// Is the file at DicFileName a dictionary of this program and version? Reads its first line
// only. A refusal carries exactly one of the three messages
//   "Can not use this dictionaly"        title or author missing
//   "Dictionaly ver. error."             the version differs
//   DicFileName + " not find dictionaly."  no such file, unreadable or empty
Status CheckDictionary(const std::string& DicFileName);

// Reads the records of an accepted file into table, all or nothing: on failure the table is
// untouched and the message names the path, the line and what is wrong.
Status ReadDictionary(const std::string& DicFileName, DictionaryTable& table);

// CheckDictionary, then ReadDictionary, on one read of the file (which may so be a pipe when
// kinds allows it). On failure the table is untouched; headerRefused, when given, tells whether
// the check refused the file (missing, wrong header or version) rather than its records, and
// unreadable, when given, gets why a file that was "not found" could not be read (it names the
// path: "/dev/zero: is a device, not a file").
Status LoadDictionaryFile(const std::string& DicFileName, DictionaryTable& table,
                          Readable kinds = Readable::FilesOnly, bool* headerRefused = nullptr,
                          std::string* unreadable = nullptr);

// LoadDictionaryFile for the command line: pipes are read, and the refusal of a file that
// could not be read also says why ("D not find dictionaly. D: is a folder, not a file.").
Status LoadDictionaryFileSayingWhy(const std::string& DicFileName, DictionaryTable& table);

// Reads the records of a dictionary file's decoded text one at a time: the header line is
// skipped unread, and so are blank lines; every other line is one record of three fields.
// text must outlive the reader.
class DictionaryRecordReader {
public:
    DictionaryRecordReader(std::string_view text, std::string source);

    // The next record; false at the end of the text or at a bad line, which error() then names
    // with the source and the line number.
    bool Next(DictionaryEntry& entry);
    const Status& error() const { return error_; }
    // Number of the line last read, the header being line 1.
    int line() const { return line_; }

private:
    bool NextLine(std::string_view& line);
    bool Fail(const std::string& what);
    bool RefuseLoneCarriageReturn(std::string_view line);

    std::string_view text_;
    std::string source_;
    std::size_t pos_ = 0;
    int line_ = 0;
    Status error_;
    std::vector<std::string_view> fields_;
};

// Parses the decoded text of a whole dictionary file (the header line is skipped unread).
// `source` names the file in messages.
Status ParseDictionary(std::string_view text, const std::string& source, DictionaryTable& table);

// Refuses a word or comment that the file format cannot hold. `what` names it in the message,
// such as "The comment of G00".
Status CheckStorable(std::string_view text, const std::string& what);

// The whole file text of table as SaveDictionary writes it; fails on an entry it cannot hold.
Status FormatDictionary(const DictionaryTable& table, std::string& text);

// Writes the header and the entries 0 to LastIndex to DicFileName, replacing the file only once
// everything was written, in the table's encoding. A plain-ASCII (or new) table is written in
// code page 932, or in UTF-8 when it holds a character code page 932 lacks; a Shift-JIS table
// refuses such a character.
Status SaveDictionary(const std::string& DicFileName, const DictionaryTable& table);

// True when a Shift-JIS table holds a character Shift-JIS lacks ("Ø", "µ", "€"), so that only
// turning the dictionary into UTF-8 lets it be saved. UTF-8 keeps every Japanese comment.
bool NeedsUtf8ToSave(const DictionaryTable& table);

}  // namespace qm
