#include "Follower.h"

#include "BlockExecutor.h"
#include "BlockReader.h"
#include "ContextValues.h"
#include "Expression.h"

namespace qm::interp {

// Passes everything on, naming the subprogram file of every problem found in one. A move made
// in a subprogram file also carries the line of the call in the program, shown with it.
class Follower::SourceListener : public FollowListener {
  public:
    explicit SourceListener(FollowListener& to) : to_(to) {}
    void SetWhere(const ProgramUnit& unit, std::uint32_t line, std::uint32_t mainLine) {
        source_ = &unit.Source();
        line_ = line;
        mainLine_ = mainLine;
    }
    void Report(const std::string& reason, bool stopped) {
        OnProblem({line_, reason, stopped, {}});
    }

    void OnMove(const Move& move) override {
        if (source_ == nullptr || source_->empty()) {
            to_.OnMove(move);
            return;
        }
        Move called = move;
        called.callLine = mainLine_;
        to_.OnMove(called);
    }
    void OnDwell(std::uint32_t line, double seconds) override { to_.OnDwell(line, seconds); }
    void OnToolChange(std::uint32_t line, int tool) override { to_.OnToolChange(line, tool); }
    void OnProblem(const Problem& problem) override {
        Problem tagged = problem;
        tagged.source = *source_;
        to_.OnProblem(tagged);
    }
    void OnLineDone(std::uint32_t line, const ModalState& state, const Axes& position) override {
        to_.OnLineDone(line, state, position);
    }

  private:
    FollowListener& to_;
    const std::string* source_ = nullptr;
    std::uint32_t line_ = 0;
    std::uint32_t mainLine_ = 0;
};

void ApplyAssignments(const Block& block, MachineContext& context) {
    for (const Assignment& assignment : block.assignments) {
        if (!assignment.name.empty()) {
            context.parameters.SetNamed(assignment.name, assignment.value);
        } else {
            const bool length = IsLengthParameter(assignment.number) && context.modal.inches;
            context.parameters.SetNumbered(
                assignment.number, length ? assignment.value * kMmPerInch : assignment.value);
        }
    }
}

Follower::Step Follower::RunBlock(const Block& block, SourceListener& listener,
                                  std::uint32_t index) {
    if (block.percent) {
        // A program that opens with "%" ends at the next one: RS274NGC needs no M2 then.
        const bool closes = percentOpened_ && flow_->InMain();
        percentOpened_ = true;
        if (!closes)
            return Step::GoOn;
        return dialect_ == Dialect::Rs274ngc ? Step::Ended : Step::Unended;
    }
    percentOpened_ = true;  // a "%" after the first block closes the program
    if (block.flow.kind == FlowKind::MacroIfThen && block.flow.condition == 0.0)
        return Step::GoOn;
    ApplyAssignments(block, context_);
    const bool macroCall = dialect_ == Dialect::Fanuc && block.HasG(650);
    if (!macroCall) {
        BlockExecutor executor(context_, dialect_, listener);
        executor.Execute(block, flow_->Current().unit->LineNumber(index));
        if (executor.Ended())
            return Step::Ended;
    }
    switch (flow_->Run(block, index)) {
        case ControlFlow::Outcome::GoOn:
            return Step::GoOn;
        case ControlFlow::Outcome::Unended:
            return Step::Unended;
        case ControlFlow::Outcome::Stopped:
            break;
    }
    return Step::Stopped;
}

Follower::Step Follower::RunLine(SourceListener& listener, std::uint32_t index) {
    Frame& frame = flow_->Current();
    listener.SetWhere(*frame.unit, frame.unit->LineNumber(index),
                      main_->LineNumber(flow_->MainIndex()));
    if (prereader_ && frame.unit == main_) {
        if (const Block* block = prereader_->Take(index))
            return RunBlock(*block, listener, index);  // most lines: read ahead, not copied
    }
    Block block;
    try {
        ReadBlockInto(frame.unit->Line(index), dialect_, ContextValues(context_), block);
    } catch (const ReadFailure& failure) {
        listener.Report(failure.what(), false);
        return Step::GoOn;
    }
    return RunBlock(block, listener, index);
}

const MachineContext& Follower::Follow(std::string_view text) {
    FollowUnit(ProgramUnit(text, dialect_));
    return context_;
}

const MachineContext& Follower::FollowFrom(std::string_view rest, std::uint32_t firstLine,
                                           const MachineContext& context) {
    context_ = context;
    FollowUnit(ProgramUnit(rest, dialect_, firstLine));
    return context_;
}

void Follower::FollowUnit(const ProgramUnit& main) {
    SourceListener listener(listener_);
    flow_ = std::make_unique<ControlFlow>(
        dialect_, context_.parameters, files_,
        [&listener](const std::string& reason, bool stopped) { listener.Report(reason, stopped); });
    flow_->Start(main);
    main_ = &main;
    prereader_.reset();
    if (readAheadFrom_ > 0 && main.HasLine(readAheadFrom_ - 1)) {
        main.LineCount();  // every line known before the second thread reads them
        prereader_ = std::make_unique<BlockPrereader>(main, dialect_);
    }
    struct StopReadingAhead {
        std::unique_ptr<BlockPrereader>& prereader;
        ~StopReadingAhead() { prereader.reset(); }
    } stopReadingAhead{prereader_};
    std::uint64_t blocks = 0;
    std::optional<std::uint32_t> endLine;  // where the main program stopped without M2 or M30
    for (;;) {
        Frame& frame = flow_->Current();
        if (!frame.unit->HasLine(frame.next)) {
            const std::uint32_t last = frame.unit->LineNumber(frame.unit->LineCount() - 1);
            listener.SetWhere(*frame.unit, last, main.LineNumber(flow_->MainIndex()));
            if (flow_->AtUnitEnd())
                continue;
            break;
        }
        const bool inMain = flow_->InMain();
        const std::uint32_t index = frame.next++;
        const Step step = RunLine(listener, index);
        const std::optional<std::uint32_t> returned = flow_->TakeReturnedCall();
        std::optional<std::uint32_t> done;
        if (inMain && flow_->InMain())
            done = index;
        else if (returned)
            done = *returned;
        if (done) {
            const std::uint32_t line = main.LineNumber(*done);
            listener_.OnLineDone(line, context_.modal, context_.position);
            if (afterLine_ && step == Step::GoOn && !afterLine_(line, context_))
                return;
        }
        if (step == Step::Ended || step == Step::Stopped)
            return;
        if (step == Step::Unended) {
            endLine = main.LineNumber(index);
            break;
        }
        if (++blocks >= blockLimit_) {
            listener.Report("stopped after " + std::to_string(blockLimit_) +
                                " blocks: a loop that does not end?",
                            true);
            return;
        }
    }
    if (main.LineCount() > 0) {
        const std::uint32_t last = endLine.value_or(main.LineNumber(main.LineCount() - 1));
        listener.SetWhere(main, last, last);
        listener.Report("the program does not end with M2 or M30", false);
    }
}

}  // namespace qm::interp
