// libFuzzer target: the fast engine and the incremental conversion must give exactly what
// ConvertReference gives.
//
// Build and run (clang only; the engine sources are compiled into the target with coverage):
//   CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
//   cmake --build build-fuzz --target quillmark-fuzz-convert
//   mkdir -p build-fuzz/corpus
//   build-fuzz/bin/quillmark-fuzz-convert -max_total_time=60 -artifact_prefix=build-fuzz/ build-fuzz/corpus
// A failing input is saved as build-fuzz/crash-*; run the target on that file to see the case.
//
// Input layout: a flags byte, an entry count byte, then per entry a byte holding the word
// length (bits 0-2) and the comment length (bits 4-6) followed by those bytes; the rest is the
// program text. Flags: bit 0 SpaceAdd, bit 1 map every byte onto a small alphabet (so that
// words match often), bit 2 also convert in chunks of (flags >> 3) + 1 bytes on two threads.
// The incremental conversion converts the text without its middle byte first, then the text.
// Comments stay short, and inputs whose result could grow past a megabyte are skipped.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "Convert.h"
#include "FastConvert.h"
#include "IncrementalConvert.h"

namespace {

class Input {
public:
    Input(const std::uint8_t* data, std::size_t size, bool small)
        : rest_(reinterpret_cast<const char*>(data), size), small_(small) {}

    int Byte() {
        if (rest_.empty()) return 0;
        const auto b = static_cast<unsigned char>(rest_.front());
        rest_.remove_prefix(1);
        return b;
    }
    std::string Bytes(std::size_t count) {
        std::string bytes(rest_.substr(0, count));
        rest_.remove_prefix(bytes.size());
        if (small_) {
            for (char& c : bytes) c = "AB\n\r G0"[static_cast<unsigned char>(c) % 7];
        }
        return bytes;
    }
    std::size_t Left() const { return rest_.size(); }

private:
    std::string_view rest_;
    bool small_;
};

qm::DictionaryTable& ReusedTable() {  // 10,001 slots are costly to build for every input
    static qm::DictionaryTable table;
    for (int i = 0; i <= table.LastIndex; ++i) table.entries[std::size_t(i)] = {};
    table.LastIndex = -1;
    return table;
}

// An upper bound for the result's size. Searching again from the line's start, an entry makes at
// most as many replacements as the line has bytes, each adding at most its inserted text: it can
// at most multiply a line's length by one plus that text's length.
double MostGrowth(const qm::DictionaryTable& table, bool spaceAdd) {
    double growth = 1;
    for (int i = 0; i <= table.LastIndex; ++i) {
        const qm::DictionaryEntry& e = table.entries[std::size_t(i)];
        if (e.word.empty()) continue;
        // Proper case keeps the characters but not always their byte lengths: allow double.
        const double inserted = double(e.comment.size() * 2 + (spaceAdd ? 1 : 0));
        if (inserted > double(e.word.size())) growth *= 1.0 + inserted;
    }
    return growth;
}

void Check(const std::string& expected, const std::string& got, const char* how) {
    if (got == expected) return;
    std::fprintf(stderr, "fast engine (%s) differs from the reference\nexpected: %s\ngot:      %s\n", how,
                 expected.c_str(), got.c_str());
    std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) return 0;
    const int flags = data[0];
    Input input(data + 1, size - 1, (flags & 2) != 0);
    qm::DictionaryTable& table = ReusedTable();
    for (int entries = input.Byte() % 16; entries > 0 && input.Left() > 0; --entries) {
        const int lengths = input.Byte();
        std::string word = input.Bytes(std::size_t(lengths & 7));
        std::string comment = input.Bytes(std::size_t(lengths >> 4 & 7));
        table.Append({0, std::move(word), std::move(comment)});
    }
    const std::string text = input.Bytes(input.Left());
    const bool spaceAdd = (flags & 1) != 0;

    // A comment holding its own word, listed several times, grows the result exponentially in
    // both engines; such inputs only slow the search down.
    if (MostGrowth(table, spaceAdd) * double(text.size() + 2) > 1e6) return 0;

    const std::string expected = qm::ConvertReference(text, table, spaceAdd);
    const qm::CompiledDictionary compiled(table);
    Check(expected, compiled.Convert(text, spaceAdd, 1), "one thread");
    Check(expected, qm::CompiledDictionary(table, 0).Convert(text, spaceAdd, 1), "compact automaton");
    if (flags & 4) {
        const std::size_t chunkBytes = 1 + std::size_t(flags >> 3);
        Check(expected, compiled.Convert(text, spaceAdd, qm::ParallelOptions{2, chunkBytes}), "two threads");
    }
    qm::IncrementalConverter incremental;
    incremental.Update(std::string(text).erase(text.size() / 2, 1), table, spaceAdd);
    incremental.Update(text, table, spaceAdd);
    Check(expected, incremental.Converted(), "incremental");
    return 0;
}
