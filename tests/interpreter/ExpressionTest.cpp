#include "BlockReader.h"
#include "FollowFixture.h"

namespace qm::test {
namespace {

class ExpressionTest : public FollowFixture {};

struct ValueCase {
    const char* expression;
    double value;
};

// Each expression is the X of a rapid; the move's X is its value.
TEST_F(ExpressionTest, OperatorsAndFunctionsWithTheirPrecedence) {
    const ValueCase cases[] = {
        {"[1+2*3]", 7},
        {"[2**3**2]", 512},
        {"[7 MOD 3]", 1},
        {"[-7 MOD 3]", 2},
        {"[1+2 EQ 3]", 1},
        {"[2 GT 3 OR 1]", 1},
        {"[1 AND 0]", 0},
        {"[1 XOR 1]", 0},
        {"[ABS[-2]]", 2},
        {"[ACOS[0]]", 90},
        {"[ASIN[1]]", 90},
        {"[ATAN[1]/[1]]", 45},
        {"[COS[60]]", 0.5},
        {"[SIN[30]]", 0.5},
        {"[TAN[45]]", 1},
        {"[EXP[0]]", 1},
        {"[FIX[-1.5]]", -2},
        {"[FUP[1.2]]", 2},
        {"[LN[1]]", 0},
        {"[ROUND[2.5]]", 3},
        {"[SQRT[16]]", 4},
        {"10.", 10},
        {".5", 0.5},
        {"[10 / 4]", 2.5},
        {"- 3", -3},
        {"[EXISTS[#<_x>]]", 1},
        {"[EXISTS[#<y>]]", 0},
        {"#1", 4},
        {"#<_x>", 9},
        {"[#[1]*2]", 8},
        {"007.250", 7.25},
        {"0.1", 0.1},
        {"1234567890.123456789012345", 1234567890.123456789012345},  // beyond 64 bits of digits
    };
    for (const ValueCase& c : cases) {
        SCOPED_TRACE(c.expression);
        const auto result = Follow(std::string("#1=4 #<_x>=9\ng0 x") + c.expression + "\nM2\n");
        ASSERT_EQ(result.Moves().size(), 1u) << Reasons(result).front();
        EXPECT_NEAR(result.Moves()[0].end[interp::kX], c.value, 1e-9);
    }
}

TEST_F(ExpressionTest, ABlockReadsParametersAsTheyWereBeforeIt) {
    const auto result = Follow("#1=1\n#1=2 G0 X#1\nG0 X#1\nM2\n");
    ExpectMoves(result, {{kRapid, 1, 0, 0}, {kRapid, 2, 0, 0}});
}

TEST(ReadableTextTest, CommentsBlanksAndTheRestAfterASemicolonAreLeftOutInUpperCase) {
    const std::pair<const char*, const char*> cases[] = {
        {"g1 x1 (move) y2", "G1X1Y2"},
        {"(a)(b)G0 (()x1", "G0X1"},  // a comment ends at its first ')'
        {"G1 X1 (left open ; y2", "G1X1"},
        {"G1 X1 ; Y2 (z", "G1X1"},
        {"G1\tX1\r\nY2", "G1X1"},
        {"#<depth> = [1 + 2]", "#<DEPTH>=[1+2]"},
        {"", ""},
    };
    for (const auto& [line, readable] : cases)
        EXPECT_EQ(interp::ReadableText(line), readable) << line;
}

}  // namespace
}  // namespace qm::test
