#pragma once

#include <string>

#include "DictionaryFile.h"

namespace qm {

// Reads the records of a dictionary to import one at a time, by the rules of loading a
// dictionary, so that the import can merge each record before reading the next and keep what it
// merged when a later line is bad. A field that no dictionary file could hold (a double quote or
// a carriage return, possible in an unquoted field) is refused here rather than saved later.
class ImportReader {
public:
    // text: the decoded file; source names the file in messages.
    ImportReader(std::string text, std::string source);
    ImportReader(const ImportReader&) = delete;  // the record reader looks into text_
    ImportReader& operator=(const ImportReader&) = delete;

    // The next record; false at the end of the file or at a bad line, which error() then names.
    bool Next(DictionaryEntry& entry);
    const Status& error() const { return error_.ok() ? records_.error() : error_; }
    // Line number of the record last read, counting the header as line 1.
    int line() const { return records_.line(); }

private:
    std::string text_;
    std::string source_;
    DictionaryRecordReader records_;
    Status error_;
};

}  // namespace qm
