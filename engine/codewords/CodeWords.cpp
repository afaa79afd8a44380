#include "CodeWords.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <functional>
#include <thread>
#include <unordered_map>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace qm {
namespace {

// What a byte means to the scanner; every byte not listed is passed over at once.
enum ByteClass : std::uint8_t {
    kPlain,
    kLineEnd,
    kLineComment,
    kOpenComment,
    kCodeLetter,
    kVariable
};

constexpr std::array<std::uint8_t, 256> MakeByteClasses() {
    std::array<std::uint8_t, 256> classes{};
    classes['\n'] = kLineEnd;
    classes[';'] = kLineComment;
    classes['('] = kOpenComment;
    for (unsigned char c : {'G', 'g', 'M', 'm'})
        classes[c] = kCodeLetter;
    classes['#'] = kVariable;
    return classes;
}
constexpr std::array<std::uint8_t, 256> kByteClass = MakeByteClasses();

bool IsDigit(unsigned char c) {
    return unsigned(c - '0') < 10u;
}
bool IsLetter(unsigned char c) {
    return unsigned((c | 0x20) - 'a') < 26u;
}

const unsigned char* SkipDigits(const unsigned char* p, const unsigned char* end) {
    while (p < end && IsDigit(*p))
        ++p;
    return p;
}

// The first byte at or after p that is not plain, or end. Most bytes of a program are plain:
// sixteen are tested at a time where the processor can.
const unsigned char* SkipPlain(const unsigned char* p, const unsigned char* end) {
#if defined(__SSE2__)
    const auto same = [](__m128i bytes, char c) { return _mm_cmpeq_epi8(bytes, _mm_set1_epi8(c)); };
    for (; end - p >= 16; p += 16) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        const __m128i lower = _mm_or_si128(bytes, _mm_set1_epi8(0x20));  // G and g alike, M and m
        const __m128i hits =
            _mm_or_si128(_mm_or_si128(_mm_or_si128(same(bytes, '\n'), same(bytes, ';')),
                                      _mm_or_si128(same(bytes, '('), same(bytes, '#'))),
                         _mm_or_si128(same(lower, 'g'), same(lower, 'm')));
        if (const int mask = _mm_movemask_epi8(hits); mask != 0)
            return p + __builtin_ctz(unsigned(mask));
    }
#endif
    while (p < end && kByteClass[*p] == kPlain)
        ++p;
    return p;
}

struct TransparentHash {
    using is_transparent = void;
    std::size_t operator()(std::string_view text) const {
        return std::hash<std::string_view>{}(text);
    }
};

// Distinct words and their tallies. Words of up to eight bytes, nearly all of them, are packed
// into one integer and found in an open-addressing table; longer ones go to a map.
class TallyTable {
  public:
    TallyTable() : slots_(1024) {}

    void Count(const unsigned char* word, std::size_t length, std::size_t line,
               std::size_t offset) {
        if (length > sizeof(std::uint64_t))
            return CountLong(word, length, line, offset);
        std::uint64_t key = 0;
        std::memcpy(&key, word, length);  // no code word holds a zero byte: the key is unique
        for (std::size_t i = Hash(key);; i = (i + 1) & (slots_.size() - 1)) {
            Slot& slot = slots_[i];
            if (slot.key == key)
                return void(++tallies_[slot.index].count);
            if (slot.key != 0)
                continue;
            slot = {key, Add(word, length, line, offset)};
            if (2 * ++used_ > slots_.size())
                Grow();
            return;
        }
    }

    std::vector<CodeWordTally> Take() { return std::move(tallies_); }

  private:
    struct Slot {
        std::uint64_t key = 0;  // 0: free
        std::uint32_t index = 0;
    };

    std::size_t Hash(std::uint64_t key) const {
        return std::size_t((key * 0x9E3779B97F4A7C15ull) >> 32) & (slots_.size() - 1);
    }

    std::uint32_t Add(const unsigned char* word, std::size_t length, std::size_t line,
                      std::size_t offset) {
        tallies_.push_back(
            {std::string(reinterpret_cast<const char*>(word), length), 1, line, offset});
        return std::uint32_t(tallies_.size() - 1);
    }

    void CountLong(const unsigned char* word, std::size_t length, std::size_t line,
                   std::size_t offset) {
        const std::string_view text(reinterpret_cast<const char*>(word), length);
        if (auto found = long_.find(text); found != long_.end())
            return void(++tallies_[found->second].count);
        long_.emplace(std::string(text), Add(word, length, line, offset));
    }

    void Grow() {
        std::vector<Slot> old(slots_.size() * 2);
        old.swap(slots_);
        for (const Slot& slot : old) {
            if (slot.key == 0)
                continue;
            std::size_t i = Hash(slot.key);
            while (slots_[i].key != 0)
                i = (i + 1) & (slots_.size() - 1);
            slots_[i] = slot;
        }
    }

    std::vector<Slot> slots_;
    std::size_t used_ = 0;
    std::vector<CodeWordTally> tallies_;
    std::unordered_map<std::string, std::uint32_t, TransparentHash, std::equal_to<>> long_;
};

// One pass over the text. A "(" whose line has no ")" after it is remembered, so that a line of
// many such brackets is still read only once.
class Scanner {
  public:
    // part starts a line of the whole text.
    explicit Scanner(std::string_view part)
        : begin_(reinterpret_cast<const unsigned char*>(part.data())), end_(begin_ + part.size()) {}

    std::vector<CodeWordTally> Run() {
        for (const unsigned char* p = SkipPlain(begin_, end_); p < end_; p = SkipPlain(p, end_))
            p = Step(p);
        return table_.Take();
    }
    // Line ends read, once Run has run.
    std::size_t LineEnds() const { return line_ - 1; }

  private:
    // Handles the byte at p, which is not plain; returns where to go on.
    const unsigned char* Step(const unsigned char* p) {
        switch (kByteClass[*p]) {
            case kLineEnd:
                ++line_;
                unclosedOnLine_ = false;
                return p + 1;
            case kLineComment: {
                const void* lineEnd = std::memchr(p, '\n', std::size_t(end_ - p));
                return lineEnd != nullptr ? static_cast<const unsigned char*>(lineEnd) : end_;
            }
            case kOpenComment:
                return SkipBracketComment(p);
            case kCodeLetter:
                if (p > begin_ && IsLetter(p[-1]))
                    return p + 1;
                return CodeWord(p, true);
            default:
                return CodeWord(p, false);
        }
    }

    const unsigned char* SkipBracketComment(const unsigned char* open) {
        if (unclosedOnLine_)
            return open + 1;
        for (const unsigned char* p = open + 1; p < end_ && *p != '\n'; ++p) {
            if (*p == ')')
                return p + 1;
        }
        unclosedOnLine_ = true;
        return open + 1;
    }

    const unsigned char* CodeWord(const unsigned char* start, bool decimals) {
        const unsigned char* p = SkipDigits(start + 1, end_);
        if (p == start + 1)
            return p;
        if (decimals && p + 1 < end_ && *p == '.' && IsDigit(p[1]))
            p = SkipDigits(p + 1, end_);
        table_.Count(start, std::size_t(p - start), line_, std::size_t(start - begin_));
        return p;
    }

    const unsigned char* begin_;
    const unsigned char* end_;
    std::size_t line_ = 1;
    bool unclosedOnLine_ = false;
    TallyTable table_;
};

// Adds the tallies of a later part of a text, which starts at offset and after lineEnds LFs.
void Append(std::vector<CodeWordTally>& tallies, std::vector<CodeWordTally>&& later,
            std::size_t offset, std::size_t lineEnds) {
    tallies.reserve(tallies.size() +
                    later.size());  // the index looks into the words: they must not move
    std::unordered_map<std::string_view, std::size_t> index;
    index.reserve(tallies.size());
    for (std::size_t i = 0; i < tallies.size(); ++i)
        index.emplace(tallies[i].word, i);
    for (CodeWordTally& tally : later) {
        if (const auto found = index.find(tally.word); found != index.end()) {
            tallies[found->second].count += tally.count;
            continue;
        }
        tally.firstLine += lineEnds;
        tally.firstOffset += offset;
        tallies.push_back(std::move(tally));
    }
}

// Below this size a second thread costs more than it saves (a megabyte takes about 1 ms).
constexpr std::size_t kTwoPartBytes = std::size_t(1) << 20;

}  // namespace

PartTally TallyPart(std::string_view part) {
    Scanner scanner(part);
    PartTally tally;
    tally.tallies = scanner.Run();
    tally.lineEnds = scanner.LineEnds();
    return tally;
}

std::vector<CodeWordTally> TallyCodeWords(std::string_view text) {
    CodeWordTallies tallies;
    tallies.Add(text);
    return tallies.Take();
}

// A large part is read in two halves at once, cut at a line end, and the tallies joined.
void CodeWordTallies::Add(std::string_view part) {
    const std::size_t lineEnd = part.size() >= kTwoPartBytes && std::thread::hardware_concurrency() >= 2
                                    ? part.find('\n', part.size() / 2)
                                    : std::string_view::npos;
    const std::string_view first = part.substr(0, lineEnd == std::string_view::npos ? part.size() : lineEnd + 1);
    const std::string_view second = part.substr(first.size());
    Scanner firstScanner(first), secondScanner(second);
    std::vector<CodeWordTally> earlier, later;
    {
        std::jthread helper;
        if (!second.empty()) helper = std::jthread([&] { later = secondScanner.Run(); });
        earlier = firstScanner.Run();
    }
    Append(tallies_, std::move(earlier), offset_, lineEnds_);
    offset_ += first.size();
    lineEnds_ += firstScanner.LineEnds();
    if (second.empty()) return;
    Append(tallies_, std::move(later), offset_, lineEnds_);
    offset_ += second.size();
    lineEnds_ += secondScanner.LineEnds();
}

std::unordered_set<std::string_view> DictionaryWords(const DictionaryTable& table) {
    std::unordered_set<std::string_view> words;
    words.reserve(std::size_t(table.LastIndex + 1));
    for (int i = 0; i <= table.LastIndex; ++i) {
        if (!table.entries[i].word.empty())
            words.insert(table.entries[i].word);
    }
    return words;
}

void KeepMissing(std::vector<CodeWordTally>& tallies,
                 const std::unordered_set<std::string_view>& words) {
    std::erase_if(tallies, [&](const CodeWordTally& tally) { return words.contains(tally.word); });
}

bool ListedBefore(const CodeWordTally& a, const CodeWordTally& b) {
    if (a.count != b.count)
        return a.count > b.count;
    return a.word < b.word;
}

std::vector<CodeWordTally> MissingCodeWords(std::string_view text, const DictionaryTable& table) {
    return MissingOf(TallyCodeWords(text), table);
}

std::vector<CodeWordTally> MissingOf(std::vector<CodeWordTally> tallies,
                                     const DictionaryTable& table) {
    KeepMissing(tallies, DictionaryWords(table));
    std::sort(tallies.begin(), tallies.end(), ListedBefore);
    return tallies;
}

}  // namespace qm
