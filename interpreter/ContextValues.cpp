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
        return (modal.workOffset - 540) / 10 + 1;
    if (number >= 5420 && number <= 5425)
        return ProgramPosition(context_)[std::size_t(number - 5420)];
    const double value = context_.parameters.Numbered(number);
    return IsLengthParameter(number) && modal.inches ? value / kMmPerInch : value;
}

}  // namespace qm::interp
