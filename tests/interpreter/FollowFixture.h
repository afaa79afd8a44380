#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "FollowResult.h"

namespace qm::test {

// A move as a test writes it: kind, end X Y Z, and for arcs the centre and turns.
struct ExpectedMove {
    interp::MoveKind kind;
    double x, y, z;
    double cx = 0, cy = 0, cz = 0;
    int turns = 0;
};

inline constexpr auto kRapid = interp::MoveKind::Rapid;
inline constexpr auto kFeed = interp::MoveKind::Feed;
inline constexpr auto kArc = interp::MoveKind::Arc;

class FollowFixture : public ::testing::Test {
  protected:
    interp::FollowResult Follow(const std::string& program,
                                interp::Dialect dialect = interp::Dialect::Rs274ngc) {
        return interp::FollowProgram(program, dialect);
    }

    // The moves after the first `skip` ones, compared to four decimals as LinuxCNC prints them.
    static void ExpectMoves(const interp::FollowResult& result,
                            const std::vector<ExpectedMove>& expected, std::size_t skip = 0) {
        const auto& moves = result.Moves();
        ASSERT_EQ(moves.size(), expected.size() + skip);
        for (std::size_t i = 0; i < expected.size(); ++i) {
            const interp::Move& move = moves[i + skip];
            const ExpectedMove& want = expected[i];
            SCOPED_TRACE("move " + std::to_string(i + skip));
            EXPECT_EQ(move.kind, want.kind);
            EXPECT_NEAR(move.end[interp::kX], want.x, 5e-5);
            EXPECT_NEAR(move.end[interp::kY], want.y, 5e-5);
            EXPECT_NEAR(move.end[interp::kZ], want.z, 5e-5);
            if (want.kind == kArc) {
                EXPECT_NEAR(move.centre[0], want.cx, 5e-5);
                EXPECT_NEAR(move.centre[1], want.cy, 5e-5);
                EXPECT_NEAR(move.centre[2], want.cz, 5e-5);
                EXPECT_EQ(move.turns, want.turns);
            }
        }
    }

    // The X every move ends at, in order.
    static std::vector<double> Xs(const interp::FollowResult& result) {
        std::vector<double> xs;
        for (const interp::Move& move : result.Moves())
            xs.push_back(move.end[interp::kX]);
        return xs;
    }

    static std::vector<std::string> Reasons(const interp::FollowResult& result) {
        std::vector<std::string> reasons;
        for (const auto& problem : result.Problems()) {
            reasons.push_back(std::to_string(problem.line) + ": " + problem.reason);
        }
        return reasons;
    }
};

}  // namespace qm::test
