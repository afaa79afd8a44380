#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace qm {

// A program's lines end in LF (as most G-code on Linux), CR LF, or now and then CR alone, and a
// file may mix them: every reader of a text by lines treats the three alike, as the editor does.

struct LineEnd {
    std::size_t at;      // where the line end starts; the text's size when the line has none
    std::size_t length;  // 0 (no line end), 1 (LF or CR) or 2 (CR LF)
};

// The end of the line that holds position from.
template <typename Char>
LineEnd FindLineEnd(std::basic_string_view<Char> text, std::size_t from) {
    for (std::size_t i = from; i < text.size(); ++i) {
        if (text[i] == Char('\n'))
            return {i, 1};
        if (text[i] == Char('\r'))
            return {i, i + 1 < text.size() && text[i + 1] == Char('\n') ? 2u : 1u};
    }
    return {text.size(), 0};
}

enum class LineEndKind { CrLf, Lf, Cr };

// The line end most of the text's lines use: new lines should match it. CR LF for a text without
// any, and where CR LF ties with another.
LineEndKind MostFrequentLineEnd(std::string_view text);

std::string_view LineEndText(LineEndKind kind);

// text with every line end, whichever it was, made kind.
std::string WithLineEnds(std::string_view text, LineEndKind kind);

}  // namespace qm
