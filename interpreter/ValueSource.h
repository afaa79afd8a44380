#pragma once

#include <optional>
#include <string>

namespace qm::interp {

// Where a block's expressions read parameters from: the follower answers, so that the
// numbers that show the machine's state (position, modes) read as the controller's would.
class ValueSource {
  public:
    virtual ~ValueSource() = default;
    virtual double Numbered(int number) const = 0;
    virtual std::optional<double> Named(const std::string& upperName) const = 0;
};

}  // namespace qm::interp
