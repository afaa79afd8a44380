#include "AcPieces.h"

#include <sys/mman.h>

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "AcLineRewriter.h"

namespace qm {
namespace {

constexpr std::size_t kSampleBytes = 64 * 1024;  // input converted before the output is sized
constexpr std::size_t kCountEvery = 64 * 1024;   // input converted between counts with the watch
constexpr std::size_t kCountOutputEvery = 64 << 20;  // or output written

// Sizes out for the whole piece from how much the converted part grew.
void ReserveByGrowth(std::string& out, std::size_t outBefore, std::size_t done, std::size_t total) {
    ReserveLarge(out, outBefore + ExpectedOutput(done, out.size() - outBefore, total));
}

// Counts the input converted and the output it gave with the conversion's watch, a stretch at a
// time.
class PieceCount {
public:
    PieceCount(const AcRules& rules, bool spaceAdd, ConversionWatch& watch, std::size_t outBefore)
        : rules_(rules), spaceAdd_(spaceAdd), watch_(watch), out_(outBefore) {}

    void Count(std::size_t pos, const std::string& out, const AcLineRewriter& rewriter) {
        const bool within = watch_.Count(pos - in_, out.size() - out_);
        in_ = pos;
        out_ = out.size();
        if (!within) {
            const int entry = rewriter.MostGrowing();
            if (entry < 0) throw ConversionTooLarge(TooLargeMessage(watch_.Limit(), {}, {}));
            throw ConversionTooLarge(TooLargeMessage(watch_.Limit(), rules_.Word(rules_.entryWord[std::size_t(entry)]),
                                                     rules_.Insert(entry, spaceAdd_)));
        }
        watch_.Poll();
    }
    bool Due(std::size_t pos, const std::string& out) const {
        return pos - in_ >= kCountEvery || out.size() - out_ >= kCountOutputEvery;
    }

private:
    const AcRules& rules_;
    const bool spaceAdd_;
    ConversionWatch& watch_;
    std::size_t in_ = 0, out_;
};

}  // namespace

void ConvertPiece(const AcRules& rules, std::string_view piece, bool last, bool spaceAdd, std::string& out,
                  ConversionWatch& watch, bool cut) {
    AcLineRewriter rewriter(rules, spaceAdd, watch);
    PieceCount count(rules, spaceAdd, watch, out.size());
    const std::size_t outBefore = out.size();
    out.reserve(outBefore + std::min(piece.size(), kSampleBytes) * 2 + 64);
    bool sized = piece.size() <= kSampleBytes;
    std::size_t pos = 0;
    while (pos < piece.size()) {
        const void* lineFeed = std::memchr(piece.data() + pos, '\n', piece.size() - pos);
        if (lineFeed == nullptr) break;
        const std::size_t end = std::size_t(static_cast<const char*>(lineFeed) - piece.data()) + 1;
        rewriter.Rewrite(piece.substr(pos, end - pos), out);
        pos = end;
        if (count.Due(pos, out)) count.Count(pos, out, rewriter);
        if (!sized && pos >= kSampleBytes) {
            ReserveByGrowth(out, outBefore, pos, piece.size());
            sized = true;
        }
    }
    if (last) {
        std::string line(piece.substr(pos));
        line += "\r\n";
        rewriter.Rewrite(line, out);
        pos = piece.size();
    } else if (cut && pos < piece.size()) {
        rewriter.Rewrite(piece.substr(pos), out);
        pos = piece.size();
    }
    count.Count(pos, out, rewriter);
}

std::vector<std::string_view> SplitAtLines(std::string_view text, std::size_t chunkBytes) {
    std::vector<std::string_view> pieces;
    std::size_t start = 0;
    while (text.size() - start > chunkBytes) {
        const std::size_t lineFeed = text.find('\n', start + chunkBytes - 1);
        if (lineFeed == std::string_view::npos) break;
        pieces.push_back(text.substr(start, lineFeed + 1 - start));
        start = lineFeed + 1;
    }
    pieces.push_back(text.substr(start));
    return pieces;
}

std::size_t ExpectedOutput(std::size_t sampleIn, std::size_t sampleOut, std::size_t totalIn) {
    const double growth = std::min(double(sampleOut) / double(std::max<std::size_t>(sampleIn, 1)), 4.0);
    const auto expected = std::size_t(growth * double(totalIn));
    return expected + expected / 32 + 64;
}

void ReserveLarge(std::string& out, std::size_t bytes) {
    out.reserve(bytes);
#ifdef MADV_HUGEPAGE
    constexpr std::uintptr_t kHugePage = std::uintptr_t(2) << 20;
    const auto begin = reinterpret_cast<std::uintptr_t>(out.data());
    const std::uintptr_t first = (begin + kHugePage - 1) & ~(kHugePage - 1);
    const std::uintptr_t last = (begin + out.capacity()) & ~(kHugePage - 1);
    if (last > first) ::madvise(reinterpret_cast<void*>(first), last - first, MADV_HUGEPAGE);  // advice only
#endif
}

}  // namespace qm
