#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "Block.h"
#include "Dialect.h"
#include "Parameters.h"
#include "ProgramUnit.h"
#include "SubprogramFiles.h"

namespace qm::interp {

// Where following stands in one program text: the main program, or a subprogram called from it.
struct Frame {
    const ProgramUnit* unit = nullptr;
    std::uint32_t next = 0;        // the index of the line to run next
    std::uint32_t start = 0;       // where a repeated subprogram starts again
    std::uint32_t callerLine = 0;  // the caller's line of the call
    int timesLeft = 1;             // M98 L / G65 L repeats
    bool ownLocals = false;        // a call with its own local parameters (o-call, G65)
    std::vector<std::pair<std::string, long>> repeats;  // o-word repeat label, runs left
    std::map<std::string, bool> branchTaken;            // o-word if label: a branch has run
};

// The control flow of a program: O-word subroutines, branches and loops (RS274NGC), program
// heads, M98/M99/G65 subprograms, WHILE/DO/END, GOTO and IF (Macro B). It moves between lines
// and calls; the blocks themselves are run elsewhere.
class ControlFlow {
  public:
    using Report = std::function<void(const std::string& reason, bool stopped)>;
    static constexpr std::size_t kDepthLimit = 64;

    ControlFlow(Dialect dialect, Parameters& parameters, SubprogramFiles* files, Report report)
        : dialect_(dialect), parameters_(parameters), files_(files), report_(std::move(report)) {}

    void Start(const ProgramUnit& main);
    Frame& Current() { return frames_.back(); }
    std::size_t Depth() const { return frames_.size() - 1; }
    bool InMain() const { return frames_.size() == 1; }
    // The index in the main program's text of the line that runs now, or of the call that led
    // to a subprogram file running now.
    std::uint32_t MainIndex() const;

    // What following does after a block: go on, stop (the reason has been reported), or stop
    // as a program stops that has no end (M2, M30).
    enum class Outcome { GoOn, Stopped, Unended };

    // Runs the flow word of the block just read from line index of the current frame, after
    // the block's other words.
    Outcome Run(const Block& block, std::uint32_t index);
    // The current frame ran past its last line: returns false when that ends the program.
    bool AtUnitEnd();
    // The line of the main program whose call has just returned, when one has.
    std::optional<std::uint32_t> TakeReturnedCall();

  private:
    Outcome RunOWord(const Flow& flow, std::uint32_t index);
    Outcome RunMacro(const Block& block, std::uint32_t index);
    Outcome Call(const std::string& label, const std::vector<double>& arguments);
    Outcome CallProgram(const Block& block, bool macro);
    void Return(std::optional<int> sequence = std::nullopt);
    void Jump(std::optional<std::uint32_t> target, std::uint32_t offset,
              const std::string& missing);
    void Loop(const Flow& flow, std::uint32_t index);
    const ProgramUnit* FileUnit(const std::string& label);

    Dialect dialect_;
    Parameters& parameters_;
    SubprogramFiles* files_;
    Report report_;
    const ProgramUnit* main_ = nullptr;
    std::vector<Frame> frames_;
    std::map<std::string, std::unique_ptr<ProgramUnit>> fileUnits_;
    std::optional<std::uint32_t> returnedCall_;
    bool mainHeadSeen_ = false;
};

}  // namespace qm::interp
