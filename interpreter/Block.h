#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace qm::interp {

// A parameter a block sets once it has been read: numbered (#5) or named (#<depth>).
struct Assignment {
    int number = 0;
    std::string name;  // upper case; empty for a numbered parameter
    double value = 0;
};

// The control-flow word of a block: RS274NGC O-words and the Macro B statements.
enum class FlowKind : std::uint8_t {
    None,
    Sub,
    EndSub,
    Return,
    Call,  // O-word subroutines
    Do,
    While,
    EndWhile,
    Break,
    Continue,  // O-word loops
    If,
    ElseIf,
    Else,
    EndIf,
    Repeat,
    EndRepeat,    // O-word branches and counted loops
    ProgramHead,  // Macro B: Onnnn at the start of a program
    MacroWhile,
    MacroEnd,
    MacroGoto,
    MacroIfGoto,
    MacroIfThen,
};

struct Flow {
    FlowKind kind = FlowKind::None;
    std::string label;              // O-word: "123" or "<name>" upper case
    int number = 0;                 // Macro B: DOn / ENDn / GOTO n
    double condition = 0;           // WHILE / IF / REPEAT count
    bool hasValue = false;          // RETURN / ENDSUB [value]
    std::vector<double> arguments;  // CALL [a] [b] ...
};

// The G or M codes of one block, in the order written, kept in place: a block has a few.
class CodeList {
  public:
    static constexpr std::size_t kMost = 16;

    bool Add(int code) {  // false when the block holds too many
        if (count_ == kMost)
            return false;
        codes_[count_++] = code;
        return true;
    }
    bool Has(int code) const {
        for (std::size_t i = 0; i < count_; ++i) {
            if (codes_[i] == code)
                return true;
        }
        return false;
    }
    const int* begin() const { return codes_.data(); }
    const int* end() const { return codes_.data() + count_; }
    bool empty() const { return count_ == 0; }
    int front() const { return codes_[0]; }
    void Clear() { count_ = 0; }

  private:
    std::array<int, kMost> codes_;
    std::size_t count_ = 0;
};

// One block as read: every word's value already evaluated against the parameters as they
// stood before the block, the parameters it sets, and its control-flow word.
struct Block {
    std::array<double, 26> value{};
    std::uint32_t present = 0;  // bit per letter A-Z, G and M excepted
    CodeList gCodes;            // G code times ten: G59.1 is 591
    CodeList mCodes;
    std::vector<Assignment> assignments;
    Flow flow;
    std::optional<double> polarRadius, polarAngle;  // RS274NGC's @ and ^ (the XY plane)
    bool deleted = false;                           // began with "/"
    bool percent = false;                           // a "%" line

    // As a block just made, keeping what it holds: a block read on every line is cleared
    // faster than a new one is built and moved in.
    void Clear() {
        value.fill(0);
        present = 0;
        gCodes.Clear();
        mCodes.Clear();
        assignments.clear();
        flow.kind = FlowKind::None;
        flow.label.clear();
        flow.number = 0;
        flow.condition = 0;
        flow.hasValue = false;
        flow.arguments.clear();
        polarRadius.reset();
        polarAngle.reset();
        deleted = percent = false;
    }

    static constexpr int Bit(char letter) { return 1 << (letter - 'A'); }
    bool Has(char letter) const { return (present & Bit(letter)) != 0; }
    double Get(char letter) const { return value[std::size_t(letter - 'A')]; }
    std::optional<double> Find(char letter) const {
        return Has(letter) ? std::optional<double>(Get(letter)) : std::nullopt;
    }
    bool HasG(int code) const { return gCodes.Has(code); }
    bool HasM(int code) const { return mCodes.Has(code); }
    bool Empty() const {
        return present == 0 && !polarRadius && !polarAngle && gCodes.empty() && mCodes.empty() &&
               assignments.empty() && flow.kind == FlowKind::None;
    }
};

}  // namespace qm::interp
