#include "ControlFlow.h"

#include <cctype>
#include <cmath>
#include <stdexcept>

namespace qm::interp {
namespace {

std::string OName(const std::string& label) {
    return "o" + label;
}

// Macro B arguments of the first kind: the local each argument letter of G65 sets.
int LocalOfArgument(char letter) {
    switch (letter) {
        case 'A':
            return 1;
        case 'B':
            return 2;
        case 'C':
            return 3;
        case 'I':
            return 4;
        case 'J':
            return 5;
        case 'K':
            return 6;
        case 'D':
            return 7;
        case 'E':
            return 8;
        case 'F':
            return 9;
        case 'H':
            return 11;
        case 'M':
            return 13;
        case 'Q':
            return 17;
        case 'R':
            return 18;
        case 'S':
            return 19;
        case 'T':
            return 20;
        case 'U':
            return 21;
        case 'V':
            return 22;
        case 'W':
            return 23;
        case 'X':
            return 24;
        case 'Y':
            return 25;
        case 'Z':
            return 26;
        default:
            return 0;  // G, L, N, O, P are not arguments
    }
}

// The file name LinuxCNC looks for: the name of "<NAME>" in lower case.
std::string LowerName(const std::string& label) {
    std::string name = label.substr(1, label.size() - 2);
    for (char& c : name)
        c = char(std::tolower(static_cast<unsigned char>(c)));
    return name;
}

}  // namespace

void ControlFlow::Start(const ProgramUnit& main) {
    main_ = &main;
    frames_.assign(1, Frame{});
    frames_[0].unit = &main;
}

std::uint32_t ControlFlow::MainIndex() const {
    for (auto frame = frames_.rbegin(); frame != frames_.rend(); ++frame)
        if (frame->unit == main_ && frame->next > 0)
            return frame->next - 1;
    return 0;
}

std::optional<std::uint32_t> ControlFlow::TakeReturnedCall() {
    const auto line = returnedCall_;
    returnedCall_.reset();
    return line;
}

void ControlFlow::Jump(std::optional<std::uint32_t> target, std::uint32_t offset,
                       const std::string& missing) {
    if (target) {
        Current().next = *target + offset;
    } else {
        report_(missing, false);
    }
}

ControlFlow::Outcome ControlFlow::Run(const Block& block, std::uint32_t index) {
    if (dialect_ == Dialect::Rs274ngc)
        return block.flow.kind == FlowKind::None ? Outcome::GoOn : RunOWord(block.flow, index);
    return RunMacro(block, index);
}

const ProgramUnit* ControlFlow::FileUnit(const std::string& label) {
    const auto known = fileUnits_.find(label);
    if (known != fileUnits_.end())
        return known->second.get();
    if (!files_)
        return nullptr;
    std::optional<SubprogramText> file;
    try {
        file = files_->Find(dialect_, label);
    } catch (const std::exception& failure) {
        report_(failure.what(), false);
    }
    if (!file)
        return fileUnits_.emplace(label, nullptr).first->second.get();
    auto unit = std::make_unique<ProgramUnit>(std::move(file->text), dialect_, file->name);
    return fileUnits_.emplace(label, std::move(unit)).first->second.get();
}

ControlFlow::Outcome ControlFlow::Call(const std::string& label,
                                       const std::vector<double>& arguments) {
    if (Depth() >= kDepthLimit) {
        report_("calls nested deeper than " + std::to_string(kDepthLimit) + " (a recursion?)",
                true);
        return Outcome::Stopped;
    }
    const ProgramUnit* unit = Current().unit;
    std::optional<std::uint32_t> sub = unit->Sub(label);
    if (!sub && unit != main_) {
        unit = main_;
        sub = unit->Sub(label);
    }
    if (!sub) {
        unit = label.starts_with("<") ? FileUnit(label) : nullptr;
        if (!unit) {
            report_(
                "no subroutine " + OName(label) + " in the program" +
                    (label.starts_with("<") ? " nor a file " + LowerName(label) + ".ngc beside it"
                                            : ""),
                false);
            return Outcome::GoOn;
        }
        sub = unit->Sub(label);
    }
    const std::uint32_t callerLine = Current().next - 1;
    Frame frame;
    frame.unit = unit;
    frame.next = frame.start = sub ? *sub + 1 : 0;
    frame.callerLine = callerLine;
    frame.ownLocals = true;
    parameters_.EnterCall(arguments);
    frames_.push_back(std::move(frame));
    return Outcome::GoOn;
}

void ControlFlow::Return(std::optional<int> sequence) {
    Frame& frame = Current();
    if (--frame.timesLeft > 0) {
        frame.next = frame.start;
        return;
    }
    if (frame.ownLocals)
        parameters_.LeaveCall();
    const std::uint32_t callerLine = frame.callerLine;
    frames_.pop_back();
    if (sequence) {
        Jump(Current().unit->Sequence(callerLine, *sequence), 0,
             "M99 P" + std::to_string(*sequence) + ": no block N" + std::to_string(*sequence));
    }
    if (InMain())
        returnedCall_ = callerLine;
}

void ControlFlow::Loop(const Flow& flow, std::uint32_t index) {
    const ProgramUnit& unit = *Current().unit;
    const std::string& label = flow.label;
    const std::string name = OName(label);
    switch (flow.kind) {
        case FlowKind::While: {
            const auto before =
                unit.Previous(index, label, {FlowKind::Do, FlowKind::While, FlowKind::EndWhile});
            const bool doTail = before && unit.Previous(index, label, {FlowKind::Do}) == before;
            if (doTail) {
                if (flow.condition != 0.0)
                    Current().next = *before + 1;
            } else if (flow.condition == 0.0) {
                Jump(unit.Next(index, label, {FlowKind::EndWhile}), 1,
                     name + " while has no endwhile");
            }
            break;
        }
        case FlowKind::EndWhile:
            Jump(unit.Previous(index, label, {FlowKind::While}), 0,
                 name + " endwhile has no while");
            break;
        case FlowKind::Repeat:
            if (flow.condition >= 1.0) {
                Current().repeats.emplace_back(label, long(flow.condition));
            } else {
                Jump(unit.Next(index, label, {FlowKind::EndRepeat}), 1,
                     name + " repeat has no endrepeat");
            }
            break;
        case FlowKind::EndRepeat: {
            auto& repeats = Current().repeats;
            if (repeats.empty() || repeats.back().first != label) {
                report_(name + " endrepeat has no repeat", false);
            } else if (--repeats.back().second > 0) {
                Jump(unit.Previous(index, label, {FlowKind::Repeat}), 1,
                     name + " endrepeat has no repeat");
            } else {
                repeats.pop_back();
            }
            break;
        }
        case FlowKind::Break: {
            const auto end =
                unit.Next(index, label, {FlowKind::EndWhile, FlowKind::EndRepeat, FlowKind::While});
            auto& repeats = Current().repeats;
            if (end && !repeats.empty() && repeats.back().first == label)
                repeats.pop_back();
            Jump(end, 1, name + " break is not inside a loop " + name);
            break;
        }
        case FlowKind::Continue: {
            const auto head =
                unit.Previous(index, label, {FlowKind::Do, FlowKind::While, FlowKind::Repeat});
            const auto headKind = [&](FlowKind kind) {
                return head && unit.Previous(index, label, {kind}) == head;
            };
            if (headKind(FlowKind::While)) {
                Current().next = *head;
            } else if (headKind(FlowKind::Do)) {
                Jump(unit.Next(index, label, {FlowKind::While}), 0, name + " do has no while");
            } else if (headKind(FlowKind::Repeat)) {
                Jump(unit.Next(index, label, {FlowKind::EndRepeat}), 0,
                     name + " repeat has no endrepeat");
            } else {
                report_(name + " continue is not inside a loop " + name, false);
            }
            break;
        }
        default:
            break;
    }
}

ControlFlow::Outcome ControlFlow::RunOWord(const Flow& flow, std::uint32_t index) {
    const ProgramUnit& unit = *Current().unit;
    const std::string& label = flow.label;
    const std::string name = OName(label);
    auto& taken = Current().branchTaken;
    switch (flow.kind) {
        case FlowKind::Sub:
            if (!unit.Next(index, label, {FlowKind::EndSub})) {
                report_(name + " sub has no endsub", true);
                return Outcome::Stopped;
            }
            Current().next = *unit.Next(index, label, {FlowKind::EndSub}) + 1;
            return Outcome::GoOn;
        case FlowKind::EndSub:
        case FlowKind::Return:
            if (InMain()) {
                report_(name + (flow.kind == FlowKind::Return ? " return" : " endsub") +
                            " outside a subroutine",
                        false);
                return Outcome::GoOn;
            }
            if (flow.hasValue)
                parameters_.SetNamed("_VALUE", flow.condition);
            Current().timesLeft = 1;
            Return();
            return Outcome::GoOn;
        case FlowKind::Call:
            return Call(label, flow.arguments);
        case FlowKind::If:
            taken[label] = flow.condition != 0.0;
            if (!taken[label]) {
                Jump(unit.Next(index, label, {FlowKind::ElseIf, FlowKind::Else, FlowKind::EndIf}),
                     0, name + " if has no endif");
            }
            return Outcome::GoOn;
        case FlowKind::ElseIf:
        case FlowKind::Else:
            if (taken[label]) {
                Jump(unit.Next(index, label, {FlowKind::EndIf}), 1, name + " if has no endif");
            } else if (flow.kind == FlowKind::ElseIf) {
                taken[label] = flow.condition != 0.0;
                if (!taken[label]) {
                    Jump(unit.Next(index, label,
                                   {FlowKind::ElseIf, FlowKind::Else, FlowKind::EndIf}),
                         0, name + " if has no endif");
                }
            }
            return Outcome::GoOn;
        case FlowKind::EndIf:
            taken.erase(label);
            return Outcome::GoOn;
        case FlowKind::Do:
            return Outcome::GoOn;
        default:
            Loop(flow, index);
            return Outcome::GoOn;
    }
}

ControlFlow::Outcome ControlFlow::CallProgram(const Block& block, bool macro) {
    if (!block.Has('P')) {
        report_(std::string(macro ? "G65" : "M98") + " needs P and a program number", false);
        return Outcome::GoOn;
    }
    if (Depth() >= kDepthLimit) {
        report_("calls nested deeper than " + std::to_string(kDepthLimit) + " (a recursion?)",
                true);
        return Outcome::Stopped;
    }
    long p = std::lround(block.Get('P'));
    long times = long(block.Find('L').value_or(block.Find('K').value_or(1)));
    if (!macro && !block.Has('L') && !block.Has('K') && p > 9999) {
        times = p / 10000;  // M98 P30010: three times O0010
        p %= 10000;
    }
    const int number = int(p);
    const ProgramUnit* unit = Current().unit;
    std::optional<std::uint32_t> head = unit->ProgramHead(number);
    if (!head && unit != main_)
        head = (unit = main_)->ProgramHead(number);
    if (!head) {
        unit = FileUnit(std::to_string(number));
        if (!unit) {
            report_("no program O" + std::to_string(number) + " in the file nor a file O" +
                        std::to_string(number) + " beside it",
                    false);
            return Outcome::GoOn;
        }
        head = unit->ProgramHead(number);
    }
    if (times < 1)
        return Outcome::GoOn;
    Frame frame;
    frame.unit = unit;
    frame.next = frame.start = head ? *head + 1 : 0;
    frame.callerLine = Current().next - 1;
    frame.timesLeft = int(std::min<long>(times, 9999));
    frame.ownLocals = macro;
    if (macro) {
        std::array<std::optional<double>, Parameters::kLocalCount> locals;
        for (char letter = 'A'; letter <= 'Z'; ++letter) {
            const int local = LocalOfArgument(letter);
            if (local && block.Has(letter))
                locals[std::size_t(local - 1)] = block.Get(letter);
        }
        if (!block.mCodes.empty())
            locals[13 - 1] = block.mCodes.front();  // the reader took M for an M code

        parameters_.EnterCall(locals);
    }
    frames_.push_back(std::move(frame));
    return Outcome::GoOn;
}

ControlFlow::Outcome ControlFlow::RunMacro(const Block& block, std::uint32_t index) {
    const ProgramUnit& unit = *Current().unit;
    const Flow& flow = block.flow;
    const std::string number = std::to_string(flow.number);
    switch (flow.kind) {
        case FlowKind::ProgramHead:
            if (InMain()) {
                if (mainHeadSeen_)
                    return Outcome::Unended;  // the main program ran into the next program
                mainHeadSeen_ = true;
            } else if (index + 1 != Current().start) {
                report_("the subprogram ends without M99", false);
                Current().timesLeft = 1;
                Return();
                return Outcome::GoOn;
            }
            break;
        case FlowKind::MacroWhile:
            if (flow.condition == 0.0) {
                Jump(unit.NextNumbered(index, FlowKind::MacroEnd, flow.number), 1,
                     "DO" + number + " has no END" + number);
            }
            break;
        case FlowKind::MacroEnd:
            Jump(unit.PreviousNumbered(index, FlowKind::MacroWhile, flow.number), 0,
                 "END" + number + " has no DO" + number);
            break;
        case FlowKind::MacroIfGoto:
            if (flow.condition == 0.0)
                break;
            [[fallthrough]];
        case FlowKind::MacroGoto:
            Jump(unit.Sequence(index, flow.number), 0, "GOTO" + number + ": no block N" + number);
            break;
        default:
            break;
    }
    if (block.HasG(650))
        return CallProgram(block, true);
    if (block.HasM(98))
        return CallProgram(block, false);
    if (block.HasM(99)) {
        if (InMain()) {
            report_("M99 in the main program starts it again and again: followed once", false);
            return Outcome::Stopped;
        }
        Return(block.Has('P') ? std::optional<int>(int(block.Get('P'))) : std::nullopt);
    }
    return Outcome::GoOn;
}

bool ControlFlow::AtUnitEnd() {
    if (InMain())
        return false;
    report_(dialect_ == Dialect::Fanuc ? "the subprogram ends without M99"
                                       : "the subroutine ends without endsub",
            false);
    Current().timesLeft = 1;
    Return();
    return true;
}

}  // namespace qm::interp
