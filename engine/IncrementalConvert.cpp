#include "IncrementalConvert.h"

#include <algorithm>
#include <cstring>

namespace qm {
namespace {

std::uint64_t Mix(std::uint64_t hash, std::string_view bytes) {
    for (unsigned char b : bytes) hash = (hash ^ b) * 0x100000001b3ull;  // FNV-1a
    return (hash ^ 0xff) * 0x100000001b3ull;                                // ends the field
}

// Changes with any word, comment, their order or SpaceAdd.
std::uint64_t Fingerprint(const DictionaryTable& table, bool SpaceAdd) {
    std::uint64_t hash = 0xcbf29ce484222325ull ^ (SpaceAdd ? 1 : 0) ^ (std::uint64_t(table.LastIndex + 1) << 8);
    for (int i = 0; i <= table.LastIndex; ++i) {
        hash = Mix(Mix(hash, table.entries[i].word), table.entries[i].comment);
    }
    return hash;
}

std::size_t CommonPrefix(std::string_view a, std::string_view b) {
    const std::size_t limit = std::min(a.size(), b.size());
    std::size_t n = 0;
    constexpr std::size_t kBlock = 4096;
    while (n + kBlock <= limit && std::memcmp(a.data() + n, b.data() + n, kBlock) == 0) n += kBlock;
    while (n < limit && a[n] == b[n]) ++n;
    return n;
}

std::size_t CommonSuffix(std::string_view a, std::string_view b, std::size_t limit) {
    std::size_t n = 0;
    while (n < limit && a[a.size() - 1 - n] == b[b.size() - 1 - n]) ++n;
    return n;
}

}  // namespace

std::vector<std::size_t> IncrementalConverter::LineStarts(std::string_view text) {
    std::vector<std::size_t> starts{0};
    for (const char* p = text.data(), *end = text.data() + text.size();
         (p = static_cast<const char*>(std::memchr(p, '\n', std::size_t(end - p)))) != nullptr;) {
        ++p;
        starts.push_back(std::size_t(p - text.data()));
    }
    return starts;
}

IncrementalConverter::Change IncrementalConverter::ConvertWhole(std::string_view source, bool SpaceAdd) {
    padded_.assign(source);
    padded_ += "\r\n";
    converted_ = compiled_->Convert(source, SpaceAdd);
    sourceLines_ = LineStarts(padded_);
    convertedLines_ = LineStarts(converted_);
    valid_ = true;
    return {0, 0, converted_, true};
}

IncrementalConverter::Change IncrementalConverter::Update(std::string_view source, const DictionaryTable& table,
                                                          bool SpaceAdd) {
    const std::uint64_t fingerprint = Fingerprint(table, SpaceAdd);
    if (!compiled_ || fingerprint != fingerprint_) {
        compiled_.emplace(table);
        fingerprint_ = fingerprint;
        valid_ = false;
    }
    if (!valid_) return ConvertWhole(source, SpaceAdd);

    std::string padded;
    padded.reserve(source.size() + 2);
    padded.append(source).append("\r\n");
    const std::size_t prefix = CommonPrefix(padded_, padded);
    const std::size_t suffix = CommonSuffix(padded_, padded, std::min(padded_.size(), padded.size()) - prefix);

    // Lines wholly inside the common start are kept; so are lines wholly inside the common end
    // whose line start is a line start in the new text too.
    const std::size_t oldLines = sourceLines_.size() - 1;
    const std::size_t first =
        std::size_t(std::upper_bound(sourceLines_.begin() + 1, sourceLines_.end(), prefix) - sourceLines_.begin()) - 1;
    const long long shift = (long long)padded.size() - (long long)padded_.size();
    std::size_t last = oldLines;  // lines first .. last - 1 are converted again
    while (last > first && sourceLines_[last - 1] >= padded_.size() - suffix) {
        const std::size_t start = std::size_t((long long)sourceLines_[last - 1] + shift);
        if (start != 0 && padded[start - 1] != '\n') break;
        --last;
    }
    const std::size_t newFrom = sourceLines_[first];
    const std::size_t newTo = std::size_t((long long)sourceLines_[last] + shift);
    std::string middle = compiled_->ConvertLines(std::string_view(padded).substr(newFrom, newTo - newFrom), SpaceAdd);

    Change change{convertedLines_[first], convertedLines_[last], {}, false};
    converted_.replace(change.from, change.to - change.from, middle);
    change.replacement = std::string_view(converted_).substr(change.from, middle.size());

    // Splice the line starts: the middle's own, then the kept end shifted.
    std::vector<std::size_t> middleSource = LineStarts(std::string_view(padded).substr(newFrom, newTo - newFrom));
    std::vector<std::size_t> middleConverted = LineStarts(middle);
    const long long convertedShift = (long long)middle.size() - (long long)(change.to - change.from);
    const auto splice = [](std::vector<std::size_t>& lines, std::size_t first, std::size_t last,
                           const std::vector<std::size_t>& middle, std::size_t base, long long shift) {
        std::vector<std::size_t> tail(lines.begin() + long(last) + 1, lines.end());
        lines.resize(first);
        for (std::size_t i = 0; i + 1 < middle.size(); ++i) lines.push_back(base + middle[i]);
        lines.push_back(base + middle.back());
        for (std::size_t start : tail) lines.push_back(std::size_t((long long)start + shift));
    };
    splice(sourceLines_, first, last, middleSource, newFrom, shift);
    splice(convertedLines_, first, last, middleConverted, change.from, convertedShift);
    padded_ = std::move(padded);
    return change;
}

}  // namespace qm
