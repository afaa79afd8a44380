#include "DictionaryFile.h"

#include <algorithm>
#include <charconv>
#include <utility>
#include <vector>

#include "FileAccess.h"
#include "Utf8.h"

namespace qm {
namespace {

constexpr std::size_t kHeaderReadLimit = 64 * 1024;
constexpr std::size_t kNoQuote = std::string_view::npos;

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view TrimBlanks(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
    return text;
}

bool IsBlankLine(std::string_view line) { return TrimBlanks(line).empty(); }

// The first double quote of text at or after from and before to, if any.
std::size_t QuoteWithin(std::string_view text, std::size_t from, std::size_t to) {
    const std::size_t quote = text.substr(0, std::min(to, text.size())).find('"', from);
    return quote == std::string_view::npos ? kNoQuote : quote;
}

// The fields of one line: blanks before a field are skipped; a field that starts with a
// double quote runs to the next one, and whatever follows it up to the next comma is ignored;
// any other field runs to the next comma. Returns false when a quote is not closed.
// strayQuote gets the first double quote that neither opens nor closes a field (`"G0"0"`), which
// would otherwise cut the field short unseen; kNoQuote when there is none.
bool SplitFields(std::string_view line, std::vector<std::string_view>& fields,
                 std::size_t& unclosedQuote, std::size_t& strayQuote) {
    fields.clear();
    strayQuote = kNoQuote;
    std::size_t pos = 0;
    for (;;) {
        while (pos < line.size() && IsBlank(line[pos])) ++pos;
        std::size_t comma;
        std::size_t rest = pos;  // where the text after the field's value starts
        if (pos < line.size() && line[pos] == '"') {
            const std::size_t close = line.find('"', pos + 1);
            if (close == std::string_view::npos) {
                unclosedQuote = pos;
                return false;
            }
            fields.push_back(line.substr(pos + 1, close - pos - 1));
            rest = close + 1;
            comma = line.find(',', rest);
        } else {
            comma = line.find(',', pos);
            fields.push_back(line.substr(pos, comma == std::string_view::npos ? comma : comma - pos));
        }
        if (strayQuote == kNoQuote) strayQuote = QuoteWithin(line, rest, comma);
        if (comma == std::string_view::npos) return true;
        pos = comma + 1;
    }
}

// The header field of the first line: the line's first field by the same rules.
std::string_view HeaderField(std::string_view line) {
    std::vector<std::string_view> fields;
    std::size_t unclosed = 0, stray = 0;
    if (SplitFields(line, fields, unclosed, stray)) return fields.front();
    return line.substr(unclosed + 1);  // an unclosed quote runs to the end of the line
}

// The `count` characters of text starting at character `first` (0-based), fewer at its end.
std::string_view CharSlice(std::string_view text, std::size_t first, std::size_t count) {
    std::size_t pos = 0;
    for (std::size_t i = 0; i < first && pos < text.size(); ++i) NextChar(text, pos);
    const std::size_t start = pos;
    for (std::size_t i = 0; i < count && pos < text.size(); ++i) NextChar(text, pos);
    return text.substr(start, pos - start);
}

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

std::string LineMessage(const std::string& source, int line, const std::string& what) {
    return source + ", line " + std::to_string(line) + ": " + what;
}

std::string RecordLine(const DictionaryEntry& entry) {
    return std::to_string(entry.number) + ",\"" + entry.word + "\",\"" + entry.comment + "\"\r\n";
}

}  // namespace

std::string DictionaryHeader() {
    return std::string(DicTitle) + "  Ver." + std::string(DicVersion) + "  " + std::string(DicAuthor);
}

namespace {

Status NotFound(const std::string& DicFileName) { return Status::Fail(DicFileName + " not find dictionaly."); }

// The check of the header, on the file's first bytes (at least its first line).
Status CheckHeader(std::string_view bytes) {
    bytes = bytes.substr(0, std::min(bytes.find('\n'), kHeaderReadLimit - 1) + 1);
    const std::string text = DecodeText(bytes, DetectEncoding(bytes));
    std::string_view line = std::string_view(text).substr(0, text.find('\n'));
    if (line.ends_with('\r') && line.size() < text.size()) line.remove_suffix(1);
    const std::string_view header = HeaderField(line);
    if (header.find(DicTitle) == std::string_view::npos ||
        header.find(DicAuthor) == std::string_view::npos) {
        return Status::Fail("Can not use this dictionaly");
    }
    const std::size_t ver = header.find("Ver.");
    const std::string_view version =
        ver == std::string_view::npos ? CharSlice(header, 3, 3) : CharSlice(header.substr(ver + 4), 0, 3);
    if (version != DicVersion) return Status::Fail("Dictionaly ver. error.");
    return Status::Ok();
}

Status ParseFileBytes(const std::string& bytes, const std::string& DicFileName, DictionaryTable& table) {
    const FileEncoding encoding = DetectEncoding(bytes);
    const std::string text = DecodeText(bytes, encoding);
    // Parsed straight into the caller's table (see ParseDictionary), all or nothing.
    const FileEncoding previous = std::exchange(table.encoding, encoding);
    Status status = ParseDictionary(text, DicFileName, table);
    if (!status.ok()) table.encoding = previous;
    return status;
}

}  // namespace

Status CheckDictionary(const std::string& DicFileName) {
    std::string bytes;
    if (!ReadFirstLine(DicFileName, kHeaderReadLimit, bytes).ok()) return NotFound(DicFileName);
    return CheckHeader(bytes);
}

DictionaryRecordReader::DictionaryRecordReader(std::string_view text, std::string source)
    : text_(text), source_(std::move(source)) {
    std::string_view header;
    if (NextLine(header)) RefuseLoneCarriageReturn(header);
}

// Lines that end in CR alone would all run together into the header line, and the dictionary
// would load, and be saved again, without a word. A CR between quotes is part of a field.
bool DictionaryRecordReader::RefuseLoneCarriageReturn(std::string_view line) {
    if (line.find('\r') == std::string_view::npos) return true;  // nearly every line: memchr only
    bool quoted = false;
    const auto lineEnd = std::find_if(line.begin(), line.end(), [&quoted](char c) {
        if (c == '"') quoted = !quoted;
        return c == '\r' && !quoted;
    });
    if (lineEnd == line.end()) return true;
    return Fail("the lines of this file end in CR alone (old Macintosh line ends); a dictionary's lines end "
                "in CR LF. Change its line ends to CR LF and try again.");
}

bool DictionaryRecordReader::NextLine(std::string_view& line) {
    if (pos_ >= text_.size()) return false;
    std::size_t end = text_.find('\n', pos_);
    const bool terminated = end != std::string_view::npos;
    if (!terminated) end = text_.size();
    line = text_.substr(pos_, end - pos_);
    if (line.ends_with('\r')) line.remove_suffix(1);  // CR LF ends the line, a CR ends the text
    pos_ = end + 1;
    ++line_;
    return true;
}

bool DictionaryRecordReader::Fail(const std::string& what) {
    error_ = Status::Fail(LineMessage(source_, line_, what));
    return false;
}

bool DictionaryRecordReader::Next(DictionaryEntry& entry) {
    if (!error_.ok()) return false;
    std::string_view line;
    do {
        if (!NextLine(line)) return false;
    } while (IsBlankLine(line));
    if (!RefuseLoneCarriageReturn(line)) return false;
    std::size_t unclosed = 0, stray = 0;
    if (!SplitFields(line, fields_, unclosed, stray)) {
        return Fail("the quoted field that starts at character " + std::to_string(CharCount(line.substr(0, unclosed)) + 1) +
                    " has no closing quote.");
    }
    if (stray != kNoQuote) {
        return Fail("the double quote at character " + std::to_string(CharCount(line.substr(0, stray)) + 1) +
                    " is inside a field; a field's double quotes stand only at its start and end, and a "
                    "word or comment cannot hold one.");
    }
    if (fields_.size() != 3) {
        return Fail("a record has three fields (number, word, comment) separated by commas; this line has " +
                    std::to_string(fields_.size()) + ".");
    }
    if (!ParseNumber(fields_[0], entry.number)) {
        return Fail("the number \"" + std::string(fields_[0]) + "\" is not a whole number from -32768 to 32767.");
    }
    entry.word = fields_[1];
    entry.comment = fields_[2];
    return true;
}

namespace {

// Appends every record of text to table; stops at the first fault.
Status AppendRecords(std::string_view text, const std::string& source, DictionaryTable& table) {
    DictionaryRecordReader reader(text, source);
    DictionaryEntry entry;
    while (reader.Next(entry)) {
        if (!table.Append(std::move(entry))) {
            return Status::Fail(LineMessage(source, reader.line(),
                "the dictionary holds more than " + std::to_string(kDictionarySlots) +
                " words, the most a dictionary can hold."));
        }
    }
    return reader.error();
}

bool IsUnused(const DictionaryTable& table) {
    return table.LastIndex < 0 && std::all_of(table.entries.begin(), table.entries.end(),
                                              [](const DictionaryEntry& entry) { return entry == DictionaryEntry{}; });
}

}  // namespace

Status ParseDictionary(std::string_view text, const std::string& source, DictionaryTable& table) {
    // A table not yet used, as when a dictionary is loaded, is filled in place and emptied again
    // on a fault: a second table of every slot costs more than the whole parse of a small file.
    if (IsUnused(table)) {
        Status status = AppendRecords(text, source, table);
        if (!status.ok()) {
            std::fill(table.entries.begin(), table.entries.begin() + (table.LastIndex + 1), DictionaryEntry{});
            table.LastIndex = -1;
        }
        return status;
    }
    DictionaryTable parsed;
    parsed.encoding = table.encoding;
    Status status = AppendRecords(text, source, parsed);
    if (status.ok()) table = std::move(parsed);
    return status;
}

Status ReadDictionary(const std::string& DicFileName, DictionaryTable& table) {
    std::string bytes;
    if (Status read = ReadWholeFile(DicFileName, bytes); !read.ok()) return read;
    return ParseFileBytes(bytes, DicFileName, table);
}

// One read, then the check and the records from that one copy: a pipe cannot be read twice,
// and a file that changes between two reads must not pass the check with one text and load
// the other.
Status LoadDictionaryFile(const std::string& DicFileName, DictionaryTable& table, Readable kinds,
                          bool* headerRefused, std::string* unreadable) {
    if (headerRefused) *headerRefused = true;
    std::string bytes;
    Status read = ReadWholeFile(DicFileName, bytes, kinds);
    if (read.ok() && bytes.empty()) read = Status::Fail(DicFileName + ": the file is empty");
    if (!read.ok()) {
        if (unreadable) *unreadable = read.message();
        return NotFound(DicFileName);
    }
    if (Status check = CheckHeader(bytes); !check.ok()) return check;
    if (headerRefused) *headerRefused = false;
    return ParseFileBytes(bytes, DicFileName, table);
}

Status LoadDictionaryFileSayingWhy(const std::string& DicFileName, DictionaryTable& table) {
    std::string unreadable;
    Status loaded = LoadDictionaryFile(DicFileName, table, Readable::FilesAndPipes, nullptr, &unreadable);
    if (loaded.ok() || unreadable.empty()) return loaded;
    return Status::Fail(loaded.message() + " " + unreadable + ".");
}

Status CheckStorable(std::string_view text, const std::string& what) {
    const std::size_t bad = text.find_first_of("\"\r\n");
    if (bad == std::string_view::npos) return Status::Ok();
    const char* name = text[bad] == '"' ? "a double quote" : text[bad] == '\r' ? "a carriage return"
                                                                              : "a line break";
    return Status::Fail(what + " contains " + name +
                        ", which a dictionary file cannot hold. Remove it and try again.");
}

Status FormatDictionary(const DictionaryTable& table, std::string& text) {
    std::vector<std::pair<std::size_t, int>> order;  // (word length, index)
    for (int i = 0; i <= table.LastIndex; ++i) {
        const DictionaryEntry& entry = table.entries[i];
        if (entry.word.empty()) continue;
        if (Status s = CheckStorable(entry.word, "The word \"" + entry.word + "\""); !s.ok()) return s;
        if (Status s = CheckStorable(entry.comment, "The comment of \"" + entry.word + "\"");
            !s.ok()) {
            return s;
        }
        order.emplace_back(CharCount(entry.word), i);
    }
    std::stable_sort(order.begin(), order.end(),
                     [](const auto& a, const auto& b) { return a.first > b.first; });
    text = DictionaryHeader() + "\r\n";
    for (const auto& [length, index] : order) text += RecordLine(table.entries[index]);
    return Status::Ok();
}

Status SaveDictionary(const std::string& DicFileName, const DictionaryTable& table) {
    std::string text;
    if (Status formatted = FormatDictionary(table, text); !formatted.ok()) return formatted;
    std::string bytes;
    Status encoded = EncodeText(text, WritingEncoding(table.encoding), bytes);
    // A dictionary that was never Shift-JIS has no Japanese system to stay exchangeable with:
    // rather than refuse "Ø" or "µ", it becomes UTF-8.
    if (!encoded.ok() && table.encoding.encoding == Encoding::Ascii) {
        encoded = EncodeText(text, {Encoding::Utf8, false}, bytes);
    }
    if (!encoded.ok()) return Status::Fail(DicFileName + ": " + encoded.message());
    return WriteFileSafely(DicFileName, bytes);
}

bool NeedsUtf8ToSave(const DictionaryTable& table) {
    if (table.encoding.encoding != Encoding::ShiftJis) return false;
    std::string text;
    if (!FormatDictionary(table, text).ok()) return false;
    std::string bytes;
    return !EncodeText(text, WritingEncoding(table.encoding), bytes).ok() &&
           EncodeText(text, {Encoding::Utf8, false}, bytes).ok();
}

}  // namespace qm
