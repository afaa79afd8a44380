// Expected values are those LinuxCNC 2.9's rs274 prints for the same programs.
#include <cmath>

#include "FollowFixture.h"

namespace qm::test {
namespace {

class MotionTest : public FollowFixture {};

TEST_F(MotionTest, ArcsInEachPlaneWithHelixAndTurns) {
    const auto result = Follow(
        "G21 G17 G90\nG0 X1 Y2 Z3\nF100\nG1 X10\nG2 X20 Y2 I5 J0\nG3 X30 Y12 R10 Z5\n"
        "G18 G2 X40 Z5 I5 K0 P2\nG19 G3 Y22 Z5 J5 K0\nM2\n");
    ExpectMoves(result, {{kRapid, 1, 2, 3},
                         {kFeed, 10, 2, 3},
                         {kArc, 20, 2, 3, 15, 2, 3, -1},
                         {kArc, 30, 12, 5, 20, 12, 3, 1},
                         {kArc, 40, 12, 5, 35, 12, 5, -2},
                         {kArc, 40, 22, 5, 40, 17, 5, 1}});
    EXPECT_EQ(result.Moves()[4].plane, interp::Plane::ZX);
    EXPECT_EQ(result.Moves()[5].plane, interp::Plane::YZ);
    EXPECT_DOUBLE_EQ(result.Moves()[1].feed, 100.0);
    EXPECT_TRUE(result.Problems().empty());
}

TEST_F(MotionTest, RadiusArcsChooseTheShortOrLongSideBySign) {
    const auto result =
        Follow("G21 G90 F100\nG0 X0 Y0\nG2 X10 Y0 R5\nG2 X0 Y0 R-6\nG3 X10 Y0 R6\nM2\n");
    const double h = std::sqrt(36.0 - 25.0);
    ExpectMoves(result,
                {{kArc, 10, 0, 0, 5, 0, 0, -1},
                 {kArc, 0, 0, 0, 5, -h, 0, -1},
                 {kArc, 10, 0, 0, 5, h, 0, 1}},
                1);
}

TEST_F(MotionTest, AbsoluteCentresAndFullCircles) {
    const auto result =
        Follow("G21 G90 F100\nG0 X10 Y0\nG90.1 G3 X10 Y0 I0 J0\nG91.1 G2 X10 Y0 I-10 J0 P3\nM2\n");
    ExpectMoves(result, {{kArc, 10, 0, 0, 0, 0, 0, 1}, {kArc, 10, 0, 0, 0, 0, 0, -3}}, 1);
}

TEST_F(MotionTest, InchesAreMillimetresInTheMoves) {
    const auto result = Follow("G20\nG0 X1\nG21\nG0 X1\nG20 G91 G0 X1\nG1 Y.5 F10\nM2\n");
    ExpectMoves(
        result,
        {{kRapid, 25.4, 0, 0}, {kRapid, 1, 0, 0}, {kRapid, 26.4, 0, 0}, {kFeed, 26.4, 12.7, 0}});
    EXPECT_DOUBLE_EQ(result.Moves()[3].feed, 254.0);
}

TEST_F(MotionTest, StateAfterEachLineKeepsTheModes) {
    const auto result = Follow("G21 G90\nG91 G0 X1\nG18\nT3 M6\nS1200 M3\nM8\nM2\n");
    EXPECT_FALSE(result.StateAfter(1).incremental);
    EXPECT_TRUE(result.StateAfter(2).incremental);
    EXPECT_EQ(result.StateAfter(2).plane, interp::Plane::XY);
    EXPECT_EQ(result.StateAfter(3).plane, interp::Plane::ZX);
    EXPECT_EQ(result.StateAfter(4).toolInSpindle, 3);
    EXPECT_EQ(result.StateAfter(5).spindle, interp::Spindle::Clockwise);
    EXPECT_TRUE(result.StateAfter(6).flood);
    EXPECT_NEAR(result.PositionAfter(2)[interp::kX], 1.0, 1e-12);
}

}  // namespace
}  // namespace qm::test
