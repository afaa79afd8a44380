#include "BlockReader.h"
#include "FollowFixture.h"
#include "Follower.h"

namespace qm::test {
namespace {

using interp::Dialect;

class FlowTest : public FollowFixture {};

struct FlowCase {
    Dialect dialect;
    const char* program;
    std::vector<double> xs;  // the X every move ends at, in order
    const char* problem;     // "LINE: reason" of the first problem; "" for none
};

// Loops, branches and subroutines as LinuxCNC runs them are in ReferenceTest's programs; here
// the Fanuc forms, the mistakes, and what those programs do not reach.
TEST_F(FlowTest, EveryFormOfControlFlowGoesWhereTheControllerGoes) {
    const auto ngc = Dialect::Rs274ngc;
    const auto fanuc = Dialect::Fanuc;
    const FlowCase cases[] = {
        {ngc,
         "#1=0\no4 do\n#1=[#1+1]\no5 if [#1 EQ 2]\no4 continue\no5 endif\nG0 X#1\n"
         "o4 while [#1 LT 4]\nM2\n",
         {1, 3, 4},
         ""},
        {ngc, "#1=7\no1 sub\n#1=3\no1 endsub\no1 call\nG0 X#1\nM2\n", {7}, ""},
        {ngc,
         "o<r> sub\no<r> call\no<r> endsub\no<r> call\nM2\n",
         {},
         "2: calls nested deeper than 64 (a recursion?)"},
        {ngc,
         "o<nothing> call\nG0 X1\nM2\n",
         {1},
         "1: no subroutine o<NOTHING> in the program nor a file nothing.ngc beside it"},
        {ngc, "o1 if [0]\nG0 X1\nM2\n", {1}, "1: o1 if has no endif"},
        {ngc, "o1 endwhile\nM2\n", {}, "1: o1 endwhile has no while"},
        {fanuc, "O1\nG0 X1\nM98 P2 L2\nG0 X9\nM30\nO2\nG91 G0 X1\nG90\nM99\n", {1, 2, 3, 9}, ""},
        {fanuc, "O1\nM98 P20002\nM30\nO0002\nG91 G0 X1\nM99\n", {1, 2}, ""},
        {fanuc, "O1\n#1=5\nG65 P9 A2 B3\nG0 X#1\nM30\nO9\nG0 X[#1*#2]\nM99\n", {6, 5}, ""},
        {fanuc, "O1\nG65 P9\nG0 X#100\nM30\nO9\n#100=4\nM99\n", {4}, ""},
        {fanuc, "O1\nM98 P2\nG0 X1\nN30 G0 X3\nM30\nO2\nM99 P30\n", {3}, ""},
        {fanuc, "#1=0\nWHILE [#1 LT 3] DO1\n#1=#1+1\nG0 X#1\nEND1\nM30\n", {1, 2, 3}, ""},
        {fanuc, "#1=0\nN10 #1=#1+1\nG0 X#1\nIF [#1 LT 3] GOTO10\nM30\n", {1, 2, 3}, ""},
        {fanuc, "#1=1\nIF [#1 EQ 1] THEN #2=7\nIF [#1 EQ 2] THEN #2=9\nG0 X#2\nM30\n", {7}, ""},
        {fanuc, "GOTO20\nG0 X1\nN20 G0 X2\nM30\n", {2}, ""},
        {fanuc, "GOTO 30\nG0 X1\nM30\n", {1}, "1: GOTO30: no block N30"},
        {fanuc,
         "M98 P77\nG0 X1\nM30\n",
         {1},
         "1: no program O77 in the file nor a file O77 beside it"},
        {fanuc,
         "O1\nM98 P2\nM30\nO2\nG0 X1\nO3\nG0 X2\nM30\n",
         {1},
         "6: the subprogram ends without M99"},
        {fanuc,
         "G0 X1\nM99\n",
         {1},
         "2: M99 in the main program starts it again and again: followed once"},
        {fanuc, "O1\nG0 X1\nO2\nG0 X2\nM99\n", {1}, "3: the program does not end with M2 or M30"},
    };
    for (const FlowCase& c : cases) {
        SCOPED_TRACE(c.program);
        const auto result = Follow(c.program, c.dialect);
        EXPECT_EQ(Xs(result), c.xs);
        const auto reasons = Reasons(result);
        EXPECT_EQ(reasons.empty() ? "" : reasons.front(), c.problem);
    }
}

TEST_F(FlowTest, ALoopThatDoesNotEndIsStoppedAtItsLine) {
    for (const auto& [dialect, program] :
         {std::pair{Dialect::Rs274ngc, "G0 X1\no1 while [1]\no1 endwhile\nM2\n"},
          std::pair{Dialect::Fanuc, "G0 X1\nWHILE [1 EQ 1] DO1\nEND1\nM30\n"}}) {
        interp::FollowResult result;
        interp::Follower follower(dialect, result);
        follower.SetBlockLimit(1000);
        follower.Follow(program);
        ASSERT_EQ(result.Problems().size(), 1u) << program;
        EXPECT_TRUE(result.Problems()[0].stopped);
        EXPECT_EQ(Reasons(result)[0].substr(0, 26), "2: stopped after 1000 bloc");
    }
}

TEST_F(FlowTest, TheStateOfALineWithACallIsTheStateAfterTheCallReturns) {
    const auto result = Follow("o1 sub\nG91\no1 endsub\nG20\no1 call\nG0 X1\nM2\n");
    EXPECT_FALSE(result.StateAfter(4).incremental);
    EXPECT_TRUE(result.StateAfter(4).inches);
    EXPECT_TRUE(result.StateAfter(5).incremental);
    EXPECT_EQ(result.PositionAfter(6)[interp::kX], 25.4);
}

// After an edit, a line told free of control flow is followed again on its own.
TEST(FlowWords, ALineHoldsControlFlowWhateverItsCaseButNotInAComment) {
    const auto ngc = Dialect::Rs274ngc;
    const auto fanuc = Dialect::Fanuc;
    const struct {
        Dialect dialect;
        const char* line;
        bool flow;
    } cases[] = {
        {ngc, "G1 X1 Y2 F100", false},
        {ngc, "o100 call", true},
        {ngc, "%", true},
        {ngc, "(go on) G1 X1", false},
        {ngc, "G1 X1 ; o1 call", false},
        {ngc, "M98 P100", false},
        {fanuc, "m98 p100", true},
        {fanuc, "G65 P9010 A1", true},
        {fanuc, "while [#1 lt 3] do1", true},
        {fanuc, "G1 X1 (END)", false},
        {fanuc, "X1 Y2", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(interp::HasControlFlow(c.line, c.dialect), c.flow) << c.line;
}

}  // namespace
}  // namespace qm::test
