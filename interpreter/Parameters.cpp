#include "Parameters.h"

namespace qm::interp {

double Parameters::Numbered(int number) const {
    if (number >= 1 && number <= kLocalCount)
        return frames_.back().locals[number - 1];
    if (numbered_.empty())
        return 0.0;  // the common case of a program that sets no offsets
    const auto found = numbered_.find(number);
    return found == numbered_.end() ? 0.0 : found->second;
}

void Parameters::SetNumbered(int number, double value) {
    if (number >= 1 && number <= kLocalCount) {
        frames_.back().locals[number - 1] = value;
    } else if (value == 0.0) {
        numbered_.erase(number);  // zero is what an unset one reads, and copies compare equal
    } else {
        numbered_[number] = value;
    }
}

std::optional<double> Parameters::Named(const std::string& name) const {
    const auto& names = IsGlobalName(name) ? globalNamed_ : frames_.back().named;
    const auto found = names.find(name);
    if (found == names.end())
        return std::nullopt;
    return found->second;
}

void Parameters::SetNamed(const std::string& name, double value) {
    (IsGlobalName(name) ? globalNamed_ : frames_.back().named)[name] = value;
}

void Parameters::EnterCall(const std::vector<double>& arguments) {
    Frame frame;
    for (std::size_t i = 0; i < arguments.size() && i < frame.locals.size(); ++i) {
        frame.locals[i] = arguments[i];
    }
    frames_.push_back(std::move(frame));
}

void Parameters::EnterCall(const std::array<std::optional<double>, kLocalCount>& locals) {
    Frame frame;
    for (std::size_t i = 0; i < locals.size(); ++i)
        frame.locals[i] = locals[i].value_or(0.0);
    frames_.push_back(std::move(frame));
}

std::size_t Parameters::EntryCount() const {
    std::size_t count = numbered_.size() + globalNamed_.size();
    for (const Frame& frame : frames_)
        count += frame.named.size() + 1;
    return count;
}

void Parameters::LeaveCall() {
    if (frames_.size() > 1)
        frames_.pop_back();
}

}  // namespace qm::interp
