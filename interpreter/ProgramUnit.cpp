#include "ProgramUnit.h"

#include <algorithm>
#include <array>

#include "BlockReader.h"

namespace qm::interp {
namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

std::string_view Digits(std::string_view text, std::size_t& pos) {
    const std::size_t start = pos;
    while (pos < text.size() && IsDigit(text[pos]))
        ++pos;
    return text.substr(start, pos - start);
}

int NumberOf(std::string_view digits) {
    int n = 0;
    for (const char c : digits.substr(0, 9))
        n = n * 10 + (c - '0');
    return n;
}

void AddOWord(std::string_view text, std::size_t pos, std::uint32_t index,
              std::vector<FlowMark>& marks) {
    FlowMark mark;
    mark.line = index;
    if (pos < text.size() && text[pos] == '<') {
        const std::size_t close = text.find('>', pos);
        if (close == std::string_view::npos)
            return;
        mark.label = std::string(text.substr(pos, close + 1 - pos));
        pos = close + 1;
    } else {
        const std::string_view digits = Digits(text, pos);
        if (digits.empty())
            return;
        mark.label = std::to_string(NumberOf(digits));
    }
    const std::size_t start = pos;
    while (pos < text.size() && text[pos] >= 'A' && text[pos] <= 'Z')
        ++pos;
    mark.kind = OWordKind(text.substr(start, pos - start));
    if (mark.kind != FlowKind::None)
        marks.push_back(std::move(mark));
}

void AddMacroMarks(std::string_view text, std::size_t pos, std::uint32_t index,
                   std::vector<FlowMark>& marks) {
    if (pos < text.size() && text[pos] == 'N') {
        ++pos;
        const std::string_view digits = Digits(text, pos);
        if (!digits.empty())
            marks.push_back({index, FlowKind::None, {}, NumberOf(digits), true});
    }
    const std::string_view rest = text.substr(pos);
    if (rest.starts_with("O")) {
        std::size_t at = pos + 1;
        const std::string_view digits = Digits(text, at);
        if (!digits.empty())
            marks.push_back({index, FlowKind::ProgramHead, {}, NumberOf(digits), false});
    } else if (rest.starts_with("WHILE") || rest.starts_with("DO")) {
        const std::size_t doAt = text.rfind("DO");
        std::size_t at = doAt + 2;
        marks.push_back({index, FlowKind::MacroWhile, {}, NumberOf(Digits(text, at)), false});
    } else if (rest.starts_with("END")) {
        std::size_t at = pos + 3;
        marks.push_back({index, FlowKind::MacroEnd, {}, NumberOf(Digits(text, at)), false});
    }
}

bool KindIn(FlowKind kind, std::initializer_list<FlowKind> kinds) {
    return std::find(kinds.begin(), kinds.end(), kind) != kinds.end();
}

}  // namespace

void AddFlowMarks(std::string_view line, std::uint32_t index, Dialect dialect,
                  std::vector<FlowMark>& marks) {
    const std::string text = ReadableText(line);
    std::size_t pos = !text.empty() && text[0] == '/' ? 1 : 0;
    if (dialect == Dialect::Fanuc) {
        AddMacroMarks(text, pos, index, marks);
        return;
    }
    if (pos < text.size() && text[pos] == 'N') {
        ++pos;
        while (pos < text.size() && (IsDigit(text[pos]) || text[pos] == '.'))
            ++pos;
    }
    if (pos < text.size() && text[pos] == 'O')
        AddOWord(text, pos + 1, index, marks);
}

ProgramUnit::ProgramUnit(std::string text, Dialect dialect, std::string source)
    : owned_(std::move(text)), text_(owned_), dialect_(dialect), source_(std::move(source)) {}

ProgramUnit::ProgramUnit(std::string_view text, Dialect dialect, std::uint32_t firstLine)
    : text_(text), dialect_(dialect), firstLine_(firstLine) {}

bool ProgramUnit::HasLine(std::size_t index) const {
    while (starts_.size() <= index && scanned_ < text_.size()) {
        starts_.push_back(scanned_);
        const std::size_t end = text_.find('\n', scanned_);
        scanned_ = end == std::string_view::npos ? text_.size() : end + 1;
    }
    return index < starts_.size();
}

std::size_t ProgramUnit::LineCount() const {
    HasLine(std::size_t(-2));
    return starts_.size();
}

std::string_view ProgramUnit::Line(std::size_t index) const {
    HasLine(index + 1);
    const std::size_t start = starts_[index];
    const std::size_t end = index + 1 < starts_.size() ? starts_[index + 1] - 1 : text_.size();
    std::string_view line = text_.substr(start, end - start);
    if (!line.empty() && line.back() == '\n')
        line.remove_suffix(1);
    return line;
}

const std::vector<FlowMark>& ProgramUnit::Marks() const {
    if (!marks_) {
        marks_.emplace();
        const std::size_t count = LineCount();
        for (std::uint32_t i = 0; i < count; ++i)
            AddFlowMarks(Line(i), i, dialect_, *marks_);
    }
    return *marks_;
}

std::optional<std::uint32_t> ProgramUnit::Next(std::uint32_t from, const std::string& label,
                                               std::initializer_list<FlowKind> kinds) const {
    for (const FlowMark& mark : Marks()) {
        if (mark.line > from && mark.label == label && KindIn(mark.kind, kinds))
            return mark.line;
    }
    return std::nullopt;
}

std::optional<std::uint32_t> ProgramUnit::Previous(std::uint32_t from, const std::string& label,
                                                   std::initializer_list<FlowKind> kinds) const {
    const auto& marks = Marks();
    for (auto mark = marks.rbegin(); mark != marks.rend(); ++mark) {
        if (mark->line < from && mark->label == label && KindIn(mark->kind, kinds))
            return mark->line;
    }
    return std::nullopt;
}

std::optional<std::uint32_t> ProgramUnit::NextNumbered(std::uint32_t from, FlowKind kind,
                                                       int number) const {
    for (const FlowMark& mark : Marks()) {
        if (mark.line > from && !mark.sequence && mark.kind == kind && mark.number == number)
            return mark.line;
    }
    return std::nullopt;
}

std::optional<std::uint32_t> ProgramUnit::PreviousNumbered(std::uint32_t from, FlowKind kind,
                                                           int number) const {
    const auto& marks = Marks();
    for (auto mark = marks.rbegin(); mark != marks.rend(); ++mark) {
        if (mark->line < from && !mark->sequence && mark->kind == kind && mark->number == number)
            return mark->line;
    }
    return std::nullopt;
}

std::optional<std::uint32_t> ProgramUnit::Sub(const std::string& label) const {
    for (const FlowMark& mark : Marks()) {
        if (mark.kind == FlowKind::Sub && mark.label == label)
            return mark.line;
    }
    return std::nullopt;
}

std::optional<std::uint32_t> ProgramUnit::ProgramHead(int number) const {
    for (const FlowMark& mark : Marks()) {
        if (mark.kind == FlowKind::ProgramHead && mark.number == number)
            return mark.line;
    }
    return std::nullopt;
}

std::optional<std::uint32_t> ProgramUnit::Sequence(std::uint32_t from, int number) const {
    std::optional<std::uint32_t> before;
    for (const FlowMark& mark : Marks()) {
        if (!mark.sequence || mark.number != number)
            continue;
        if (mark.line > from)
            return mark.line;
        if (!before)
            before = mark.line;
    }
    return before;
}

}  // namespace qm::interp
