#pragma once

#include "Dialect.h"
#include "Geometry.h"
#include "ModalState.h"
#include "Parameters.h"

namespace qm::interp {

// Everything one block leaves for the next: the modes, where the tool stands (machine
// coordinates, millimetres and degrees), and the parameters, which hold the offsets too.
struct MachineContext {
    ModalState modal;
    Axes position{};
    Parameters parameters;
    bool feedMissingTold = false;  // a feed move without a feed rate was reported
    bool operator==(const MachineContext&) const = default;
};

// Where the offsets live among the numbered parameters (the same numbers in both dialects,
// as controllers keep them): each is the parameter of axis X, the others follow.
namespace param {
constexpr int kG28 = 5161, kG30 = 5181, kG92 = 5211, kWorkSelected = 5220, kG54 = 5221;
constexpr int kToolLengthBase = 2000000;  // kept apart: tool lengths by tool or H number
// The coordinate system number of a work offset code: G54 is 1, G59 6, G59.1 7, G59.3 9.
constexpr int SystemNumber(int gCode) {
    return gCode >= 591 ? 7 + gCode - 591 : (gCode - 540) / 10 + 1;
}
constexpr int WorkOffsetBase(int gCode, int extra) {
    if (gCode == 541)
        return 7001 + 20 * (extra - 1);  // G54.1 P1-P48
    if (gCode >= 591)
        return kG54 + 20 * (6 + gCode - 591);
    return kG54 + 20 * (gCode - 540) / 10;
}
}  // namespace param

// The context a program starts in: LinuxCNC starts with G99 (return to R), Fanuc with G98.
MachineContext StartContext(Dialect dialect);

// The offsets in effect: program coordinates plus these are machine coordinates.
Axes OffsetsOf(const MachineContext& context);
// Millimetres (or degrees) per program unit on each axis.
double UnitScale(const ModalState& modal, Axis axis);
Axes ProgramPosition(const MachineContext& context);

}  // namespace qm::interp
