#include "MachineContext.h"

namespace qm::interp {

MachineContext StartContext(Dialect dialect) {
    MachineContext context;
    if (dialect == Dialect::Rs274ngc)
        context.modal.returnLevel = ReturnLevel::RPlane;
    return context;
}

double UnitScale(const ModalState& modal, Axis axis) {
    return modal.inches && axis <= kZ ? kMmPerInch : 1.0;
}

Axes OffsetsOf(const MachineContext& context) {
    const ModalState& modal = context.modal;
    Axes offsets{};
    if (context.parameters.AllGlobalsZero()) {
        offsets[kZ] += modal.toolLength;  // asked for by every move
        return offsets;
    }
    const int work = param::WorkOffsetBase(modal.workOffset, modal.extraOffset);
    for (std::size_t axis = 0; axis < kAxisCount; ++axis) {
        const int n = int(axis);
        offsets[axis] = context.parameters.Numbered(work + n);
        if (modal.g92Active)
            offsets[axis] += context.parameters.Numbered(param::kG92 + n);
    }
    offsets[kZ] += modal.toolLength;
    return offsets;
}

Axes ProgramPosition(const MachineContext& context) {
    const Axes offsets = OffsetsOf(context);
    Axes program{};
    for (std::size_t axis = 0; axis < kAxisCount; ++axis) {
        program[axis] =
            (context.position[axis] - offsets[axis]) / UnitScale(context.modal, Axis(axis));
    }
    return program;
}

}  // namespace qm::interp
