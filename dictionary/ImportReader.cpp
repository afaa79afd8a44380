#include "ImportReader.h"

#include <charconv>
#include <utility>

namespace qm {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view TrimBlanks(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
    return text;
}

// Blanks before a field are skipped; a quoted field runs to the next quote and whatever follows
// it up to the comma is ignored; any other field runs to the next comma. False for an unclosed
// quote.
bool SplitFields(std::string_view line, std::vector<std::string_view>& fields) {
    fields.clear();
    std::size_t pos = 0;
    for (;;) {
        while (pos < line.size() && IsBlank(line[pos])) ++pos;
        std::size_t comma;
        if (pos < line.size() && line[pos] == '"') {
            const std::size_t close = line.find('"', pos + 1);
            if (close == std::string_view::npos) return false;
            fields.push_back(line.substr(pos + 1, close - pos - 1));
            comma = line.find(',', close + 1);
        } else {
            comma = line.find(',', pos);
            fields.push_back(line.substr(pos, comma == std::string_view::npos ? comma : comma - pos));
        }
        if (comma == std::string_view::npos) return true;
        pos = comma + 1;
    }
}

// A signed 16-bit whole number; an empty field is 0.
bool ParseNumber(std::string_view field, std::int16_t& number) {
    field = TrimBlanks(field);
    if (field.empty()) {
        number = 0;
        return true;
    }
    if (field.front() == '+') field.remove_prefix(1);
    if (field.empty() || field.front() == '+') return false;
    int value = 0;
    const char* end = field.data() + field.size();
    const auto [stop, error] = std::from_chars(field.data(), end, value);
    if (error != std::errc() || stop != end || value < -32768 || value > 32767) return false;
    number = std::int16_t(value);
    return true;
}

}  // namespace

ImportReader::ImportReader(std::string text, std::string source)
    : text_(std::move(text)), source_(std::move(source)) {
    std::string_view header;
    NextLine(header);
}

bool ImportReader::NextLine(std::string_view& line) {
    if (pos_ >= text_.size()) return false;
    std::size_t end = text_.find('\n', pos_);
    const bool terminated = end != std::string::npos;
    if (!terminated) end = text_.size();
    line = std::string_view(text_).substr(pos_, end - pos_);
    if (terminated && line.ends_with('\r')) line.remove_suffix(1);
    pos_ = end + 1;
    ++line_;
    return true;
}

bool ImportReader::Fail(const std::string& what) {
    error_ = Status::Fail(source_ + ", line " + std::to_string(line_) + ": " + what);
    return false;
}

bool ImportReader::Next(DictionaryEntry& entry) {
    if (!error_.ok()) return false;
    std::string_view line;
    do {
        if (!NextLine(line)) return false;
    } while (TrimBlanks(line).empty());
    if (!SplitFields(line, fields_)) return Fail("a quoted field has no closing quote.");
    if (fields_.size() != 3) {
        return Fail("a record has three fields (number, word, comment) separated by commas; this line has " +
                    std::to_string(fields_.size()) + ".");
    }
    if (!ParseNumber(fields_[0], entry.number)) {
        return Fail("the number \"" + std::string(fields_[0]) + "\" is not a whole number from -32768 to 32767.");
    }
    // An unquoted field may hold what no dictionary file can: refuse it rather than save it later.
    for (const std::string_view field : {fields_[1], fields_[2]}) {
        if (field.find_first_of("\"\r") != std::string_view::npos) {
            return Fail("the field \"" + std::string(field) +
                        "\" holds a double quote or a carriage return, which a dictionary cannot hold.");
        }
    }
    entry.word = fields_[1];
    entry.comment = fields_[2];
    return true;
}

}  // namespace qm
