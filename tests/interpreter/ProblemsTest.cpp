#include "FollowFixture.h"

namespace qm::test {
namespace {

class ProblemsTest : public FollowFixture {};

struct ProblemCase {
    const char* program;
    const char* problem;  // "LINE: reason" of the first problem
};

TEST_F(ProblemsTest, EachKindAtItsLine) {
    const ProblemCase cases[] = {
        {"G0 X1\nG7.3 X2\nM2\n", "2: G7.3 is not a G code of rs274ngc"},
        {"M77\nM2\n", "1: M77 is not an M code of rs274ngc"},
        {"G0 G1 X1 F1\nM2\n", "1: two G codes of one modal group in a block (G1)"},
        {"F1\nG2 X10.03 Y0 I5 J0\nM2\n",
         "2: the arc's end is not on its circle: radius 5.0000 at the start, 5.0300 at the end"},
        {"G1 X1\nM2\n", "1: a feed move with no feed rate (F)"},
        {"F1\nG81 X1 Y1 Z-1\nM2\n", "2: a canned cycle needs R"},
        {"F1\nG2 X1 Y1 R0.1\nM2\n", "2: the arc's radius is too small to reach its end"},
        {"G0 X1\n", "1: the program does not end with M2 or M30"},
        {"G0 X[1/0]\nM2\n", "1: division by zero"},
        {"G0 X#<nothing>\nM2\n", "1: parameter #<NOTHING> is used before it is set"},
        {"G0 X1 X2\nM2\n", "1: the word X appears twice"},
        {"G1 W100 F10\nM2\n", "1: the U, V and W axes are not followed"},
    };
    for (const ProblemCase& c : cases) {
        SCOPED_TRACE(c.program);
        const auto reasons = Reasons(Follow(c.program));
        ASSERT_FALSE(reasons.empty());
        EXPECT_EQ(reasons.front(), c.problem);
    }
}

struct AllProblemsCase {
    const char* program;
    std::vector<std::string> problems;
    std::size_t moves;
};

TEST_F(ProblemsTest, EachIsToldWhereItArisesAndNotAgainTillItsCauseChanges) {
    const AllProblemsCase cases[] = {
        {"G1 X1\nG1 X2\nF10 G1 X3\nG1 F0 X4\nG1 X5\nM2\n",
         {"1: a feed move with no feed rate (F)", "4: a feed move with no feed rate (F)"},
         5},
        {"G33 Z-10 K1.5\nM2\n", {"1: G33 is shown as a straight feed to its end"}, 1},
        {"G0 X1\nG76 P1 Z-5 I-1 J1 K1\nM2\n",
         {"2: G76 is not followed: its moves are not shown"},
         1},
        {"M62 P1\nM159\nM19\nM3 $0 S1\nM2\n", {}, 0},
        // An end just inside the tolerance is an arc.
        {"F1\nG2 X10.02 Y0 I5 J0\nG20 G0 X0\nG2 X1.0025 Y0 I.5 J0\nM2\n", {}, 3},
    };
    for (const AllProblemsCase& c : cases) {
        SCOPED_TRACE(c.program);
        const auto result = Follow(c.program);
        EXPECT_EQ(Reasons(result), c.problems);
        EXPECT_EQ(result.Moves().size(), c.moves);
    }
}

}  // namespace
}  // namespace qm::test
