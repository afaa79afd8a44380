#include "BlockReader.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cmath>

#include "Expression.h"

namespace qm::interp {
namespace {

bool IsLetter(char c) {
    return c >= 'A' && c <= 'Z';
}
bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

class LineReader {
  public:
    LineReader(std::string_view text, Dialect dialect, const ValueSource& values, Block& block)
        : text_(text),
          dialect_(dialect),
          values_(values),
          expr_(text_, pos_, values, dialect),
          block_(block) {}

    void Read() {
        if (Peek() == '/') {
            block_.deleted = true;  // the block delete switch is off: the block runs
            ++pos_;
        }
        if (Peek() == '%') {
            block_.percent = true;
            return;
        }
        if (Peek() == 'N')
            SkipSequenceNumber();
        if (Peek() == 'O') {
            dialect_ == Dialect::Fanuc ? ProgramHead() : OWord();
            if (dialect_ == Dialect::Rs274ngc)
                return;
        }
        while (pos_ < text_.size())
            Item();
    }

  private:
    char Peek() const { return pos_ < text_.size() ? text_[pos_] : '\0'; }
    bool Take(std::string_view word) {
        if (text_.substr(pos_, word.size()) != word)
            return false;
        pos_ += word.size();
        return true;
    }
    [[noreturn]] static void Fail(const std::string& reason) { throw ReadFailure(reason); }

    void SkipSequenceNumber() {
        ++pos_;
        while (IsDigit(Peek()) || Peek() == '.')
            ++pos_;
    }

    std::string Keyword() {
        const std::size_t start = pos_;
        while (IsLetter(Peek()))
            ++pos_;
        return std::string(text_.substr(start, pos_ - start));
    }

    void OWord() {
        ++pos_;
        Flow& flow = block_.flow;
        if (Peek() == '<') {
            const std::size_t close = text_.find('>', pos_);
            if (close == std::string_view::npos)
                Fail("an O-word name has no closing '>'");
            flow.label = std::string(text_.substr(pos_, close + 1 - pos_));
            pos_ = close + 1;
        } else {
            const std::size_t start = pos_;
            while (IsDigit(Peek()))
                ++pos_;
            if (pos_ == start)
                Fail("an O-word needs a number or a <name>");
            flow.label = std::to_string(std::stol(std::string(text_.substr(start, pos_ - start))));
        }
        const std::string keyword = Keyword();
        flow.kind = OWordKind(keyword);
        if (flow.kind == FlowKind::None) {
            Fail(keyword.empty() ? "an O-word needs a keyword (sub, call, while, if, ...)"
                                 : "unknown O-word keyword '" + keyword + "'");
        }
        switch (flow.kind) {
            case FlowKind::Call:
                while (Peek() == '[')
                    flow.arguments.push_back(expr_.RealValue());
                break;
            case FlowKind::While:
            case FlowKind::If:
            case FlowKind::ElseIf:
            case FlowKind::Repeat:
                if (Peek() != '[')
                    Fail("O" + flow.label + " " + keyword + " needs a [condition]");
                flow.condition = expr_.RealValue();
                break;
            case FlowKind::Return:
            case FlowKind::EndSub:
                if (Peek() == '[') {
                    flow.condition = expr_.RealValue();
                    flow.hasValue = true;
                }
                break;
            default:
                break;
        }
        if (pos_ < text_.size())
            Fail("unexpected text after O" + flow.label + " " + keyword);
    }

    void ProgramHead() {
        ++pos_;
        const std::size_t start = pos_;
        while (IsDigit(Peek()))
            ++pos_;
        if (pos_ == start)
            Fail("a program number must follow O");
        block_.flow.kind = FlowKind::ProgramHead;
        block_.flow.number =
            std::stoi(std::string(text_.substr(start, std::min<std::size_t>(pos_ - start, 9))));
    }

    int MacroNumber() {
        const double n = expr_.RealValue();
        if (n != std::floor(n) || n < 0)
            Fail("a whole number is needed");
        return int(n);
    }

    void MacroStatement(const std::string& keyword) {
        Flow& flow = block_.flow;
        if (keyword == "WHILE") {
            flow.kind = FlowKind::MacroWhile;
            flow.condition = BracketCondition(keyword);
            if (!Take("DO"))
                Fail("WHILE needs DO and a number");
            flow.number = Peek() ? MacroNumber() : 0;
        } else if (keyword == "END") {
            flow.kind = FlowKind::MacroEnd;
            flow.number = MacroNumber();
        } else if (keyword == "DO") {  // DOn without WHILE: a loop that runs for ever
            flow.kind = FlowKind::MacroWhile;
            flow.condition = 1;
            flow.number = MacroNumber();
        } else if (keyword == "GOTO") {
            flow.kind = FlowKind::MacroGoto;
            flow.number = MacroNumber();
        } else if (keyword == "IF") {
            flow.condition = BracketCondition(keyword);
            if (Take("GOTO")) {
                flow.kind = FlowKind::MacroIfGoto;
                flow.number = MacroNumber();
            } else if (Take("THEN")) {
                flow.kind = FlowKind::MacroIfThen;  // the rest of the block runs when true
            } else {
                Fail("IF needs GOTO or THEN");
            }
        } else {
            Fail("unknown word '" + keyword + "'");
        }
    }

    double BracketCondition(const std::string& keyword) {
        if (Peek() != '[')
            Fail(keyword + " needs a [condition]");
        return expr_.RealValue();
    }

    bool AtMacroKeyword() const {
        for (const std::string_view keyword : {"WHILE", "END", "DO", "GOTO", "IF"}) {
            if (text_.substr(pos_, keyword.size()) == keyword)
                return true;
        }
        return false;
    }

    void Item() {
        const char letter = Peek();
        if (letter == '#') {
            ++pos_;
            Assignment assignment;
            const ParameterRef ref = expr_.Parameter();
            if (!Take("="))
                Fail("'=' expected after a parameter at the start of a word");
            assignment.number = ref.number;
            assignment.name = ref.name;
            assignment.value = dialect_ == Dialect::Fanuc ? expr_.Expression() : expr_.RealValue();
            block_.assignments.push_back(std::move(assignment));
            return;
        }
        if ((letter == '@' || letter == '^') && dialect_ == Dialect::Rs274ngc) {
            ++pos_;
            std::optional<double>& polar = letter == '@' ? block_.polarRadius : block_.polarAngle;
            if (polar)
                Fail(std::string("the word ") + letter + " appears twice");
            polar = expr_.RealValue();
            return;
        }
        if (letter == '$' && dialect_ == Dialect::Rs274ngc) {
            ++pos_;
            expr_.RealValue();  // the spindle the block's S and M3/M4/M5 are for
            return;
        }
        if (!IsLetter(letter))
            Fail(std::string("unexpected '") + letter + "'");
        if (dialect_ == Dialect::Fanuc && AtMacroKeyword()) {
            MacroStatement(Keyword());
            return;
        }
        ++pos_;
        const double value = expr_.RealValue();
        if (letter == 'G') {
            if (!block_.gCodes.Add(int(std::lround(value * 10.0))))
                Fail("more than 16 G words in one block");
        } else if (letter == 'M') {
            if (!block_.mCodes.Add(int(std::lround(value))))
                Fail("more than 16 M words in one block");
        } else if (letter == 'N') {
        } else {
            if (block_.Has(letter))
                Fail(std::string("the word ") + letter + " appears twice");
            block_.present |= Block::Bit(letter);
            block_.value[std::size_t(letter - 'A')] = value;
        }
    }

    std::string_view text_;
    std::size_t pos_ = 0;
    Dialect dialect_;
    const ValueSource& values_;
    ExpressionReader expr_;
    Block& block_;
};

}  // namespace

std::string ReadableText(std::string_view line) {
    std::string text;
    ReadableTextInto(line, text);
    return text;
}

namespace {

// What each byte is to the readable text of a line: kept (upper case), left out, the start
// of a comment, or the end of the words. One look-up a byte instead of a chain of tests:
// every line of a program passes here.
enum class ByteKind : unsigned char { Kept, Blank, Comment, End };

struct ByteTable {
    std::array<ByteKind, 256> kind{};
    std::array<char, 256> upper{};
};

constexpr ByteTable MakeByteTable() {
    ByteTable table;
    for (int c = 0; c < 256; ++c) {
        table.upper[std::size_t(c)] = char(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
        table.kind[std::size_t(c)] = ByteKind::Kept;
    }
    table.kind[' '] = table.kind['\t'] = ByteKind::Blank;
    table.kind['('] = ByteKind::Comment;
    table.kind[';'] = table.kind['\r'] = table.kind['\n'] = ByteKind::End;
    return table;
}

constexpr ByteTable kBytes = MakeByteTable();

}  // namespace

void ReadableTextInto(std::string_view line, std::string& text) {
    if (text.size() < line.size())
        text.resize(line.size());
    char* const start = text.data();
    char* out = start;
    for (std::size_t at = 0; at < line.size(); ++at) {
        const auto c = static_cast<unsigned char>(line[at]);
        const ByteKind kind = kBytes.kind[c];
        if (kind == ByteKind::Kept) {
            *out++ = kBytes.upper[c];
        } else if (kind == ByteKind::Comment) {
            at = line.find(')', at + 1);  // a comment left open runs to the end of the line
            if (at == std::string_view::npos)
                break;
        } else if (kind == ByteKind::End) {
            break;
        }
    }
    text.resize(std::size_t(out - start));
}

void ReadBlockInto(std::string_view line, Dialect dialect, const ValueSource& values,
                   Block& block) {
    thread_local std::string text;  // one buffer for every line read
    ReadableTextInto(line, text);
    LineReader(text, dialect, values, block).Read();
}

Block ReadBlock(std::string_view line, Dialect dialect, const ValueSource& values) {
    thread_local std::string text;  // one buffer for every line read
    ReadableTextInto(line, text);
    Block block;
    LineReader(text, dialect, values, block).Read();
    return block;
}

namespace {

// The bytes without which a line cannot hold a control-flow word in a dialect: the readable
// text only leaves bytes out and turns small letters into capitals, so a line with none of
// them is told at a look at each byte, without reading it (most lines of a program).
struct FlowBytes {
    std::array<bool, 256> rs274ngc{}, fanuc{};
};

constexpr FlowBytes MakeFlowBytes() {
    FlowBytes bytes;
    for (const char c : std::string_view("Oo%"))
        bytes.rs274ngc[std::size_t(c)] = bytes.fanuc[std::size_t(c)] = true;
    for (const char c : std::string_view("MmGgIiEeWw"))
        bytes.fanuc[std::size_t(c)] = true;
    return bytes;
}

constexpr FlowBytes kFlowBytes = MakeFlowBytes();

}  // namespace

bool HasControlFlow(std::string_view line, Dialect dialect) {
    const std::array<bool, 256>& flowBytes =
        dialect == Dialect::Rs274ngc ? kFlowBytes.rs274ngc : kFlowBytes.fanuc;
    if (std::none_of(line.begin(), line.end(),
                     [&](char c) { return flowBytes[static_cast<unsigned char>(c)]; }))
        return false;
    thread_local std::string readable;  // one buffer for every line looked at
    ReadableTextInto(line, readable);
    const std::string_view text = readable;
    if (text.find_first_of("O%") != std::string::npos)
        return true;  // O-words, program heads, GOTO, DO: and the tape's ends
    if (dialect == Dialect::Rs274ngc)
        return false;
    for (const std::string_view word : {"M98", "M99", "G65", "G66", "IF", "END", "WHILE"}) {
        if (text.find(word) != std::string::npos)
            return true;
    }
    return false;
}

FlowKind OWordKind(std::string_view keyword) {
    static constexpr std::array<std::pair<std::string_view, FlowKind>, 15> kKeywords{{
        {"SUB", FlowKind::Sub},
        {"ENDSUB", FlowKind::EndSub},
        {"RETURN", FlowKind::Return},
        {"CALL", FlowKind::Call},
        {"DO", FlowKind::Do},
        {"WHILE", FlowKind::While},
        {"ENDWHILE", FlowKind::EndWhile},
        {"BREAK", FlowKind::Break},
        {"CONTINUE", FlowKind::Continue},
        {"IF", FlowKind::If},
        {"ELSEIF", FlowKind::ElseIf},
        {"ELSE", FlowKind::Else},
        {"ENDIF", FlowKind::EndIf},
        {"REPEAT", FlowKind::Repeat},
        {"ENDREPEAT", FlowKind::EndRepeat},
    }};
    for (const auto& [word, kind] : kKeywords) {
        if (word == keyword)
            return kind;
    }
    return FlowKind::None;
}

}  // namespace qm::interp
