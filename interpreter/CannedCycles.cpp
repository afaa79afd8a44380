#include "CannedCycles.h"

namespace qm::interp {
namespace {

Axes At(const CycleHole& hole, double depth) {
    Axes p = hole.at;
    p[hole.depthAxis] = depth;
    return p;
}

void Pecks(Motion& motion, const CycleHole& hole, bool toR) {
    double depth = hole.r;
    while (depth > hole.bottom) {
        const double next = std::max(hole.bottom, depth - hole.peck);
        if (toR && depth != hole.r)
            motion.Rapid(At(hole, depth + hole.pullBack));
        motion.Feed(At(hole, next));
        depth = next;
        if (depth <= hole.bottom)
            break;
        motion.Rapid(At(hole, toR ? hole.r : depth + hole.pullBack));
    }
}

Axes Shifted(const CycleHole& hole, double depth) {
    Axes p = At(hole, depth);
    for (std::size_t axis = 0; axis < kAxisCount; ++axis)
        p[axis] += hole.shift[axis];
    return p;
}

// G87: through the hole off the centre with the spindle stopped, bore from the bottom back up
// to the middle level, and out again off the centre.
void BackBore(Motion& motion, const CycleHole& hole) {
    motion.Rapid(Shifted(hole, hole.r));
    motion.Rapid(Shifted(hole, hole.bottom));
    motion.Rapid(At(hole, hole.bottom));
    motion.Feed(At(hole, hole.middle));
    motion.Feed(At(hole, hole.bottom));
    motion.Rapid(Shifted(hole, hole.bottom));
    motion.Rapid(Shifted(hole, hole.clear));
    motion.Rapid(At(hole, hole.clear));
}

}  // namespace

void DrillHole(Motion& motion, const CycleHole& hole) {
    motion.Rapid(At(hole, hole.travel));
    if (hole.travel != hole.r)
        motion.Rapid(At(hole, hole.r));  // a tool already at R does not move to it
    const int code = hole.code;
    if (code == 870) {
        BackBore(motion, hole);
        return;
    }
    if (code == 730 || code == 830) {
        if (hole.peck <= 0) {
            motion.Report("a peck cycle needs Q above zero");
            motion.Feed(At(hole, hole.bottom));
        } else {
            Pecks(motion, hole, code == 830);
        }
    } else {
        motion.Feed(At(hole, hole.bottom));
    }
    if (code == 820 || code == 860 || code == 880 || code == 890 || code == 840 || code == 740) {
        motion.Dwell(hole.dwellSeconds);
    }
    if (code == 880)
        return;  // the operator takes the tool out by hand
    if (code == 850) {
        motion.Feed(At(hole, hole.r));
    } else if (code == 890 || code == 840 || code == 740) {
        motion.Feed(At(hole, hole.clear));
        return;
    }
    motion.Rapid(At(hole, hole.clear));
}

}  // namespace qm::interp
