#include "IncrementalConvert.h"

#include <algorithm>
#include <cstring>

namespace qm {
namespace {

// Changes with any word, comment, their order or SpaceAdd.
std::uint64_t ConversionFingerprint(const DictionaryTable& table, bool SpaceAdd) { return Fingerprint(table) ^ (SpaceAdd ? 1 : 0); }

bool HoldsLineFeed(const DictionaryTable& table) {
    for (int i = 0; i <= table.LastIndex; ++i) {
        const DictionaryEntry& entry = table.entries[std::size_t(i)];
        if (entry.word.find('\n') != std::string::npos || entry.comment.find('\n') != std::string::npos) return true;
    }
    return false;
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
    constexpr std::size_t kBlock = 4096;
    while (n + kBlock <= limit &&
           std::memcmp(a.data() + a.size() - n - kBlock, b.data() + b.size() - n - kBlock, kBlock) == 0) {
        n += kBlock;
    }
    while (n < limit && a[a.size() - 1 - n] == b[b.size() - 1 - n]) ++n;
    return n;
}

// Replaces entries first .. last of a line-start list by base + the middle's starts, and moves
// the entries after them by shift, in place.
void SpliceLines(std::vector<std::size_t>& lines, std::size_t first, std::size_t last,
                 const std::vector<std::size_t>& middle, std::size_t base, long long shift) {
    std::vector<std::size_t> replacement;
    replacement.reserve(middle.size() - 1);
    for (std::size_t i = 0; i + 1 < middle.size(); ++i) replacement.push_back(base + middle[i]);
    lines.erase(lines.begin() + long(first), lines.begin() + long(last));
    lines.insert(lines.begin() + long(first), replacement.begin(), replacement.end());
    for (std::size_t i = first + replacement.size(); i < lines.size(); ++i) {
        lines[i] = std::size_t((long long)lines[i] + shift);
    }
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

IncrementalConverter::Change IncrementalConverter::ConvertWhole(std::string_view source, bool SpaceAdd,
                                                                const ConversionControl& control) {
    std::string converted = compiled_->Convert(source, SpaceAdd, ParallelOptions{}, control);
    converted_.swap(converted);
    padded_.assign(source);
    padded_ += "\r\n";
    sourceLines_ = LineStarts(padded_);
    convertedLines_ = LineStarts(converted_);
    valid_ = true;
    return {0, 0, converted_, true};
}

IncrementalConverter::Change IncrementalConverter::Update(std::string_view source, const DictionaryTable& table,
                                                          bool SpaceAdd, const ConversionControl& control) {
    const std::uint64_t fingerprint = ConversionFingerprint(table, SpaceAdd);
    if (!compiled_ || fingerprint != fingerprint_) {
        valid_ = false;
        compiled_.reset();
        compiled_.emplace(table);
        fingerprint_ = fingerprint;
        linesMatch_ = !HoldsLineFeed(table);
    }
    ConversionControl limited = control;
    if (limited.resultLimit == 0) limited.resultLimit = DefaultResultLimit(source.size());
    try {
        if (!valid_ || !linesMatch_) return ConvertWhole(source, SpaceAdd, limited);
        return ConvertChanged(source, SpaceAdd, limited);
    } catch (...) {
        valid_ = false;
        throw;
    }
}

IncrementalConverter::Change IncrementalConverter::ConvertChanged(std::string_view source, bool SpaceAdd,
                                                                  const ConversionControl& control) {
    // The old and new source, each followed by the CR LF conversion appends, compared without
    // copying the new one: its padded form differs from the old only between prefix and suffix.
    const std::string_view oldSource = std::string_view(padded_).substr(0, padded_.size() - 2);
    const std::size_t prefix = CommonPrefix(oldSource, source);
    const std::size_t suffix = CommonSuffix(oldSource, source, std::min(oldSource.size(), source.size()) - prefix) + 2;
    const long long shift = (long long)source.size() - (long long)oldSource.size();
    const std::size_t oldChangedEnd = padded_.size() - suffix;
    padded_.replace(prefix, oldChangedEnd - prefix, source.substr(prefix, source.size() + 2 - suffix - prefix));
    const std::string_view padded = padded_;

    // Lines wholly inside the common start are kept; so are lines wholly inside the common end
    // whose line start is a line start in the new text too.
    const std::size_t oldLines = sourceLines_.size() - 1;
    const std::size_t first =
        std::size_t(std::upper_bound(sourceLines_.begin() + 1, sourceLines_.end(), prefix) - sourceLines_.begin()) - 1;
    std::size_t last = oldLines;  // lines first .. last - 1 are converted again
    while (last > first && sourceLines_[last - 1] >= oldChangedEnd) {
        const std::size_t start = std::size_t((long long)sourceLines_[last - 1] + shift);
        if (start != 0 && padded[start - 1] != '\n') break;
        --last;
    }
    const std::size_t newFrom = sourceLines_[first];
    const std::size_t newTo = std::size_t((long long)sourceLines_[last] + shift);
    const std::string_view middleSource = padded.substr(newFrom, newTo - newFrom);
    const std::string middle = compiled_->ConvertLines(middleSource, SpaceAdd, control);

    Change change{convertedLines_[first], convertedLines_[last], {}, false};
    converted_.replace(change.from, change.to - change.from, middle);
    change.replacement = std::string_view(converted_).substr(change.from, middle.size());

    const long long convertedShift = (long long)middle.size() - (long long)(change.to - change.from);
    SpliceLines(sourceLines_, first, last, LineStarts(middleSource), newFrom, shift);
    SpliceLines(convertedLines_, first, last, LineStarts(middle), change.from, convertedShift);
    return change;
}

}  // namespace qm
