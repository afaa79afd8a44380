#include "BlockReader.h"
#include "FollowFixture.h"

namespace qm::test {
namespace {

class ExpressionTest : public FollowFixture {};

struct ValueCase {
    const char* expression;
    double value;
};

// Each expression is the X of a rapid; the move's X is its value, exactly (ReferenceTest
// compares every operator and function to four decimals).
TEST_F(ExpressionTest, OperatorsAndFunctionsWithTheirPrecedence) {
    const ValueCase cases[] = {
        {"[2**3**2]", 512},
        {"[1+2 EQ 3]", 1},
        {"[2 GT 3 OR 1]", 1},
        {"- 3", -3},
        {"[EXISTS[#<_x>]]", 1},
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
