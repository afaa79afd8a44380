#include "LineEnds.h"

#include <cstring>

namespace qm {

LineEndKind MostFrequentLineEnd(std::string_view text) {
    std::size_t crLf = 0, lf = 0, cr = 0;
    const char* p = text.data();
    const char* const end = p + text.size();
    while (p < end) {
        // Line ends are rare among the bytes: skip to the next CR or LF in large strides.
        const auto* lineFeed = static_cast<const char*>(std::memchr(p, '\n', std::size_t(end - p)));
        const char* stop = lineFeed != nullptr ? lineFeed : end;
        for (const char* q = p; (q = static_cast<const char*>(
                                     std::memchr(q, '\r', std::size_t(stop - q)))) != nullptr;) {
            if (q + 1 == lineFeed)
                break;
            ++cr;
            if (++q >= stop)
                break;
        }
        if (lineFeed == nullptr)
            break;
        ++(lineFeed > p && lineFeed[-1] == '\r' ? crLf : lf);
        p = lineFeed + 1;
    }
    if (crLf >= lf && crLf >= cr)
        return LineEndKind::CrLf;
    return lf >= cr ? LineEndKind::Lf : LineEndKind::Cr;
}

std::string_view LineEndText(LineEndKind kind) {
    switch (kind) {
        case LineEndKind::Lf:
            return "\n";
        case LineEndKind::Cr:
            return "\r";
        case LineEndKind::CrLf:
            break;
    }
    return "\r\n";
}

std::string WithLineEnds(std::string_view text, LineEndKind kind) {
    const std::string_view ending = LineEndText(kind);
    std::string out;
    out.reserve(text.size());
    for (std::size_t start = 0; start < text.size();) {
        const LineEnd end = FindLineEnd(text, start);
        out.append(text.substr(start, end.at - start));
        if (end.length > 0)
            out.append(ending);
        start = end.at + end.length;
    }
    return out;
}

}  // namespace qm
