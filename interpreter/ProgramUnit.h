#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "Block.h"
#include "Dialect.h"

namespace qm::interp {

// A line that can be the target or the partner of a jump: an O-word (RS274NGC), a program
// head, a sequence number, WHILE ... DOn or ENDn (Macro B).
struct FlowMark {
    std::uint32_t line = 0;  // 0-based index in the unit
    FlowKind kind = FlowKind::None;
    std::string label;      // O-word label, upper case; "" for Macro B marks
    int number = 0;         // program number, N number or DO/END number
    bool sequence = false;  // an N number (Macro B GOTO target)
};

// One program text followed: the main program or a subprogram file. Lines are found by index;
// the lines that jumps go to are found once, on first need, so that a program without control
// flow costs nothing for it.
class ProgramUnit {
  public:
    // A subprogram file's text, kept by the unit.
    ProgramUnit(std::string text, Dialect dialect, std::string source);
    // The program's own text, or the part of it from a line on (firstLine lines before it):
    // the text stays the caller's.
    ProgramUnit(std::string_view text, Dialect dialect, std::uint32_t firstLine = 0);

    // Lines are found as they are asked for, so that following a part of a long text reads
    // only what it follows.
    bool HasLine(std::size_t index) const;
    std::size_t LineCount() const;
    std::string_view Line(std::size_t index) const;
    // The 1-based line number in its file of the line at index.
    std::uint32_t LineNumber(std::size_t index) const {
        return firstLine_ + std::uint32_t(index) + 1;
    }
    const std::string& Source() const { return source_; }  // "" for the program itself

    // The nearest mark after (or, backwards, before) a line with the label and one of kinds.
    std::optional<std::uint32_t> Next(std::uint32_t from, const std::string& label,
                                      std::initializer_list<FlowKind> kinds) const;
    std::optional<std::uint32_t> Previous(std::uint32_t from, const std::string& label,
                                          std::initializer_list<FlowKind> kinds) const;
    // Macro B: the nearest mark of kind and number after a line, and the same backwards.
    std::optional<std::uint32_t> NextNumbered(std::uint32_t from, FlowKind kind, int number) const;
    std::optional<std::uint32_t> PreviousNumbered(std::uint32_t from, FlowKind kind,
                                                  int number) const;
    // "O<label> sub" anywhere in the unit; a Macro B program head O<number>.
    std::optional<std::uint32_t> Sub(const std::string& label) const;
    std::optional<std::uint32_t> ProgramHead(int number) const;
    // A sequence number N<number>: first after the line, else from the start, as a GOTO looks.
    std::optional<std::uint32_t> Sequence(std::uint32_t from, int number) const;

  private:
    const std::vector<FlowMark>& Marks() const;

    std::string owned_;
    std::string_view text_;
    Dialect dialect_;
    std::string source_;
    std::uint32_t firstLine_ = 0;
    mutable std::vector<std::size_t> starts_;
    mutable std::size_t scanned_ = 0;  // where the next line not yet in starts_ begins
    mutable std::optional<std::vector<FlowMark>> marks_;
};

// The flow marks of one line (a quick reading that evaluates nothing), added to marks.
void AddFlowMarks(std::string_view line, std::uint32_t index, Dialect dialect,
                  std::vector<FlowMark>& marks);

}  // namespace qm::interp
