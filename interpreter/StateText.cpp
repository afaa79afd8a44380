#include "StateText.h"

#include <algorithm>
#include <cstdio>

#include "MachineContext.h"
#include "StateWords.h"

namespace qm::interp {
namespace {

std::string Row(bool changed, const std::string& group, const std::string& code,
                const std::string& comment) {
    char row[200];
    std::snprintf(row, sizeof row, "%c %-14s%-14s", changed ? '*' : ' ', group.c_str(),
                  code.c_str());
    std::string text = row + comment;
    while (!text.empty() && text.back() == ' ')
        text.pop_back();
    return text + '\n';
}

// Where the tool stands, in the units the program is in at that line.
std::string Position(const Axes& at, bool inches) {
    std::string text;
    static const char kLetters[] = "XYZABC";
    for (std::size_t axis = 0; axis < kAxisCount; ++axis) {
        const bool linear = axis <= kZ;
        if (!linear && at[axis] == 0)
            continue;  // rotary axes only when a program turns them
        const double value = linear && inches ? at[axis] / kMmPerInch : at[axis];
        text += (text.empty() ? "" : " ") + WordOf(kLetters[axis], value);
    }
    return text;
}

bool Same(const StateWord& a, const StateWord& b) {
    return a.group == b.group && a.code == b.code && a.detail == b.detail;
}

}  // namespace

std::string StateText(const FollowResult& result, std::uint32_t line, Dialect dialect,
                      const CommentOf& commentOf) {
    if (line == 0 || line > result.LineCount()) {
        std::string text = "line " + std::to_string(line) + " was not followed (" +
                           std::to_string(result.LineCount()) + " lines were)\n";
        for (const Problem& problem : result.Problems()) {
            if (problem.stopped)
                text += "stopped at line " + std::to_string(problem.line) + ": " + problem.reason +
                        "\n";
        }
        return text;
    }
    const ModalState& state = result.StateAfter(line);
    // Before the first line, the controller's own start-up state.
    const std::vector<StateWord> before = StateWordsOf(
        line == 1 ? StartContext(dialect).modal : result.StateAfter(line - 1), dialect);
    std::string text;
    for (const StateWord& word : StateWordsOf(state, dialect)) {
        const bool changed = std::none_of(before.begin(), before.end(),
                                          [&](const StateWord& b) { return Same(b, word); });
        const std::string code = word.detail.empty() ? word.code : word.code + " " + word.detail;
        text += Row(changed, word.group, code, commentOf ? commentOf(word.code) : std::string());
    }
    const bool moved = result.MovesUpTo(line) != result.MovesUpTo(line - 1);
    text += Row(moved, "position", Position(result.PositionAfter(line), state.inches), {});
    for (const Problem& problem : result.Problems()) {
        if (problem.line == line && problem.source.empty())
            text += Row(true, "problem", problem.reason, {});
    }
    // What a reader of the program cannot know is taken as zero; the state says so.
    text +=
        "(work offsets, tool lengths and radii and the G28/G30 positions the program does "
        "not set are taken as zero)\n";
    return text;
}

}  // namespace qm::interp
