#pragma once

#include <array>
#include <map>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

namespace qm::interp {

// A program's parameters (RS274NGC) or variables (Macro B): numbered ones shared by the whole
// program, the local ones of each subprogram call (#1-#33, and in RS274NGC named ones without
// a leading "_"), and global named ones. A value never set reads as zero; values are kept
// sparsely, so that a copy kept at an interval stays small.
class Parameters {
  public:
    static constexpr int kLocalCount = 33;

    double Numbered(int number) const;
    void SetNumbered(int number, double value);
    // Whether every numbered parameter beyond the locals reads zero, as they do in most
    // programs: offsets need not then be looked up one by one.
    bool AllGlobalsZero() const { return numbered_.empty(); }

    // Named parameters are found by their upper-case name.
    std::optional<double> Named(const std::string& name) const;
    void SetNamed(const std::string& name, double value);

    // A call: a fresh set of locals; its arguments go to #1, #2, ...
    void EnterCall(const std::vector<double>& arguments);
    void EnterCall(const std::array<std::optional<double>, kLocalCount>& locals);
    void LeaveCall();
    std::size_t CallDepth() const { return frames_.size() - 1; }

    bool operator==(const Parameters&) const = default;
    // How many values are held beyond the locals (for estimates of memory).
    std::size_t EntryCount() const;

  private:
    struct Frame {
        std::array<double, kLocalCount> locals{};
        std::map<std::string, double> named;
        bool operator==(const Frame&) const = default;
    };
    static bool IsGlobalName(const std::string& name) { return name.starts_with("_"); }

    std::unordered_map<int, double> numbered_;
    std::map<std::string, double> globalNamed_;
    std::vector<Frame> frames_ = std::vector<Frame>(1);
};

}  // namespace qm::interp
