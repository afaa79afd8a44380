#include "BlockExecutor.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <string>

#include "Arcs.h"
#include "CannedCycles.h"

namespace qm::interp {
namespace {

constexpr const char* kAxisLetters = "XYZABC";

enum class Group {
    Motion,
    Plane,
    Distance,
    ArcDistance,
    FeedMode,
    Units,
    Cutter,
    ToolLength,
    Work,
    Return,
    NonModal,
    Path,
    SpindleMode,
    Unknown
};

Group GroupOf(int g, Dialect dialect) {
    switch (g) {
        case 0:
        case 10:
        case 20:
        case 30:
        case 382:
        case 383:
        case 384:
        case 385:
        case 730:
        case 760:
        case 800:
        case 810:
        case 820:
        case 830:
        case 840:
        case 850:
        case 860:
        case 870:
        case 880:
        case 890:
            return Group::Motion;
        case 740:
            return dialect == Dialect::Fanuc ? Group::Motion : Group::Unknown;
        case 170:
        case 180:
        case 190:
            return Group::Plane;
        case 900:
        case 910:
            return Group::Distance;
        case 901:
        case 911:
            return dialect == Dialect::Rs274ngc ? Group::ArcDistance : Group::Unknown;
        case 930:
        case 940:
        case 950:
            return Group::FeedMode;
        case 200:
        case 210:
            return Group::Units;
        case 400:
        case 410:
        case 420:
            return Group::Cutter;
        case 430:
        case 431:
        case 440:
        case 490:
            return Group::ToolLength;
        case 540:
        case 550:
        case 560:
        case 570:
        case 580:
        case 590:
            return Group::Work;
        case 591:
        case 592:
        case 593:
            return dialect == Dialect::Rs274ngc ? Group::Work : Group::Unknown;
        case 541:
            return dialect == Dialect::Fanuc ? Group::Work : Group::Unknown;
        case 650:
            return dialect == Dialect::Fanuc ? Group::NonModal : Group::Unknown;
        case 980:
        case 990:
            return Group::Return;
        case 40:
        case 100:
        case 280:
        case 281:
        case 300:
        case 301:
        case 530:
        case 920:
        case 921:
        case 922:
        case 923:
            return Group::NonModal;
        case 610:
        case 611:
        case 640:
            return Group::Path;
        case 960:
        case 970:
            return Group::SpindleMode;
        default:
            return Group::Unknown;
    }
}

std::string GName(int g) {
    std::string name = "G" + std::to_string(g / 10);
    if (g % 10)
        name += "." + std::to_string(g % 10);
    return name;
}

bool KnownM(int m, Dialect dialect) {
    if (dialect == Dialect::Rs274ngc &&
        ((m >= 50 && m <= 53) || (m >= 61 && m <= 73 && m != 69) || (m >= 100 && m <= 199))) {
        return true;  // overrides, tool set, I/O, modal state, the machine's own M100-M199
    }
    switch (m) {
        case 19:
            return true;
        case 0:
        case 1:
        case 2:
        case 3:
        case 4:
        case 5:
        case 6:
        case 7:
        case 8:
        case 9:
        case 30:
        case 48:
        case 49:
        case 60:
            return true;
        case 29:
        case 98:
        case 99:
            return dialect == Dialect::Fanuc;
        default:
            return false;
    }
}

// Codes of the dialect whose moves are not worked out: splines, spindle-synchronised motion,
// lathe cycles and modes. Straight ones (true) are shown as a feed to their end.
std::optional<bool> NotFollowed(int g, Dialect dialect) {
    if (dialect != Dialect::Rs274ngc)
        return std::nullopt;
    switch (g) {
        case 50:
        case 51:
        case 52:
        case 53:
        case 330:
        case 331:
            return true;
        case 70:
        case 80:
        case 411:
        case 421:
        case 432:
        case 700:
        case 710:
        case 711:
        case 712:
        case 720:
        case 721:
        case 722:
        case 760:
            return false;
        default:
            return std::nullopt;
    }
}

}  // namespace

void BlockExecutor::CheckCodes(const Block& block) {
    bool seen[int(Group::Unknown) + 1] = {};
    bool seenG80 = false;  // G80 may stand beside the motion code that follows it
    for (const int g : block.gCodes) {
        if (const auto straight = NotFollowed(g, dialect_)) {
            motion_.Report(GName(g) + (*straight ? " is shown as a straight feed to its end"
                                                 : " is not followed: its moves are not shown"));
            continue;
        }
        const Group group = GroupOf(g, dialect_);
        if (group == Group::Unknown) {
            motion_.Report(GName(g) + " is not a G code of " + std::string(DialectName(dialect_)));
            continue;
        }
        const bool cyclesOff = group == Group::Motion && (g == 800 || seenG80);
        seenG80 |= g == 800;
        if (seen[int(group)] && group != Group::NonModal && !cyclesOff) {
            motion_.Report("two G codes of one modal group in a block (" + GName(g) + ")");
        }
        seen[int(group)] = true;
    }
    if (dialect_ == Dialect::Rs274ngc && (block.Has('U') || block.Has('V') || block.Has('W'))) {
        motion_.Report("the U, V and W axes are not followed");
    }
    int stops = 0, spindles = 0, coolants = 0;
    for (const int m : block.mCodes) {
        if (!KnownM(m, dialect_))
            motion_.Report("M" + std::to_string(m) + " is not an M code of " +
                           std::string(DialectName(dialect_)));
        stops += m == 0 || m == 1 || m == 2 || m == 30 || m == 60;
        spindles += m >= 3 && m <= 5;
        coolants += m == 7 || m == 8 || m == 9;
    }
    if (stops > 1 || spindles > 1 || coolants > 2) {
        motion_.Report("two M codes of one modal group in a block");
    }
}

void BlockExecutor::Execute(const Block& block, std::uint32_t line) {
    motion_.SetLine(line);
    CheckCodes(block);
    Settings(block);
    Modes(block);
    OffsetCommands(block);
    MotionOf(block);
    Stops(block);
}

void BlockExecutor::Settings(const Block& block) {
    ModalState& modal = context_.modal;
    if (block.HasG(930))
        modal.feedMode = FeedMode::InverseTime;
    if (block.HasG(940))
        modal.feedMode = FeedMode::PerMinute;
    if (block.HasG(950))
        modal.feedMode = FeedMode::PerRevolution;
    if (block.Has('F'))
        context_.feedMissingTold = false;
    if (block.Has('F'))
        modal.feed = block.Get('F') * (modal.feedMode == FeedMode::InverseTime
                                           ? 1.0
                                           : UnitScale(modal, kX));  // before G20/G21
    if (block.Has('S'))
        modal.speed = block.Get('S');
    if (block.Has('T'))
        modal.tool = int(block.Get('T'));
    if (block.HasM(6)) {
        modal.toolInSpindle = modal.tool;
        motion_.Listener().OnToolChange(motion_.Line(), modal.tool);
    }
    if (block.HasM(3))
        modal.spindle = Spindle::Clockwise;
    if (block.HasM(4))
        modal.spindle = Spindle::CounterClockwise;
    if (block.HasM(5))
        modal.spindle = Spindle::Stopped;
    if (block.HasM(7))
        modal.mist = true;
    if (block.HasM(8))
        modal.flood = true;
    if (block.HasM(9))
        modal.mist = modal.flood = false;
    if (block.HasG(960))
        modal.constantSurfaceSpeed = true;
    if (block.HasG(970))
        modal.constantSurfaceSpeed = false;
    if (block.HasG(40)) {
        const double p = block.Find('P').value_or(block.Find('X').value_or(0));
        motion_.Dwell(dialect_ == Dialect::Fanuc && block.Has('P') ? p / 1000.0 : p);
    }
}

void BlockExecutor::Modes(const Block& block) {
    ModalState& modal = context_.modal;
    for (const int g : block.gCodes) {
        switch (g) {
            case 170:
                modal.plane = Plane::XY;
                break;
            case 180:
                modal.plane = Plane::ZX;
                break;
            case 190:
                modal.plane = Plane::YZ;
                break;
            case 200:
                modal.inches = true;
                break;
            case 210:
                modal.inches = false;
                break;
            default:
                break;
        }
    }
    for (const int g : block.gCodes) {
        switch (g) {
            case 400:
                modal.cutterComp = 400;
                modal.dNumber = 0;
                break;
            case 410:
            case 420:
                modal.cutterComp = g;
                if (!block.Has('D') && dialect_ == Dialect::Fanuc) {
                    motion_.Report(GName(g) + " needs a D word (the tool radius offset)");
                }
                modal.dNumber = int(block.Find('D').value_or(modal.toolInSpindle));
                break;
            case 430:
            case 440: {
                const int h = int(block.Find('H').value_or(modal.toolInSpindle));
                modal.toolLengthMode = g;
                modal.hNumber = h;
                const double length = context_.parameters.Numbered(param::kToolLengthBase + h);
                modal.toolLength = g == 440 ? -length : length;
                break;
            }
            case 431:
                modal.toolLengthMode = g;
                modal.toolLength = block.Find('Z').value_or(0) * UnitScale(modal, kZ);
                break;
            case 490:
                modal.toolLengthMode = 490;
                modal.hNumber = 0;
                modal.toolLength = 0;
                break;
            case 540:
            case 550:
            case 560:
            case 570:
            case 580:
            case 590:
            case 591:
            case 592:
            case 593:
                modal.workOffset = g;
                modal.extraOffset = 0;
                break;
            case 541:
                modal.workOffset = g;
                modal.extraOffset = std::clamp(int(block.Find('P').value_or(1)), 1, 48);
                break;
            case 900:
                modal.incremental = false;
                break;
            case 910:
                modal.incremental = true;
                break;
            case 901:
                modal.arcIncremental = false;
                break;
            case 911:
                modal.arcIncremental = true;
                break;
            case 980:
                modal.returnLevel = ReturnLevel::Initial;
                break;
            case 990:
                modal.returnLevel = ReturnLevel::RPlane;
                break;
            default:
                break;
        }
    }
}

int BlockExecutor::NonModal(const Block& block) const {
    for (const int g : block.gCodes) {
        if (g == 100 || g == 280 || g == 281 || g == 300 || g == 301 || g == 920 || g == 921 ||
            g == 922 || g == 923 || g == 530) {
            return g;
        }
    }
    return 0;
}

void BlockExecutor::OffsetCommands(const Block& block) {
    ModalState& modal = context_.modal;
    Parameters& params = context_.parameters;
    const int code = NonModal(block);
    if (code == 100) {
        const int l = int(block.Find('L').value_or(0));
        const int p = int(block.Find('P').value_or(0));
        if (l == 2 || l == 20) {
            const int base = p == 0 ? param::WorkOffsetBase(modal.workOffset, modal.extraOffset)
                                    : param::kG54 + 20 * (p - 1);
            const Axes current = context_.position;
            Axes others = OffsetsOf(context_);
            for (std::size_t a = 0; a < kAxisCount; ++a) {
                others[a] -= params.Numbered(
                    param::WorkOffsetBase(modal.workOffset, modal.extraOffset) + int(a));
            }
            for (std::size_t a = 0; a < kAxisCount; ++a) {
                const auto v = block.Find(kAxisLetters[a]);
                if (!v)
                    continue;
                const double mm = *v * UnitScale(modal, Axis(a));
                params.SetNumbered(base + int(a), l == 2 ? mm : current[a] - others[a] - mm);
            }
        } else if (l == 1 || l == 10 || l == 11) {
            // Tool lengths: RS274NGC G10 L1 P<tool> Z, Fanuc G10 L10/L11 P<H> R.
            const double value = l == 1 ? block.Find('Z').value_or(0) : block.Find('R').value_or(0);
            params.SetNumbered(param::kToolLengthBase + p, value * UnitScale(modal, kZ));
        } else {
            motion_.Report("G10 L" + std::to_string(l) + " is not followed");
        }
    } else if (code == 920) {
        const Axes offsets = OffsetsOf(context_);
        for (std::size_t a = 0; a < kAxisCount; ++a) {
            const double g92 = modal.g92Active ? params.Numbered(param::kG92 + int(a)) : 0.0;
            const auto v = block.Find(kAxisLetters[a]);
            const double keep = modal.g92Active ? g92 : 0.0;
            params.SetNumbered(param::kG92 + int(a), v ? context_.position[a] - (offsets[a] - g92) -
                                                             *v * UnitScale(modal, Axis(a))
                                                       : keep);
        }
        modal.g92Active = true;
    } else if (code == 921) {
        for (int a = 0; a < int(kAxisCount); ++a)
            params.SetNumbered(param::kG92 + a, 0);
        modal.g92Active = false;
    } else if (code == 922) {
        modal.g92Active = false;
    } else if (code == 923) {
        modal.g92Active = true;
    } else if (code == 281 || code == 301) {
        const int base = code == 281 ? param::kG28 : param::kG30;
        for (int a = 0; a < int(kAxisCount); ++a)
            params.SetNumbered(base + a, context_.position[std::size_t(a)]);
    } else if (code == 280 || code == 300) {
        Homes(block, code);
    }
}

void BlockExecutor::Homes(const Block& block, int code) {
    const int base = code == 280 ? param::kG28 : param::kG30;
    bool any = false;
    for (std::size_t a = 0; a < kAxisCount; ++a)
        any |= block.Has(kAxisLetters[a]);
    motion_.Rapid(Target(block, false));  // the point it goes through, where it stands if none
    Axes home = context_.position;
    for (std::size_t a = 0; a < kAxisCount; ++a) {
        if (!any || block.Has(kAxisLetters[a]))
            home[a] = context_.parameters.Numbered(base + int(a));
    }
    motion_.Rapid(home);
}

// Polar words: the radius and angle (degrees) of X and Y about the origin of the program's
// coordinates, taken from where the tool stands for those not given, added to them with G91.
void BlockExecutor::ApplyPolar(const Block& block, const Axes& offsets, Axes& target) const {
    const ModalState& modal = context_.modal;
    const double scale = UnitScale(modal, kX);
    const double x = (target[kX] - offsets[kX]) / scale, y = (target[kY] - offsets[kY]) / scale;
    constexpr double kDegree = 3.14159265358979323846 / 180.0;
    double radius = std::hypot(x, y), angle = std::atan2(y, x) / kDegree;
    if (modal.incremental) {
        radius += block.polarRadius.value_or(0);
        angle += block.polarAngle.value_or(0);
    } else {
        radius = block.polarRadius.value_or(radius);
        angle = block.polarAngle.value_or(angle);
    }
    target[kX] = radius * std::cos(angle * kDegree) * scale + offsets[kX];
    target[kY] = radius * std::sin(angle * kDegree) * scale + offsets[kY];
}

Axes BlockExecutor::Target(const Block& block, bool machine) const {
    const ModalState& modal = context_.modal;
    const Axes offsets = OffsetsOf(context_);
    Axes target = context_.position;
    if (block.polarRadius || block.polarAngle)
        ApplyPolar(block, offsets, target);
    for (std::size_t a = 0; a < kAxisCount; ++a) {
        const auto v = block.Find(kAxisLetters[a]);
        if (!v)
            continue;
        const double mm = *v * UnitScale(modal, Axis(a));
        if (machine) {
            target[a] = mm;
        } else if (modal.incremental) {
            target[a] = context_.position[a] + mm;
        } else {
            target[a] = mm + offsets[a];
        }
    }
    return target;
}

static bool IsCycle(int motion) {
    return motion >= 730 && motion != 800;
}

void BlockExecutor::MotionOf(const Block& block) {
    ModalState& modal = context_.modal;
    const bool wasCycle = IsCycle(modal.motion);
    // G80 beside another motion code: the other one is the mode (G80 G0 X1 is a rapid).
    int motion = -1;
    for (const int g : block.gCodes) {
        if (GroupOf(g, dialect_) == Group::Motion && !NotFollowed(g, dialect_) &&
            (motion < 0 || motion == 800))
            motion = g;
    }
    if (motion >= 0) {
        if (motion != modal.motion)
            modal.cycleHasR = modal.cycleHasZ = false;
        modal.motion = motion;
    }
    if (!wasCycle && IsCycle(modal.motion)) {
        // The level a G98 cycle returns to: where the tool stood as the cycles began.
        modal.cycleInitial = context_.position[AxesOf(modal.plane).normal];
    }
    for (const int g : block.gCodes) {
        if (const auto straight = NotFollowed(g, dialect_)) {
            if (*straight)
                motion_.Feed(Target(block, NonModal(block) == 530));
            return;  // its axis words are its own
        }
    }
    const int nonModal = NonModal(block);
    if (nonModal == 100 || nonModal == 280 || nonModal == 300 ||
        (nonModal >= 920 && nonModal <= 923) || block.HasG(431)) {
        return;  // the axis words belonged to the offset command, the home or G43.1
    }
    bool axes = false;
    for (std::size_t a = 0; a < kAxisCount; ++a)
        axes |= block.Has(kAxisLetters[a]);
    axes |= block.polarRadius || block.polarAngle;
    bool motionWord = false;
    for (const int g : block.gCodes)
        motionWord |= GroupOf(g, dialect_) == Group::Motion && g != 800;
    if (!axes && !motionWord)
        return;
    if (!axes && modal.motion >= 730) {
        if (!motionWord)
            return;
    }
    const bool machine = nonModal == 530;
    switch (modal.motion) {
        case 0:
            Straight(block, true);
            break;
        case 10:  // "G1" alone is a move that stands still, as LinuxCNC makes it
            Straight(block, false);
            break;
        case 382:
        case 383:
        case 384:
        case 385:
            if (axes)
                Straight(block, false);
            break;
        case 20:
        case 30:
            ArcMove(block, modal.motion == 20);
            break;
        case 800:
            if (axes)
                motion_.Report("axis words with G80 and no motion");
            break;
        default:
            if (machine)
                motion_.Report("G53 with a canned cycle");
            CannedCycle(block);
            break;
    }
}

void BlockExecutor::Straight(const Block& block, bool rapid) {
    const bool machine = NonModal(block) == 530;
    const Axes end = Target(block, machine);
    if (rapid) {
        motion_.Rapid(end);
        return;
    }
    if (motion_.FeedRate(1.0) <= 0.0)
        ReportNoFeed();
    motion_.Feed(end);
}

void BlockExecutor::ArcMove(const Block& block, bool clockwise) {
    const ModalState& modal = context_.modal;
    ArcWords words;
    words.start = context_.position;
    words.end = Target(block, false);
    words.plane = modal.plane;
    words.clockwise = clockwise;
    words.inches = modal.inches;
    if (block.Has('R'))
        words.radius = block.Get('R') * UnitScale(modal, kX);
    const Axes offsets = OffsetsOf(context_);
    const char centreLetters[3] = {'I', 'J', 'K'};
    for (std::size_t a = 0; a < 3; ++a) {
        const auto v = block.Find(centreLetters[a]);
        words.centreGiven[a] = v.has_value();
        const double mm = v.value_or(0) * UnitScale(modal, Axis(a));
        const bool incremental = dialect_ == Dialect::Fanuc || modal.arcIncremental;
        words.centre[a] =
            incremental ? words.start[a] + mm : (v ? mm + offsets[a] : words.start[a]);
    }
    const double p = block.Find('P').value_or(1);
    words.turns = p == std::floor(p) ? int(p) : 0;
    const ArcPath path = PlanArc(words);
    if (!path.problem.empty()) {
        motion_.Report(path.problem);
        context_.position = words.end;
        return;
    }
    if (motion_.FeedRate(1.0) <= 0.0)
        ReportNoFeed();
    motion_.Arc(words.end, path.centre, path.turns, words.plane);
}

void BlockExecutor::CannedCycle(const Block& block) {
    ModalState& modal = context_.modal;
    const PlaneAxes axes = AxesOf(modal.plane);
    const Axis depth = axes.normal;
    const char depthLetter = kAxisLetters[depth];
    const double scale = UnitScale(modal, depth);
    const Axes offsets = OffsetsOf(context_);
    // The level the tool travels to the hole at: the initial level with G98, else where it is.
    double travel =
        modal.returnLevel == ReturnLevel::Initial ? modal.cycleInitial : context_.position[depth];
    if (block.Has('R'))
        modal.cycleR = block.Get('R'), modal.cycleHasR = true;
    if (block.Has(depthLetter))
        modal.cycleZ = block.Get(depthLetter), modal.cycleHasZ = true;
    if (block.Has('Q'))
        modal.cycleQ = block.Get('Q');
    if (block.Has('P'))
        modal.cycleP = block.Get('P');
    if (!modal.cycleHasR || !modal.cycleHasZ) {
        motion_.Report(std::string("a canned cycle needs ") + (modal.cycleHasR ? "" : "R") +
                       (!modal.cycleHasR && !modal.cycleHasZ ? " and " : "") +
                       (modal.cycleHasZ ? "" : std::string(1, depthLetter)));
        return;
    }
    if (modal.feed <= 0)
        ReportNoFeed();
    CycleHole hole;
    hole.code = modal.motion;
    hole.depthAxis = depth;
    const double r =
        modal.incremental ? travel + modal.cycleR * scale : modal.cycleR * scale + offsets[depth];
    hole.r = r;
    hole.bottom =
        modal.incremental ? r + modal.cycleZ * scale : modal.cycleZ * scale + offsets[depth];
    hole.peck = modal.cycleQ * scale;
    hole.pullBack = modal.inches ? 0.010 * kMmPerInch : 0.254;
    hole.dwellSeconds = dialect_ == Dialect::Fanuc ? modal.cycleP / 1000.0 : modal.cycleP;
    const double repeats =
        block.Find(dialect_ == Dialect::Fanuc && block.Has('K') ? 'K' : 'L').value_or(1);
    if (travel < r) {
        // Below R: up to it where the tool stands first.
        Axes p = context_.position;
        p[depth] = travel = r;
        motion_.Rapid(p);
    }
    hole.clear = modal.returnLevel == ReturnLevel::RPlane ? r : travel;
    for (const Axis a : {axes.first, axes.second}) {
        const char letter = "IJK"[a];
        hole.shift[a] = block.Find(letter).value_or(0) * UnitScale(modal, a);
    }
    const char middleLetter = "IJK"[depth];
    if (block.Has(middleLetter)) {
        const double k = block.Get(middleLetter) * scale;
        hole.middle = modal.incremental ? hole.bottom + k : k + offsets[depth];
    }
    Axes at = context_.position;
    for (int i = 0; i < int(repeats); ++i) {
        if (block.polarRadius || block.polarAngle)
            ApplyPolar(block, offsets, at);
        for (const Axis a : {axes.first, axes.second}) {
            const auto v = block.Find(kAxisLetters[a]);
            if (!v)
                continue;
            const double mm = *v * UnitScale(modal, a);
            at[a] = modal.incremental ? at[a] + mm : mm + offsets[a];
        }
        hole.at = at;
        hole.travel = i == 0 ? travel : context_.position[depth];
        DrillHole(motion_, hole);
    }
}

void BlockExecutor::ReportNoFeed() {
    // Once until a feed rate is given: a controller stops at the first.
    if (!context_.feedMissingTold)
        motion_.Report("a feed move with no feed rate (F)");
    context_.feedMissingTold = true;
}

void BlockExecutor::Stops(const Block& block) {
    ModalState& modal = context_.modal;
    for (const int m : block.mCodes) {
        if (m == 0 || m == 1 || m == 60)
            modal.stop = m;
        if (m == 2 || m == 30) {
            modal.stop = m;
            ended_ = true;
        }
    }
}

}  // namespace qm::interp
