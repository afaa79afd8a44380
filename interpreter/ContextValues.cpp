#include "ContextValues.h"

namespace qm::interp {

bool IsLengthParameter(int number) {
    // The linear axes of the homes, G92 and the work offsets (G54 ... G59.3, G54.1).
    const auto linear = [](int n, int base) { return n >= base && n < base + 3; };
    if (linear(number, param::kG28) || linear(number, param::kG30) || linear(number, param::kG92)) {
        return true;
    }
    if (number >= param::kG54 && number < param::kG54 + 20 * 9)
        return (number - param::kG54) % 20 < 3;
    if (number >= 7001 && number < 7001 + 20 * 48)
        return (number - 7001) % 20 < 3;
    return false;
}

double ContextValues::Numbered(int number) const {
    const ModalState& modal = context_.modal;
    if (number == param::kWorkSelected)
        return param::SystemNumber(modal.workOffset);
    if (number >= 5420 && number <= 5425)
        return ProgramPosition(context_)[std::size_t(number - 5420)];
    const double value = context_.parameters.Numbered(number);
    return IsLengthParameter(number) && modal.inches ? value / kMmPerInch : value;
}

}  // namespace qm::interp

namespace qm::interp {

std::optional<double> ContextValues::Named(const std::string& upperName) const {
    if (const auto set = context_.parameters.Named(upperName))
        return set;
    // The read-only names RS274NGC answers from the machine's state.
    const ModalState& modal = context_.modal;
    static constexpr const char* kAxisNames[] = {"_X", "_Y", "_Z", "_A", "_B", "_C"};
    for (std::size_t axis = 0; axis < kAxisCount; ++axis) {
        if (upperName == kAxisNames[axis])
            return ProgramPosition(context_)[axis];
    }
    const double scale = modal.inches ? kMmPerInch : 1.0;
    const std::pair<const char*, double> kStates[] = {
        {"_METRIC", modal.inches ? 0 : 1},
        {"_IMPERIAL", modal.inches ? 1 : 0},
        {"_ABSOLUTE", modal.incremental ? 0 : 1},
        {"_INCREMENTAL", modal.incremental ? 1 : 0},
        {"_FEED", modal.feed / scale},
        {"_RPM", modal.speed},
        {"_CURRENT_TOOL", modal.toolInSpindle},
        {"_SELECTED_TOOL", modal.tool},
        {"_MOTION_MODE", modal.motion},
        {"_COORD_SYSTEM", modal.workOffset},
        {"_PLANE", modal.plane == Plane::XY   ? 170
                   : modal.plane == Plane::ZX ? 180
                                              : 190},
    };
    for (const auto& [name, value] : kStates) {
        if (upperName == name)
            return value;
    }
    return std::nullopt;
}

}  // namespace qm::interp
