#include "ProperCase.h"

#include <algorithm>
#include <iterator>

#include "Utf8.h"

namespace qm {
namespace {

struct CaseRow {
    char32_t c, upper, lower;
};

constexpr CaseRow kCaseTable[] = {
#include "CaseTable.inc"
};

const CaseRow* FindRow(char32_t c) {
    const auto row = std::lower_bound(std::begin(kCaseTable), std::end(kCaseTable), c,
                                      [](const CaseRow& r, char32_t key) { return r.c < key; });
    return row != std::end(kCaseTable) && row->c == c ? row : nullptr;
}

bool IsWordSeparator(char32_t c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r' || c == 0;
}

}  // namespace

char32_t ToUpper(char32_t c) {
    if (c < 0x80) return c >= 'a' && c <= 'z' ? c - 0x20 : c;
    const CaseRow* row = FindRow(c);
    return row ? row->upper : c;
}

char32_t ToLower(char32_t c) {
    if (c < 0x80) return c >= 'A' && c <= 'Z' ? c + 0x20 : c;
    const CaseRow* row = FindRow(c);
    return row ? row->lower : c;
}

std::string ProperCase(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    bool startOfWord = true;
    for (std::size_t pos = 0; pos < text.size();) {
        const std::size_t start = pos;
        const char32_t c = NextChar(text, pos);
        const char32_t mapped = startOfWord ? ToUpper(c) : ToLower(c);
        if (mapped == c) {
            out.append(text.substr(start, pos - start));  // keeps raw bytes exactly as they are
        } else {
            AppendUtf8(out, mapped);
        }
        startOfWord = IsWordSeparator(c);
    }
    return out;
}

}  // namespace qm
