// make-dictionary: writes a dictionary file from a maintainer's source list.
//
//   make-dictionary [--encoding shift_jis|utf-8] SOURCE.tsv OUTPUT.dic
//
// SOURCE is UTF-8 text, one entry per line: number TAB word TAB comment. Blank lines and lines
// starting with # are skipped. The dictionary is written by SaveDictionary, so the default
// dictionaries are exactly what the program itself writes.
#include <cstdio>
#include <set>
#include <string>
#include <string_view>

#include "DictionaryFile.h"
#include "FileAccess.h"

namespace {

int Fail(const std::string& message) {
    std::fprintf(stderr, "make-dictionary: %s\n", message.c_str());
    return 1;
}

bool ParseEntry(std::string_view line, qm::DictionaryEntry& entry) {
    const std::size_t tab1 = line.find('\t');
    const std::size_t tab2 = tab1 == std::string_view::npos ? tab1 : line.find('\t', tab1 + 1);
    if (tab2 == std::string_view::npos || line.find('\t', tab2 + 1) != std::string_view::npos) {
        return false;
    }
    const std::string number(line.substr(0, tab1));
    std::size_t used = 0;
    try {
        const int value = std::stoi(number, &used);
        if (used != number.size() || value < -32768 || value > 32767) return false;
        entry.number = static_cast<std::int16_t>(value);
    } catch (const std::exception&) {
        return false;
    }
    entry.word = line.substr(tab1 + 1, tab2 - tab1 - 1);
    entry.comment = line.substr(tab2 + 1);
    return !entry.word.empty();
}

}  // namespace

int main(int argc, char** argv) {
    qm::FileEncoding encoding{qm::Encoding::ShiftJis, false};
    int arg = 1;
    if (argc == 5 && std::string_view(argv[1]) == "--encoding") {
        const std::string_view name = argv[2];
        if (name == "utf-8") {
            encoding = {qm::Encoding::Utf8, false};
        } else if (name != "shift_jis") {
            return Fail("unknown encoding " + std::string(name));
        }
        arg = 3;
    } else if (argc != 3) {
        return Fail("usage: make-dictionary [--encoding shift_jis|utf-8] SOURCE.tsv OUTPUT.dic");
    }
    const std::string source = argv[arg], output = argv[arg + 1];

    std::string text;
    if (qm::Status read = qm::ReadWholeFile(source, text); !read.ok()) return Fail(read.message());
    qm::DictionaryTable table;
    table.encoding = encoding;
    std::set<std::string> words;
    int lineNumber = 0;
    for (std::size_t pos = 0; pos < text.size();) {
        std::size_t end = text.find('\n', pos);
        if (end == std::string::npos) end = text.size();
        std::string_view line(text.data() + pos, end - pos);
        pos = end + 1;
        ++lineNumber;
        if (line.ends_with('\r')) line.remove_suffix(1);
        if (line.empty() || line.front() == '#') continue;
        const std::string at = source + ", line " + std::to_string(lineNumber) + ": ";
        qm::DictionaryEntry entry;
        if (!ParseEntry(line, entry)) return Fail(at + "expected number TAB word TAB comment");
        if (!words.insert(entry.word).second) return Fail(at + "the word " + entry.word + " is listed twice");
        if (!table.Append(entry)) return Fail(at + "too many entries");
    }
    if (qm::Status saved = qm::SaveDictionary(output, table); !saved.ok()) return Fail(saved.message());
    return 0;
}
