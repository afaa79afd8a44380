#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "Dictionary.h"
#include "Status.h"

namespace qm {

// Reads the records of a dictionary file one at a time, by the same rules as loading a
// dictionary, so that the import can merge each record before reading the next and keep what it
// merged when a later line is bad. The header line is skipped unread, as are blank lines.
class ImportReader {
public:
    // text: the decoded file; source names the file in messages.
    ImportReader(std::string text, std::string source);

    // The next record; false at the end of the file or at a bad line, which error() then names.
    bool Next(DictionaryEntry& entry);
    const Status& error() const { return error_; }
    // Line number of the record last read, counting the header as line 1.
    int line() const { return line_; }

private:
    bool NextLine(std::string_view& line);
    bool Fail(const std::string& what);

    std::string text_;
    std::string source_;
    std::size_t pos_ = 0;
    int line_ = 0;
    Status error_;
    std::vector<std::string_view> fields_;
};

}  // namespace qm
