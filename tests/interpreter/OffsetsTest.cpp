#include "FollowFixture.h"

namespace qm::test {
namespace {

class OffsetsTest : public FollowFixture {};

// Each program ends with one move whose machine X is what the offsets make of program X0
// (or of the home), the other axes of that move not mattering here.
struct OffsetCase {
    const char* program;
    double machineX;
};

TEST_F(OffsetsTest, EveryOffsetCommandMovesTheMachinePoint) {
    const OffsetCase cases[] = {
        {"G10 L2 P2 X10\nG55 G0 X0\n", 10},
        {"G10 L2 P0 X7\nG0 X0\n", 7},  // P0: the system in use
        {"G10 L2 P7 X3\nG59.1 G0 X0\n", 3},
        {"G0 X4\nG10 L20 P1 X1\nG0 X0\n", 3},  // X4 is to read as X1
        {"G0 X0\nG92 X5\nG1 X0 F1\n", -5},     // as rs274 sets G92 -5
        {"G0 X0\nG92 X5\nG92.1\nG0 X0\n", 0},
        {"G0 X0\nG92 X5\nG92.2\nG0 X0\nG92.3\nG0 X0\n", -5},
        {"G10 L2 P1 X2\nG53 G0 X0\n", 0},  // G53: machine coordinates
        {"G20\nG10 L2 P1 X1\nG0 X0\n", 25.4},
        {"G0 X8\nG28.1\nG0 X1\nG28\n", 8},
        {"G0 X6\nG30.1\nG0 X1\nG30 X2\n", 6},
        {"#5221=2.5\nG0 X0\n", 2.5},
    };
    for (const OffsetCase& c : cases) {
        SCOPED_TRACE(c.program);
        const auto result = Follow(std::string(c.program) + "M2\n");
        ASSERT_FALSE(result.Moves().empty());
        EXPECT_NEAR(result.Moves().back().end[interp::kX], c.machineX, 1e-9);
        EXPECT_TRUE(result.Problems().empty()) << Reasons(result).front();
    }
}

TEST_F(OffsetsTest, ToolLengthFromTheTableAppliesAlongZUntilG49) {
    const auto result =
        Follow("G10 L1 P3 Z12\nT3 M6\nG43 H3 G0 Z0\nG43.1 Z2\nG0 Z0\nG49 G0 Z0\nM2\n");
    ExpectMoves(result, {{kRapid, 0, 0, 12}, {kRapid, 0, 0, 2}, {kRapid, 0, 0, 0}});
    EXPECT_EQ(result.StateAfter(3).hNumber, 3);
    EXPECT_EQ(result.StateAfter(6).toolLengthMode, 490);
}

TEST_F(OffsetsTest, UnknownOffsetsAreZeroAndTheStateNamesThem) {
    const auto result = Follow("G56 G41 D4 G0 X1\nM2\n");
    ExpectMoves(result, {{kRapid, 1, 0, 0}});
    EXPECT_EQ(result.StateAfter(1).workOffset, 560);
    EXPECT_EQ(result.StateAfter(1).dNumber, 4);
}

}  // namespace
}  // namespace qm::test
