#pragma once

#include "MachineContext.h"
#include "ValueSource.h"

namespace qm::interp {

// The parameters as a program reads them: lengths the machine keeps in millimetres read in
// the program's units, and the numbers that report the position answer from the tool's place.
class ContextValues : public ValueSource {
  public:
    explicit ContextValues(const MachineContext& context) : context_(context) {}
    double Numbered(int number) const override;
    std::optional<double> Named(const std::string& upperName) const override;

  private:
    const MachineContext& context_;
};

// Whether a numbered parameter holds a length the machine keeps in millimetres.
bool IsLengthParameter(int number);

}  // namespace qm::interp
