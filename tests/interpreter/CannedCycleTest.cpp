// Expected values are those LinuxCNC 2.9's rs274 prints for the same programs.
#include "FollowFixture.h"
#include "Follower.h"

namespace qm::test {
namespace {

class CannedCycleTest : public FollowFixture {};

constexpr const char* kStart = "G21 G17 G90 F100 S100 M3\nG0 X0 Y0 Z10\n";

TEST_F(CannedCycleTest, DrillWithInitialAndRReturnAndIncrementalRepeats) {
    const auto result = Follow(
        std::string(kStart) +
        "G98 G81 X1 Y2 Z-4 R2\nG99 G81 X5 Y2\nG80\nG0 Z10\nG91 G98 G81 X1 Y1 R-1 Z-1 L2\nM2\n");
    ExpectMoves(result,
                {{kRapid, 1, 2, 10},
                 {kRapid, 1, 2, 2},
                 {kFeed, 1, 2, -4},
                 {kRapid, 1, 2, 10},
                 {kRapid, 5, 2, 10},
                 {kRapid, 5, 2, 2},
                 {kFeed, 5, 2, -4},
                 {kRapid, 5, 2, 2},
                 {kRapid, 5, 2, 10},
                 {kRapid, 6, 3, 10},
                 {kRapid, 6, 3, 9},
                 {kFeed, 6, 3, 8},
                 {kRapid, 6, 3, 10},
                 {kRapid, 7, 4, 10},
                 {kRapid, 7, 4, 9},
                 {kFeed, 7, 4, 8},
                 {kRapid, 7, 4, 10}},
                1);
    EXPECT_EQ(result.Problems().size(), 0u);
}

TEST_F(CannedCycleTest, PeckCyclesRetractAsTheControllerDoes) {
    const auto deep = Follow(std::string(kStart) + "G98 G83 X1 Y2 Z-4 R2 Q1.5\nM2\n");
    ExpectMoves(deep,
                {{kRapid, 1, 2, 10},
                 {kRapid, 1, 2, 2},
                 {kFeed, 1, 2, 0.5},
                 {kRapid, 1, 2, 2},
                 {kRapid, 1, 2, 0.754},
                 {kFeed, 1, 2, -1},
                 {kRapid, 1, 2, 2},
                 {kRapid, 1, 2, -0.746},
                 {kFeed, 1, 2, -2.5},
                 {kRapid, 1, 2, 2},
                 {kRapid, 1, 2, -2.246},
                 {kFeed, 1, 2, -4},
                 {kRapid, 1, 2, 10}},
                1);
    const auto chip = Follow(std::string(kStart) + "G98 G73 X1 Y2 Z-4 R2 Q1.5\nM2\n");
    ExpectMoves(chip,
                {{kRapid, 1, 2, 10},
                 {kRapid, 1, 2, 2},
                 {kFeed, 1, 2, 0.5},
                 {kRapid, 1, 2, 0.754},
                 {kFeed, 1, 2, -1},
                 {kRapid, 1, 2, -0.746},
                 {kFeed, 1, 2, -2.5},
                 {kRapid, 1, 2, -2.246},
                 {kFeed, 1, 2, -4},
                 {kRapid, 1, 2, 10}},
                1);
}

TEST_F(CannedCycleTest, BoringCyclesLeaveTheHoleTheirOwnWay) {
    struct Case {
        const char* cycle;
        std::vector<ExpectedMove> out;  // after the feed to the bottom
    };
    const Case cases[] = {
        {"G85", {{kFeed, 1, 2, 2}, {kRapid, 1, 2, 10}}},
        {"G86 P1", {{kRapid, 1, 2, 10}}},
        {"G89 P1", {{kFeed, 1, 2, 10}}},
        {"G84", {{kFeed, 1, 2, 10}}},
        {"G82 P0.5", {{kRapid, 1, 2, 10}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.cycle);
        const auto result = Follow(std::string(kStart) + "G98 " + c.cycle + " X1 Y2 Z-4 R2\nM2\n");
        std::vector<ExpectedMove> want = {{kRapid, 1, 2, 10}, {kRapid, 1, 2, 2}, {kFeed, 1, 2, -4}};
        want.insert(want.end(), c.out.begin(), c.out.end());
        ExpectMoves(result, want, 1);
    }
}

TEST_F(CannedCycleTest, FanucRepeatsWithKAndDwellsInMilliseconds) {
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
