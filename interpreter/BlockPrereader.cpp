#include "BlockPrereader.h"

#include "BlockReader.h"
#include "Expression.h"

namespace qm::interp {
namespace {

// The values of a block without parameters: never asked for.
class NoValues : public ValueSource {
  public:
    double Numbered(int) const override { return 0; }
    std::optional<double> Named(const std::string&) const override { return std::nullopt; }
};

}  // namespace

BlockPrereader::BlockPrereader(const ProgramUnit& unit, Dialect dialect)
    : unit_(unit),
      dialect_(dialect),
      slots_(std::make_unique<Slot[]>(kAhead)),
      thread_([this] { ReadAhead(); }) {}

BlockPrereader::~BlockPrereader() {
    Stop();
}

void BlockPrereader::Stop() {
    if (thread_.joinable()) {
        stop_ = true;
        following_.fetch_add(kAhead);
        following_.notify_all();
        thread_.join();
    }
}

void BlockPrereader::ReadAhead() {
    const NoValues none;
    const std::size_t count = unit_.LineCount();
    for (std::uint32_t index = 0; index < count && !stop_;) {
        std::uint32_t following = following_.load(std::memory_order_acquire);
        if (index < following)
            index = following;  // following jumped ahead: so does reading
        if (index >= following + kAhead) {
            following_.wait(following);  // as far ahead as the slots reach
            continue;
        }
        Slot& slot = slots_[index % kAhead];
        const std::string_view line = unit_.Line(index);
        slot.usable = line.find('#') == std::string_view::npos;
        if (slot.usable) {
            slot.block.Clear();
            try {
                ReadBlockInto(line, dialect_, none, slot.block);
            } catch (const ReadFailure&) {
                slot.usable = false;  // the follower reads it again and reports it
            }
        }
        slot.line.store(index + 1, std::memory_order_release);
        ++index;
    }
}

const Block* BlockPrereader::Take(std::uint32_t index) {
    // Only while following goes forward: a slot is then never written while it is taken.
    if (index < taken_ || stop_) {
        Stop();
        return nullptr;
    }
    taken_ = index;
    // Announced now and then, not every line: a line the other thread reads on and on costs
    // following a cache miss a line once it is written. Announcing an earlier line than the
    // one taken only keeps the reader further back, so the slot taken is still not written.
    if (index >= announced_ + kAnnounceEvery) {
        announced_ = index;
        following_.store(index, std::memory_order_release);
        following_.notify_one();
    }
    Slot& slot = slots_[index % kAhead];
    if (slot.line.load(std::memory_order_acquire) != index + 1 || !slot.usable)
        return nullptr;
    return &slot.block;
}

}  // namespace qm::interp
