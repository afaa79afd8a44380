#pragma once

#include <string_view>
#include <unordered_map>
#include <vector>

#include "Dialect.h"
#include "FollowListener.h"
#include "SubprogramFiles.h"

namespace qm::interp {

// What following a program gives: its moves, its problems, and the state in effect after
// every line. The modes are kept once per run of lines that share them, and each line keeps
// only how many moves were made up to it, so that the state at any line costs little.
class FollowResult : public FollowListener {
  public:
    void OnMove(const Move& move) override { moves_.push_back(move); }
    void OnProblem(const Problem& problem) override { problems_.push_back(problem); }
    void OnLineDone(std::uint32_t line, const ModalState& state, const Axes& position) override;

    const std::vector<Move>& Moves() const { return moves_; }
    const std::vector<Problem>& Problems() const { return problems_; }
    std::uint32_t LineCount() const { return std::uint32_t(movesAfterLine_.size()); }

    // The modes in effect after a 1-based line (the last line followed for those beyond it).
    const ModalState& StateAfter(std::uint32_t line) const;
    Axes PositionAfter(std::uint32_t line) const;
    // How many moves were made by the end of a 1-based line (0 for line 0): line L's own
    // moves are [MovesUpTo(L - 1), MovesUpTo(L)).
    std::uint32_t MovesUpTo(std::uint32_t line) const;

    // The memory the result holds: moves, the moves made up to each line, the states.
    std::size_t BytesHeld() const;

    // Room for the moves and lines of a program of this many lines, so that holding them
    // needs no copies as they come.
    void Reserve(std::size_t lines);
    void Trim();  // gives back the room not used

  private:
    friend class FollowSession;
    // A run of lines that leave the same modes: the modes are kept once however often a
    // program comes back to them.
    struct Run {
        std::uint32_t firstLine;
        std::uint32_t state;  // index in states_
    };
    std::uint32_t Intern(const ModalState& state);

    std::vector<Move> moves_;
    std::vector<Problem> problems_;
    std::vector<Run> runs_;
    std::vector<ModalState> states_;
    std::unordered_multimap<std::size_t, std::uint32_t> stateIndex_;
    std::vector<std::uint32_t> movesAfterLine_;
};

// Follows a whole program in the given dialect; subprograms it calls that are not in its text
// come from files, when given.
FollowResult FollowProgram(std::string_view text, Dialect dialect,
                           SubprogramFiles* files = nullptr);

}  // namespace qm::interp
