// check-word-glue: fails when a dictionary would replace a word inside a longer word of letters
// in one of the given programs ("sub" in "subroutine", "WHILE" in "ENDWHILE").
//
//   check-word-glue DICTIONARY... -- PROGRAM...
//
// Each entry is applied in table order, as the conversion does; an occurrence counts as glued
// when its word starts with a letter right after a letter, or ends with a letter right before
// one. A replaced word is stood in for by a byte that is no letter and no part of any word, so
// that codes written together (G00G01) do not count as glued to each other's comments.
#include <cctype>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "DictionaryFile.h"
#include "FileAccess.h"

namespace {

constexpr char kReplaced = '\x01';

bool IsLetter(char c) {
    return std::isalpha(static_cast<unsigned char>(c)) != 0;
}

bool Glued(const std::string& line, std::size_t at, std::string_view word) {
    const std::size_t end = at + word.size();
    return (IsLetter(word.front()) && at > 0 && IsLetter(line[at - 1])) ||
           (IsLetter(word.back()) && end < line.size() && IsLetter(line[end]));
}

// The words of table that the line's conversion would replace inside a longer word.
std::vector<std::string> GluedWords(std::string line, const qm::DictionaryTable& table) {
    std::vector<std::string> glued;
    for (int i = 0; i <= table.LastIndex; ++i) {
        const std::string& word = table.entries[i].word;
        if (word.empty())
            continue;
        for (std::size_t at = line.find(word); at != std::string::npos;
             at = line.find(word, at + 1)) {
            if (Glued(line, at, word))
                glued.push_back(word);
            line.replace(at, word.size(), 1, kReplaced);
        }
    }
    return glued;
}

int CheckProgram(const std::string& program, const std::string& dictionary,
                 const qm::DictionaryTable& table) {
    std::string text;
    if (qm::Status read = qm::ReadWholeFile(program, text); !read.ok()) {
        std::fprintf(stderr, "check-word-glue: %s\n", read.message().c_str());
        return 1;
    }
    int found = 0;
    std::size_t start = 0;
    for (int number = 1; start < text.size(); ++number) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        std::string line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        for (const std::string& word : GluedWords(line, table)) {
            std::fprintf(stderr, "%s:%d: %s replaces \"%s\" inside a word: %s\n", program.c_str(),
                         number, dictionary.c_str(), word.c_str(), line.c_str());
            ++found;
        }
        start = end + 1;
    }
    return found;
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> dictionaries, programs;
    bool afterMark = false;
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (argument == "--" && !afterMark) {
            afterMark = true;
        } else {
            (afterMark ? programs : dictionaries).push_back(argument);
        }
    }
    if (dictionaries.empty() || programs.empty()) {
        std::fprintf(stderr, "usage: check-word-glue DICTIONARY... -- PROGRAM...\n");
        return 2;
    }
    int found = 0;
    for (const std::string& dictionary : dictionaries) {
        qm::DictionaryTable table;
        if (qm::Status loaded = qm::LoadDictionaryFile(dictionary, table); !loaded.ok()) {
            std::fprintf(stderr, "check-word-glue: %s\n", loaded.message().c_str());
            return 2;
        }
        for (const std::string& program : programs)
            found += CheckProgram(program, dictionary, table);
    }
    return found == 0 ? 0 : 1;
}
