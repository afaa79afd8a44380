#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

#include "ConversionControl.h"
#include "Dictionary.h"

namespace qm {

struct AcRules;

// How a conversion spreads over threads. Lines are converted independently, so the text is cut
// at line ends into chunks that threads take in turn; the results are joined in order.
struct ParallelOptions {
    unsigned threads = 0;        // 0: one for small texts, every core for large ones
    std::size_t chunkBytes = 0;  // 0: chosen from the text size and the number of threads
};

// A dictionary compiled for conversion, built once when the dictionary is loaded and then used
// for any number of conversions. Immutable: one instance can serve several threads at once.
// Converting gives exactly what ConvertReference gives for the same table.
class CompiledDictionary {
public:
    explicit CompiledDictionary(const DictionaryTable& table);
    // denseCells bounds the automaton's fast transition table (4 bytes a cell); states beyond it
    // use compact transitions. Tests lower it to cover those.
    CompiledDictionary(const DictionaryTable& table, std::size_t denseCells);
    ~CompiledDictionary();
    CompiledDictionary(CompiledDictionary&&) noexcept;
    CompiledDictionary& operator=(CompiledDictionary&&) noexcept;

    // threads: 0 chooses (one for small texts, all cores for large ones). Throws
    // ConversionTooLarge past control's result limit, ConversionCancelled when its progress
    // callback cancels.
    std::string Convert(std::string_view source, bool SpaceAdd, unsigned threads = 0) const;
    std::string Convert(std::string_view source, bool SpaceAdd, const ParallelOptions& parallel,
                        const ConversionControl& control = {}) const;
    // Converts whole lines as they stand, each ending in LF, appending nothing: the lines of a
    // text that an earlier conversion already padded with its CR LF.
    std::string ConvertLines(std::string_view lines, bool SpaceAdd, const ConversionControl& control = {}) const;

    // True when every text the dictionary inserts is valid UTF-8, as it is unless a comment
    // holds bytes its file's encoding has no character for: converting valid UTF-8 then gives
    // valid UTF-8, since words match whole characters only.
    bool InsertsAreValidUtf8() const;
    // True when the byte occurs in some word: no occurrence of a word reaches across any other
    // byte, so a line may be converted in stretches that end after one.
    bool IsWordByte(unsigned char byte) const;

private:
    friend class ConversionStream;
    std::unique_ptr<const AcRules> rules_;
};

// Compiles the table and converts one text with it.
std::string ConvertProgram(std::string_view source, const DictionaryTable& table, bool SpaceAdd);

}  // namespace qm
