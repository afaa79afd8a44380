#include <QAction>
#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>

#include <memory>
#include <random>

#include "Arrangement.h"
#include "ConvertCommands.h"
#include "FollowSession.h"
#include "ProblemsWindow.h"
#include "ProgramDocuments.h"
#include "ProgramFollow.h"
#include "StatePanel.h"
#include "TableOf.h"
#include "ToolpathCommands.h"
#include "ToolpathView.h"
#include "ToolpathWindow.h"
#include "WindowFixture.h"

namespace qm::test {
namespace {

// A subprogram, a tool change, G91, a cycle and a faulty arc.
constexpr const char* kProgram =
    "o100 sub\n"
    "G1 X0 Y0\n"
    "o100 endsub\n"
    "G21 G90 G17 F100\n"
    "T1 M6\n"
    "G43 H1 Z50\n"
    "S1200 M3\n"
    "G0 X10 Y10\n"
    "G91 G1 X5\n"
    "G90 G81 X20 Y20 Z-5 R2\n"
    "X30\n"
    "G80\n"
    "o100 call\n"
    "G2 X10\n"
    "M30\n";

class ToolpathCommandsTest : public WindowFixture {
  protected:
    ToolpathCommandsTest() {
        state_.Dictionary =
            TableOf({{0, "G91", "Incremental"}, {0, "G81", "Drill"}, {0, "G01", "Feed"}});
        WriteBytes(folder_.File("part.ngc"), kProgram);
        state_.FileTypeKey = "NGC";
        window_.show();
        state_.DictionaryLoaded = true;
        EXPECT_TRUE(OpenProgramFile(window_.context(), Path("part.ngc")));
        EXPECT_TRUE(ConvertProgram(window_.context()));
        EXPECT_TRUE(commands_.follow().FollowNow());
    }
    // The editor tells of a moved cursor once it has updated its window.
    void MoveTo(int line) {
        Source().setCursorPosition(line - 1, 0);
        QCoreApplication::processEvents();
    }
    const interp::FollowResult& Result() { return *commands_.follow().Result(); }

    ToolpathCommands commands_{window_.context(), window_};
};

TEST_F(ToolpathCommandsTest, ThePanelShowsTheStateAtTheCursorWithTheDictionarysComments) {
    const struct {
        int line;
        const char* row;
    } kRows[] = {
        {5, "* tool          T1"},
        {9, "* distance      G91           Incremental"},
        {9, "* motion        G1            Feed"},
        {9, "* position      X15 Y10 Z50"},
        {10, "* motion        G81 R2 Z-5    Drill"},
        {10, "* position      X20 Y20 Z2"},
        {11, "  motion        G81 R2 Z-5    Drill"},
        {13, "* position      X0 Y0 Z2"},  // where the subprogram left the tool
        {14, "* problem       an arc needs R or the centre words of its plane"},
    };
    for (const auto& row : kRows) {
        MoveTo(row.line);
        const QStringList rows = commands_.panel().Text().split(QLatin1Char('\n'));
        EXPECT_EQ(rows.first().toStdString(), "Line " + std::to_string(row.line) + " (rs274ngc)");
        EXPECT_TRUE(rows.contains(QString::fromLatin1(row.row)))
            << row.line << ": " << row.row << "\n"
            << commands_.panel().Text().toStdString();
    }
}

TEST_F(ToolpathCommandsTest, TheCursorHighlightsItsLinesMovesAndAClickOnTheEditorsLineGoesBack) {
    commands_.MenuDisplayToolpath->trigger();
    ToolpathWindow* window = commands_.toolpathWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->view().MoveCount(), Result().Moves().size());
    for (const int line : {8, 10, 13}) {
        MoveTo(line);
        const auto [first, end] = window->view().HighlightedMoves();
        ASSERT_LT(first, end) << line;
        // The moves the line made itself, and those of the subprogram it called.
        for (std::size_t move = first; move < end; ++move) {
            const std::uint32_t madeBy = Result().Moves()[move].line;
            EXPECT_TRUE(madeBy == std::uint32_t(line) || madeBy == 2) << line;
        }
        EXPECT_EQ(end, Result().MovesUpTo(line));
    }
    emit window->view().lineClicked(9);
    int line = 0, index = 0;
    Source().getCursorPosition(&line, &index);
    EXPECT_EQ(line, 8);
    window_.context().documents.Form1().Text1().getCursorPosition(&line, &index);
    EXPECT_EQ(line, 8);
    EXPECT_EQ(commands_.CurrentLine(), 9u);
    commands_.StepMovingLine(+1);
    EXPECT_EQ(commands_.CurrentLine(), 10u);
    commands_.StepMovingLine(-1);
    commands_.StepMovingLine(-1);
    EXPECT_EQ(commands_.CurrentLine(), 8u);
    emit window->view().lineClicked(11);
    commands_.StepMovingLine(+1);
    EXPECT_EQ(commands_.CurrentLine(), 13u) << "G80 moves nothing: stepped over";
}

TEST_F(ToolpathCommandsTest, EditsAreFollowedInPartAndGiveWhatFollowingFromTheStartGives) {
    std::mt19937 random(27);
    const char* const kLines[] = {
        "G1 X3 Y4\n", "G91\n", "G90\n", "G20\n", "G21\n", "G0 Z5\n", "G82 X1 Y1 Z-2 R1 P1\n"};
    for (int edit = 0; edit < 40; ++edit) {
        const int line = std::uniform_int_distribution<int>(4, Source().lines() - 2)(random);
        const long at = Source().positionFromLineIndex(line, 0);
        if (edit % 3 == 0) {
            Source().SendScintilla(QsciScintillaBase::SCI_DELETERANGE, at,
                                   Source().lineLength(line));
        } else {
            const char* text = kLines[std::uniform_int_distribution<std::size_t>(
                0, std::size(kLines) - 1)(random)];
            Source().SendScintilla(QsciScintillaBase::SCI_INSERTTEXT, at, text);
        }
        ASSERT_TRUE(commands_.follow().FollowNow());
        const interp::FollowResult anew =
            interp::FollowProgram(SourceText(), interp::Dialect::Rs274ngc);
        ASSERT_EQ(Result().Moves(), anew.Moves()) << edit;
        ASSERT_EQ(Result().LineCount(), anew.LineCount());
        for (std::uint32_t l = 1; l <= anew.LineCount(); ++l)
            ASSERT_TRUE(Result().StateAfter(l) == anew.StateAfter(l));
    }
}

TEST_F(ToolpathCommandsTest, ACancelledFollowKeepsTheLastPath) {
    commands_.MenuDisplayToolpath->trigger();
    const std::vector<interp::Move> before = Result().Moves();
    Source().SendScintilla(QsciScintillaBase::SCI_INSERTTEXT, Source().positionFromLineIndex(4, 0),
                           "G1 X99 Y99\n");
    services_.CancelNextTask();
    EXPECT_FALSE(commands_.follow().FollowNow());
    EXPECT_EQ(Result().Moves(), before);
    EXPECT_EQ(commands_.toolpathWindow()->view().MoveCount(), before.size());
    ASSERT_TRUE(commands_.follow().FollowNow());  // the next follow takes the edit
    EXPECT_EQ(Result().Moves().size(), before.size() + 1);
}

TEST_F(ToolpathCommandsTest, ProblemsAreListedAndGoToTheirLine) {
    commands_.MenuDisplayProblems->trigger();
    QListWidget& list = commands_.problems().list();
    ASSERT_EQ(list.count(), 1);
    EXPECT_TRUE(list.item(0)->text().startsWith(QStringLiteral("Line 14: an arc needs")));
    list.setCurrentRow(0);
    emit list.itemActivated(list.item(0));
    EXPECT_EQ(commands_.CurrentLine(), 14u);
}

TEST_F(ToolpathCommandsTest, TheDialectIsKeptPerFileTypeAndFollowedAtOnce) {
    emit controls_.MenuDisplay->aboutToShow();
    EXPECT_TRUE(
        commands_.MenuDisplayDialectItem[0]->isChecked());  // rs274ngc, as the converter reads NGC
    commands_.MenuDisplayDialect_Click("none");
    EXPECT_EQ(settings_.GetSetting(QStringLiteral("DialectNGC"), QString()),
              QStringLiteral("none"));
    EXPECT_EQ(commands_.follow().Result(), nullptr);
    EXPECT_TRUE(commands_.panel().Text().contains(QStringLiteral("not followed")));
    commands_.MenuDisplayDialect_Click("fanuc");
    ASSERT_NE(commands_.follow().Result(), nullptr);
    EXPECT_EQ(commands_.follow().Dialect(), interp::Dialect::Fanuc);
}

TEST_F(ToolpathCommandsTest, TheToolpathWindowIsTiledThirdAndItsChoicesAreKept) {
    commands_.MenuDisplayToolpath->trigger();
    MenuDisplayVertical_Click(window_.context());
    QList<QMdiSubWindow*> frames = window_.mdiArea().subWindowList();
    ASSERT_EQ(frames.size(), 3);
    std::sort(frames.begin(), frames.end(), [](auto* a, auto* b) { return a->x() < b->x(); });
    EXPECT_EQ(frames[2]->widget()->objectName(), QStringLiteral("Toolpath"));
    EXPECT_EQ(settings_.GetSetting(QStringLiteral("ShowToolpath"), QString()),
              QStringLiteral("True"));
    commands_.MenuDisplayState->trigger();
    EXPECT_EQ(settings_.GetSetting(QStringLiteral("ShowState"), QString()),
              QStringLiteral("False"));
    frames[2]->close();
    EXPECT_EQ(commands_.toolpathWindow(), nullptr);
    EXPECT_FALSE(commands_.MenuDisplayToolpath->isChecked());
    EXPECT_EQ(settings_.GetSetting(QStringLiteral("ShowToolpath"), QString()),
              QStringLiteral("False"));
}

TEST_F(ToolpathCommandsTest, SavePictureWritesPngOrSvgAndSaysWhenItCannot) {
    commands_.MenuDisplayToolpath->trigger();
    ToolpathWindow& window = *commands_.toolpathWindow();
    const struct {
        QString chosen;
        std::string written;  // where, or empty: nothing may be written
        std::string opening;  // found in its first bytes
    } kCases[] = {
        {Path("view.png"), folder_.File("view.png"), "\x89PNG"},
        {Path("view"), folder_.File("view.png"), "\x89PNG"},  // a name without a type is a PNG
        {Path("view.svg"), folder_.File("view.svg"), "<svg"},
        {Path("missing/view.png"), {}, {}},
    };
    for (const auto& c : kCases) {
        services_.messages.clear();
        services_.AnswerFileDialog(c.chosen);
        window.SavePicture_Click();
        if (c.written.empty()) {
            ASSERT_EQ(services_.messages.size(), 1u);
            EXPECT_TRUE(
                services_.messages[0].prompt.contains(QStringLiteral("could not be written")));
        } else {
            EXPECT_TRUE(services_.messages.empty());
            EXPECT_NE(ReadBytes(c.written).substr(0, 300).find(c.opening), std::string::npos)
                << c.written;
        }
    }
}

TEST_F(ToolpathCommandsTest, AnEditedPathIsDrawnAsSettingItWholeDrawsIt) {
    commands_.MenuDisplayToolpath->trigger();
    ToolpathView& view = commands_.toolpathWindow()->view();
    view.Picture();  // uploaded: edits now change the buffer drawn
    // Enough moves in front that the edits after them fall past the buffer's first part.
    std::string outAndBack;
    for (int i = 0; i < 600; ++i)
        outAndBack += "G1 X0 Y1\nG1 X0 Y0\n";
    struct Edit {
        const char* name;
        int line;  // 0-based
        int removed;
        std::string text;
    };
    const Edit edits[] = {
        {"many moves inserted in front", 4, 0, outAndBack},
        // Circles back to where they began: the moves after start where they did, and its
        // chords are more than the buffer has room for.
        {"a helix of many turns inserted", 1208, 0, "G2 I5 J0 Z1 P200\n"},
        {"and removed again", 1208, 1, ""},
        {"a drilled hole moved", 1210, 1, "X31\n"},
        {"a move inserted", 1208, 0, "G1 X3 Y4\n"},
        {"the tool change removed", 1204, 1, ""},
    };
    for (const Edit& edit : edits) {
        SCOPED_TRACE(edit.name);
        const long at = Source().positionFromLineIndex(edit.line, 0);
        long length = 0;
        for (int k = 0; k < edit.removed; ++k)
            length += Source().lineLength(edit.line + k);
        Source().SendScintilla(QsciScintillaBase::SCI_DELETERANGE, at, length);
        Source().SendScintilla(QsciScintillaBase::SCI_INSERTTEXT, at, edit.text.c_str());
        ASSERT_TRUE(commands_.follow().FollowNow());
        const QByteArray edited = view.SvgPicture();
        view.SetPath(Result().Moves(), {});
        EXPECT_EQ(view.SvgPicture(), edited);
        view.Picture();  // uploaded again, for the next edit to change
    }
}

// Saving rewrites the settings file and waits for the disk: a frame being moved or laid out
// saves its place with the next save of the view's settings, at the latest when it closes.
TEST_F(ToolpathCommandsTest, TheToolpathFramesLastPlaceIsKeptWhenTheWindowCloses) {
    auto commands = std::make_unique<ToolpathCommands>(window_.context(), window_);
    commands->MenuDisplayToolpath->trigger();
    ASSERT_NE(commands->toolpathWindow(), nullptr);
    QWidget* frame = commands->toolpathWindow()->parentWidget();
    frame->move(frame->pos() + QPoint(37, 11));
    frame->resize(frame->size() + QSize(23, 17));
    const QRect place = frame->geometry();
    commands.reset();
    EXPECT_EQ(QRect(settings_.GetSetting(QStringLiteral("ToolpathLeft"), QString()).toInt(),
                    settings_.GetSetting(QStringLiteral("ToolpathTop"), QString()).toInt(),
                    settings_.GetSetting(QStringLiteral("ToolpathWidth"), QString()).toInt(),
                    settings_.GetSetting(QStringLiteral("ToolpathHeight"), QString()).toInt()),
              place);
}

}  // namespace
}  // namespace qm::test
