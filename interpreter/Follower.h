#pragma once

#include <string_view>

#include "Dialect.h"
#include "FollowListener.h"
#include "MachineContext.h"

namespace qm::interp {

// Follows a whole program, line by line, as its controller would, telling the listener.
// Following stops at M2/M30, at a block that cannot be read, or after kBlockLimit blocks.
class Follower {
  public:
    static constexpr std::uint64_t kBlockLimit = 20'000'000;

    Follower(Dialect dialect, FollowListener& listener) : dialect_(dialect), listener_(listener) {}

    // Follows text from its first line; the result is the context it leaves.
    const MachineContext& Follow(std::string_view text);

  private:
    bool FollowLine(std::string_view line, std::uint32_t number);

    Dialect dialect_;
    FollowListener& listener_;
    MachineContext context_;
    bool ended_ = false;
};

}  // namespace qm::interp
