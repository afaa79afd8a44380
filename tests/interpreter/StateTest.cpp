// What the moves compared with LinuxCNC in ReferenceTest do not show: the state in effect after
// each line, parameters that are offsets, and the Fanuc dialect's cycles.
#include "FollowFixture.h"
#include "Follower.h"

namespace qm::test {
namespace {

class StateTest : public FollowFixture {};

TEST_F(StateTest, StateAfterEachLineKeepsTheModes) {
    const auto result = Follow(
        "G21 G90\nG91 G0 X1\nG18\nG17 T3 M6\nS1200 M3 M8\nG43 H3\nG56 G41 D4 G90 G0 X1\n"
        "G40 G49\nM2\n");
    EXPECT_FALSE(result.StateAfter(1).incremental);
    EXPECT_TRUE(result.StateAfter(2).incremental);
    EXPECT_EQ(result.StateAfter(2).plane, interp::Plane::XY);
    EXPECT_NEAR(result.PositionAfter(2)[interp::kX], 1.0, 1e-12);
    EXPECT_EQ(result.StateAfter(3).plane, interp::Plane::ZX);
    EXPECT_EQ(result.StateAfter(4).toolInSpindle, 3);
    EXPECT_EQ(result.StateAfter(5).spindle, interp::Spindle::Clockwise);
    EXPECT_TRUE(result.StateAfter(5).flood);
    EXPECT_EQ(result.StateAfter(6).hNumber, 3);
    EXPECT_EQ(result.StateAfter(6).toolLengthMode, 430);
    // Offsets never set are zero; the state still names them.
    EXPECT_EQ(result.StateAfter(7).workOffset, 560);
    EXPECT_EQ(result.StateAfter(7).dNumber, 4);
    EXPECT_NEAR(result.Moves().back().end[interp::kX], 1.0, 1e-12);
    EXPECT_EQ(result.StateAfter(8).toolLengthMode, 490);
}

TEST_F(StateTest, SettingAnOffsetParameterMovesTheMachinePoint) {
    const auto result = Follow("#5221=2.5\nG0 X0\nM2\n");
    ExpectMoves(result, {{kRapid, 2.5, 0, 0}});
}

TEST_F(StateTest, FanucRepeatsWithKAndDwellsInMilliseconds) {
    struct DwellCounter : interp::FollowResult {
        void OnDwell(std::uint32_t, double seconds) override { total += seconds; }
        double total = 0;
    };
    DwellCounter counter;
    interp::Follower(interp::Dialect::Fanuc, counter)
        .Follow("G21 G90 F100\nG0 X0 Y0 Z10\nG91 G99 G82 X10 Z-5 R-8 P500 K3\nM30\n");
    EXPECT_DOUBLE_EQ(counter.total, 1.5);
    // The first hole goes down to R; the next ones start there (as LinuxCNC moves).
    ASSERT_EQ(counter.Moves().size(), 1u + 4u + 2u * 3u);
    EXPECT_NEAR(counter.Moves().back().end[interp::kX], 30.0, 1e-12);
    EXPECT_NEAR(counter.Moves().back().end[interp::kZ], 2.0, 1e-12);
}

}  // namespace
}  // namespace qm::test
