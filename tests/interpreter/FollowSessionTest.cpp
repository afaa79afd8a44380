#include <random>

#include "FollowFixture.h"
#include "FollowSession.h"
#include "Follower.h"

namespace qm::test {
namespace {

using interp::Dialect;

// Lines of every kind that changes what later lines do: modes, units, parameters, offsets,
// tools, cycles, problems, and now and then an end or a jump.
const char* const kLines[] = {
    "G0 X{} Y{}\n",
    "G1 X{} Z-{} F100\n",
    "G91\n",
    "G90\n",
    "G20\n",
    "G21\n",
    "#1=[#1+{}]\n",
    "G0 X#1\n",
    "G10 L2 P1 X{}\n",
    "T{} M6\n",
    "G81 X{} Z-1 R1\n",
    "G80\n",
    "(note)\n",
    "G7.3\n",
    "G2 X{} Y0 R{}\n",
    "S{} M3\n",
    "G92 X{}\n",
    "G92.1\n",
    "M2\n",
    "o1 if [1]\n",
};

class FollowSessionTest : public FollowFixture {
  protected:
    std::string RandomLine(bool rareToo) {
        const std::size_t kinds = std::size(kLines);
        // Ends and jumps are rare, so that most edits can be followed in part.
        std::size_t kind = std::uniform_int_distribution<std::size_t>(0, kinds - 3)(random_);
        if (rareToo && std::uniform_int_distribution<int>(0, 100)(random_) == 0)
            kind = kinds - 2 + std::uniform_int_distribution<std::size_t>(0, 1)(random_);
        std::string line = kLines[kind];
        for (std::size_t at; (at = line.find("{}")) != std::string::npos;)
            line.replace(at, 2, std::to_string(std::uniform_int_distribution<int>(1, 9)(random_)));
        return line;
    }
    std::string RandomLines(int count, bool rareToo = true) {
        std::string text;
        for (int i = 0; i < count; ++i)
            text += RandomLine(rareToo);
        return text;
    }
    int Below(int n) { return std::uniform_int_distribution<int>(0, n - 1)(random_); }

    static void ExpectSameAsFollowingAnew(const interp::FollowSession& session) {
        const auto anew = interp::FollowProgram(session.Text(), Dialect::Rs274ngc);
        const auto& kept = session.Result();
        ASSERT_EQ(kept.LineCount(), anew.LineCount());
        ASSERT_EQ(kept.Moves().size(), anew.Moves().size());
        for (std::size_t i = 0; i < anew.Moves().size(); ++i)
            ASSERT_TRUE(kept.Moves()[i] == anew.Moves()[i]) << "move " << i;
        ASSERT_EQ(Reasons(kept), Reasons(anew));
        for (std::uint32_t line = 1; line <= anew.LineCount(); ++line) {
            ASSERT_TRUE(kept.StateAfter(line) == anew.StateAfter(line)) << "line " << line;
            ASSERT_EQ(kept.PositionAfter(line), anew.PositionAfter(line)) << "line " << line;
        }
    }

    std::mt19937 random_{26};
};

// Every fifth edit is cancelled a few lines in: the session must then be as it was before.
TEST_F(FollowSessionTest, FollowingAgainAfterRandomEditsEqualsFollowingFromTheStart) {
    int inPart = 0, cancelled = 0;
    for (int program = 0; program < 4; ++program) {
        interp::FollowSession session(Dialect::Rs274ngc, nullptr, 16);
        session.Follow("G21 G90 F100\n" + RandomLines(300, false));
        for (int edit = 0; edit < 60; ++edit) {
            const int lines = int(session.Result().LineCount()) + 1;
            const auto first = std::uint32_t(1 + Below(lines));
            const auto removed = std::uint32_t(Below(4));
            const std::string added = RandomLines(Below(4));
            const std::string before = session.Text();
            int budget = Below(8);
            session.SetKeepGoing(
                [&, cancel = edit % 5 == 0](std::uint32_t) { return !cancel || budget-- > 0; });
            if (!session.Replace(first, removed, added)) {
                ++cancelled;
                ASSERT_EQ(session.Text(), before);
            }
            SCOPED_TRACE("program " + std::to_string(program) + ", edit " + std::to_string(edit));
            ExpectSameAsFollowingAnew(session);
            inPart += session.LinesFollowedLast() < session.Result().LineCount() / 2;
        }
    }
    EXPECT_GT(inPart, 100);  // most edits were followed again in part, not from the start
    EXPECT_GT(cancelled, 20);
}

TEST_F(FollowSessionTest, ReadingAheadOnASecondThreadChangesNothing) {
    for (int program = 0; program < 3; ++program) {
        // Parameters, errors and, in the last, a loop that jumps back over thousands of lines.
        std::string text = "G21 G90 F100\n#1=0\n" + RandomLines(6000, false);
        if (program == 2)
            text = "#2=0\no9 while [#2 LT 2]\n#2=[#2+1]\n" + text + "o9 endwhile\n";
        text += "M2\n";
        const auto alone = Follow(text);
        interp::FollowResult ahead;
        interp::Follower follower(Dialect::Rs274ngc, ahead);
        follower.SetReadAheadFrom(1);
        follower.Follow(text);
        ASSERT_EQ(ahead.Moves().size(), alone.Moves().size());
        for (std::size_t i = 0; i < alone.Moves().size(); ++i)
            ASSERT_TRUE(ahead.Moves()[i] == alone.Moves()[i]) << "move " << i;
        EXPECT_EQ(Reasons(ahead), Reasons(alone));
    }
}

TEST_F(FollowSessionTest, AnEditThatLeavesTheStateAsItWasFollowsOnlyToTheNextKeptState) {
    std::string text = "G21 G90 F100\n";
    for (int i = 0; i < 2000; ++i)
        text += "G1 X" + std::to_string(i % 10) + "\n";
    interp::FollowSession session(Dialect::Rs274ngc);
    session.Follow(text + "M2\n");
    session.SetKeepGoing([](std::uint32_t followed) { return followed < 10; });
    EXPECT_FALSE(session.Follow("G0 X1\n" + text));  // a whole new text cancelled: kept as it was
    session.SetKeepGoing(nullptr);
    session.Replace(1000, 1, "G1 X5 Y0\n");
    ExpectSameAsFollowingAnew(session);
    EXPECT_LE(session.LinesFollowedLast(), interp::FollowSession::kCheckpointEvery + 1);
}

}  // namespace
}  // namespace qm::test
