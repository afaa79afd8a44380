#include "Follower.h"

#include "BlockExecutor.h"
#include "BlockReader.h"
#include "ContextValues.h"
#include "Expression.h"

namespace qm::interp {

bool Follower::FollowLine(std::string_view line, std::uint32_t number) {
    Block block;
    try {
        block = ReadBlock(line, dialect_, ContextValues(context_));
    } catch (const ReadFailure& failure) {
        listener_.OnProblem({number, failure.what(), false});
        return true;
    }
    for (const Assignment& assignment : block.assignments) {
        if (!assignment.name.empty()) {
            context_.parameters.SetNamed(assignment.name, assignment.value);
        } else {
            const bool length = IsLengthParameter(assignment.number) && context_.modal.inches;
            context_.parameters.SetNumbered(
                assignment.number, length ? assignment.value * kMmPerInch : assignment.value);
        }
    }
    if (block.flow.kind != FlowKind::None && block.flow.kind != FlowKind::ProgramHead) {
        listener_.OnProblem(
            {number, "control flow (O-words, WHILE, IF, GOTO) is not followed yet", false});
        return true;
    }
    BlockExecutor executor(context_, dialect_, listener_);
    executor.Execute(block, number);
    return !executor.Ended();
}

const MachineContext& Follower::Follow(std::string_view text) {
    std::uint32_t number = 0;
    std::size_t start = 0;
    std::uint64_t blocks = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos)
            end = text.size();
        ++number;
        const bool goOn = FollowLine(text.substr(start, end - start), number);
        listener_.OnLineDone(number, context_.modal, context_.position);
        start = end + 1;
        if (!goOn) {
            ended_ = true;
            return context_;
        }
        if (++blocks >= kBlockLimit) {
            listener_.OnProblem({number, "stopped after 20,000,000 blocks", true});
            return context_;
        }
    }
    if (number > 0)
        listener_.OnProblem({number, "the program does not end with M2 or M30", false});
    return context_;
}

}  // namespace qm::interp
