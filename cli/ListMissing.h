#pragma once

#include <string>
#include <unordered_map>
#include <vector>

#include "CodeWords.h"
#include "CommandLine.h"

namespace qm::cli {

// A code word that the dictionary of some program lacks, over all programs listed.
struct ListedWord {
    std::string word;
    std::size_t count = 0;
    std::size_t file = 0;  // index of the program of its first occurrence
    std::size_t line = 0;  // from 1
};

// Adds the missing words of one program, the programs taken in command-line order.
class MissingWordList {
  public:
    void Add(std::size_t file, const std::vector<CodeWordTally>& missing);
    // In listing order: most frequent first, equal counts by word, byte by byte.
    std::vector<ListedWord> Sorted() const;

  private:
    std::vector<ListedWord> words_;
    std::unordered_map<std::string, std::size_t> index_;
};

// The lines --missing prints: WORD<TAB>COUNT<TAB>FILE:LINE, each ending in LF.
std::string FormatMissingWords(const std::vector<ListedWord>& words,
                               const std::vector<std::string>& files);

// quillmark-convert --missing: lists the code words of every file that the file's dictionary
// (chosen as for conversion) lacks. Every file is tried; the exit code is that of conversion.
int ListMissingWords(const Options& options, const std::string& programFolder);

}  // namespace qm::cli
