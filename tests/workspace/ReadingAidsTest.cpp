// The reading aids in the main window, offscreen: windows moving together, margins, colours,
// marked comments, hover, find, go to line and zoom.
#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QMenu>
#include <QPalette>
#include <QScrollBar>
#include <QTest>
#include <QToolTip>

#include <Qsci/qscilexer.h>

#include "CaretBlink.h"
#include "Controls.h"
#include "EditorLook.h"
#include "FindBar.h"
#include "NcLexer.h"
#include "ProgramDocuments.h"
#include "ReadingAids.h"
#include "ReadingTheme.h"
#include "WindowFixture.h"
#include "WordHover.h"

namespace qm {
namespace {

using B = QsciScintillaBase;

// A program of `lines` lines: "N7 G00 X7. M03".
std::string Program(int lines) {
    std::string text;
    for (int i = 0; i < lines; ++i)
        text += "N" + std::to_string(i) + " G00 X" + std::to_string(i) + ". M03\r\n";
    return text;
}

class ReadingAidsTest : public test::WindowFixture {
  protected:
    void SetUp() override {
        WriteDic("Kestrel-ENG.dic", "0,\"G00\",\"RAPID\"\r\n1,\"M03\",\"SPINDLE ON\"\r\n");
        window_.StartUp(QString());
        window_.resize(900, 600);
        window_.show();
        Open(300);
    }
    void Open(int lines) {
        test::WriteBytes(folder_.File("O1.MIN"), Program(lines));
        services_.AnswerFileDialog(Path("O1.MIN"));
        MenuFileOpen_Click(window_.context());
        Settle();
    }
    // Lets the windows paint, which is when the editors report what changed on screen.
    void Settle() {
        for (int i = 0; i < 3; ++i) {
            QCoreApplication::processEvents();
            Source().viewport()->repaint();
            Converted().viewport()->repaint();
        }
    }
    static long MarginWidth(QsciScintilla& editor) {
        return editor.SendScintilla(B::SCI_GETMARGINWIDTHN,
                                    static_cast<unsigned long>(kLineNumberMargin));
    }
    static long TextWidth(QsciScintilla& editor, const char* text) {
        return editor.SendScintilla(B::SCI_TEXTWIDTH,
                                    static_cast<unsigned long>(B::STYLE_LINENUMBER), text);
    }
    // Whether the first `text` of the converted window's line is marked as an inserted comment.
    bool Marked(long line, const char* text) {
        const long start =
            Converted().SendScintilla(B::SCI_POSITIONFROMLINE, static_cast<unsigned long>(line));
        const long at =
            start + long(EditorText(Converted()).substr(std::size_t(start), 60).find(text));
        return Converted().SendScintilla(B::SCI_INDICATORVALUEAT,
                                         static_cast<unsigned long>(kInsertedCommentIndicator),
                                         at) != 0;
    }
    ReadingAids& aids() { return window_.readingAids(); }
    static long PositionOf(QsciScintilla& editor, const char* text) {
        const std::string all = EditorText(editor);
        return long(all.find(text));
    }
    void Wheel(QsciScintilla& editor, int notches) {
        const QPointF at(50, 50);
        QWheelEvent wheel(at, editor.viewport()->mapToGlobal(at), QPoint(),
                          QPoint(0, -120 * notches), Qt::NoButton, Qt::NoModifier,
                          Qt::NoScrollPhase, false);
        QApplication::sendEvent(editor.viewport(), &wheel);
        Settle();
    }
    void Focus(QsciScintilla& editor) {
        QApplication::setActiveWindow(&window_);
        editor.setFocus();
        QCoreApplication::processEvents();
    }
};

TEST_F(ReadingAidsTest, ScrollingAndKeysInEitherWindowMoveTheOther) {
    Wheel(Source(), 10);
    EXPECT_GT(FirstLine(Source()), 0);
    EXPECT_EQ(FirstLine(Converted()), FirstLine(Source()));

    Wheel(Converted(), 4);
    EXPECT_GT(FirstLine(Converted()), 30);
    EXPECT_EQ(FirstLine(Source()), FirstLine(Converted()));

    QTest::keyClick(Converted().viewport(), Qt::Key_Down);  // key events reach the editor itself
    QTest::keyClick(&Converted(), Qt::Key_PageDown);
    Settle();
    EXPECT_GT(CaretLine(Converted()), 0);
    EXPECT_EQ(CaretLine(Source()), CaretLine(Converted()));
    EXPECT_EQ(FirstLine(Source()), FirstLine(Converted()));

    QTest::keyClick(&Source(), Qt::Key_Down);
    QTest::keyClick(&Source(), Qt::Key_Down);
    Settle();
    EXPECT_EQ(CaretLine(Converted()), CaretLine(Source()));

    // A click on a line of the converted window makes it the current line of both.
    const long lineHeight = Converted().SendScintilla(B::SCI_TEXTHEIGHT, 0ul);
    QTest::mouseClick(Converted().viewport(), Qt::LeftButton, {},
                      QPoint(120, int(lineHeight * 5 + lineHeight / 2)));
    Settle();
    EXPECT_EQ(CaretLine(Converted()), FirstLine(Converted()) + 5);
    EXPECT_EQ(CaretLine(Source()), CaretLine(Converted()));
}

TEST_F(ReadingAidsTest, ConversionDoesNotPullTheSourceWindowAway) {
    Wheel(Converted(), 20);
    const long shown = FirstLine(Source());
    ASSERT_GT(shown, 0);
    Open(300);  // the source starts again at the top; the converted window follows it there
    EXPECT_EQ(FirstLine(Source()), 0);
    EXPECT_EQ(FirstLine(Converted()), 0);
}

TEST_F(ReadingAidsTest, ScrollTogetherOffLetsTheWindowsMoveAlone) {
    QAction* item = aids().MenuDisplayScrollTogether;  // on at start: the menu tree says so
    item->trigger();
    EXPECT_FALSE(state_.ScrollTogether);
    EXPECT_FALSE(item->isChecked());
    Wheel(Source(), 10);
    EXPECT_GT(FirstLine(Source()), 0);
    EXPECT_EQ(FirstLine(Converted()), 0);
    QTest::keyClick(&Source(), Qt::Key_Down);
    Settle();
    EXPECT_EQ(CaretLine(Converted()), 0);

    item->trigger();  // on again: the converted window comes beside the source at once
    EXPECT_TRUE(state_.ScrollTogether);
    EXPECT_EQ(FirstLine(Converted()), FirstLine(Source()));
    EXPECT_EQ(CaretLine(Converted()), CaretLine(Source()));
}

TEST_F(ReadingAidsTest, BothWindowsNumberTheirLinesAndTheSourceIsColoured) {
    for (QsciScintilla* editor : {&Source(), &Converted()})
        EXPECT_GE(MarginWidth(*editor), TextWidth(*editor, "9999"));
    const long narrow = MarginWidth(Source());
    Open(123456);
    EXPECT_GE(MarginWidth(Source()), TextWidth(Source(), "9999999"));
    EXPECT_GT(MarginWidth(Source()), narrow);

    ASSERT_NE(qobject_cast<NcLexer*>(Source().lexer()), nullptr);
    // The colours must not bring back the change notifications a long program cannot afford.
    EXPECT_EQ(Source().SendScintilla(B::SCI_GETMODEVENTMASK),
              B::SC_MOD_BEFOREINSERT | B::SC_MOD_BEFOREDELETE);
    EXPECT_EQ(Converted().SendScintilla(B::SCI_GETMODEVENTMASK), 0);
    const auto styleAt = [this](const char* text) {
        return char(Source().SendScintilla(B::SCI_GETSTYLEAT,
                                           static_cast<unsigned long>(PositionOf(Source(), text))));
    };
    EXPECT_EQ(styleAt("G00 X0."), kNcGCode);
    EXPECT_EQ(styleAt("M03"), kNcMCode);
}

// QScintilla's text interface counts the characters up to the caret on every screen update.
TEST_F(ReadingAidsTest, EditorsSkipTheCostlyTextInterfaceUntilAnAssistiveToolListens) {
    for (bool listening : {false, true}) {
        QAccessible::setActive(listening);
        for (QsciScintilla* editor : {&Source(), &Converted()}) {
            QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(editor);
            ASSERT_NE(accessible, nullptr);
            EXPECT_EQ(accessible->textInterface() != nullptr, listening);
        }
    }
    QAccessible::setActive(false);
}

TEST(NcLexerTest, StylesEachKindOfNcWord) {
    const auto styled = [](std::string_view text) {
        std::string styles(text.size(), '?');
        StyleNcText(text, styles.data());
        for (char& c : styles)
            c = char('0' + c);
        return styles;
    };
    // 0 default, 1 G, 2 M, 3 address, 4 comment, 5 variable
    EXPECT_EQ(styled("N10 G01 X-1.5 (CUT) F2."), "33301110333330444440333");
    EXPECT_EQ(styled("M98P2207;CALL\r\nG1"), "22233333444440011");
    EXPECT_EQ(styled("#500=#1+2 X#2"), "5555055000355");
    EXPECT_EQ(styled("IF[#1EQ2]GOTO10 (OPEN\r\ng0"), "0005500000000000444440011");
    EXPECT_EQ(styled("#<_tool>=3"), "5555555500");
}

TEST(ReadingThemeTest, ColouredTextIsReadableOnLightAndDarkThemes) {
    QPalette light, dark;
    light.setColor(QPalette::Base, Qt::white);
    light.setColor(QPalette::Text, Qt::black);
    light.setColor(QPalette::Highlight, QColor(0x30, 0x8c, 0xc6));
    dark.setColor(QPalette::Base, QColor(0x1e, 0x1e, 0x1e));
    dark.setColor(QPalette::Text, QColor(0xdd, 0xdd, 0xdd));
    dark.setColor(QPalette::Highlight, QColor(0x30, 0x8c, 0xc6));
    for (bool isDark : {false, true}) {
        const ReadingTheme theme = ReadingTheme::For(isDark ? dark : light);
        EXPECT_EQ(theme.dark, isDark);
        for (const QColor& colour :
             {theme.gCode, theme.mCode, theme.address, theme.comment, theme.variable}) {
            EXPECT_GE(ContrastRatio(colour, theme.paper), 4.5) << colour.name().toStdString();
            EXPECT_GE(ContrastRatio(colour, theme.currentLine), 4.5) << colour.name().toStdString();
        }
        EXPECT_GE(ContrastRatio(theme.text, theme.insertedComment), 4.5);
        EXPECT_GE(ContrastRatio(theme.lineNumbers, theme.lineNumberPaper), 3.0);
        EXPECT_NE(theme.insertedComment, theme.paper);
    }
}

TEST_F(ReadingAidsTest, InsertedCommentsAreMarkedOnTheLinesShown) {
    EXPECT_TRUE(Marked(2, "Rapid"));
    EXPECT_TRUE(Marked(2, "Spindle On"));
    EXPECT_FALSE(Marked(2, "N2"));
    EXPECT_FALSE(Marked(2, "X2."));
    EXPECT_FALSE(Marked(250, "Rapid")) << "lines never shown are not worked out";
    Source().SendScintilla(B::SCI_SETFIRSTVISIBLELINE, 240ul);
    Settle();
    EXPECT_TRUE(Marked(250, "Rapid"));

    // A line typed over by hand no longer is what its source line converts to.
    const long lineStart = Converted().SendScintilla(B::SCI_POSITIONFROMLINE, 245ul);
    Converted().SendScintilla(B::SCI_INSERTTEXT, static_cast<unsigned long>(lineStart), "Z");
    Settle();
    EXPECT_FALSE(Marked(245, "Rapid"));
    EXPECT_TRUE(Marked(246, "Rapid"));
}

// Each blink draws the caret's line again, at a cost that grows with the line: on a long line
// the caret stays lit, so that an idle program does nothing.
TEST_F(ReadingAidsTest, TheCaretBlinksOnlyOnLinesShortEnoughToDrawAtEachBlink) {
    const std::string longLine(kSteadyCaretLineLength + 1, 'X');
    SetEditorText(Source(), "G00\r\n" + longLine + "\r\nM30\r\n");
    const auto periodAt = [this](long line) {
        Source().SendScintilla(B::SCI_GOTOLINE, static_cast<unsigned long>(line));
        Source().SendScintilla(B::SCI_LINEEND);
        Settle();
        return Source().SendScintilla(B::SCI_GETCARETPERIOD);
    };
    ASSERT_GT(QApplication::cursorFlashTime(), 0);
    EXPECT_EQ(periodAt(1), 0) << "steady on the long line";
    EXPECT_EQ(periodAt(2), QApplication::cursorFlashTime() / 2) << "blinking again below it";
    EXPECT_EQ(periodAt(1), 0);
    EXPECT_EQ(periodAt(0), QApplication::cursorFlashTime() / 2);
}

// A resize shows more lines without scrolling: they are marked as soon as they are shown.
TEST_F(ReadingAidsTest, LinesShownByAResizeAreMarkedWithoutScrolling) {
    const long shown = Converted().SendScintilla(B::SCI_LINESONSCREEN);
    const long below = shown + 5;
    ASSERT_FALSE(Marked(below, "Rapid")) << "not shown yet";
    window_.resize(900, 1400);
    window_.context().documents.Form1().parentWidget()->resize(450, 1300);
    Settle();
    ASSERT_GT(Converted().SendScintilla(B::SCI_LINESONSCREEN), below + 1);
    EXPECT_EQ(FirstLine(Converted()), 0) << "nothing scrolled";
    EXPECT_TRUE(Marked(below, "Rapid"));
}

TEST_F(ReadingAidsTest, RestingOnADictionaryWordShowsItsComment) {
    const long g00 = PositionOf(Source(), "G00 X7.");
    EXPECT_EQ(aids().hover().TextAt(Source(), g00 + 1), "G00: Rapid");
    EXPECT_EQ(aids().hover().TextAt(Source(), PositionOf(Source(), "M03")), "M03: Spindle On");
    EXPECT_EQ(aids().hover().TextAt(Source(), PositionOf(Source(), "X7.")), "");
    EXPECT_EQ(aids().hover().TextAt(Source(), -1), "");
    emit Source().SCN_DWELLSTART(int(g00), 40, 40);
    EXPECT_EQ(QToolTip::text(), "G00: Rapid");
}

TEST_F(ReadingAidsTest, FindSearchesTheFocusedWindowAndTheOtherFollows) {
    Focus(Source());
    FindBar& bar = aids().findBar();
    aids().MenuEditFind->trigger();
    EXPECT_TRUE(bar.isVisible());
    bar.findField().setText("x250.");
    bar.matchCase().setChecked(true);
    aids().MenuEditFindNext->trigger();
    EXPECT_EQ(bar.status(), "Not found");
    bar.matchCase().setChecked(false);
    aids().MenuEditFindNext->trigger();
    Settle();
    EXPECT_EQ(CaretLine(Source()), 250);
    EXPECT_EQ(CaretLine(Converted()), 250);
    EXPECT_EQ(FirstLine(Source()), 250 - Source().SendScintilla(B::SCI_LINESONSCREEN) / 3)
        << "with lines before it";
    EXPECT_EQ(FirstLine(Converted()), FirstLine(Source()));

    Focus(Converted());
    bar.findField().setText("Rapid X10.");
    aids().MenuEditFindPrevious->trigger();
    Settle();
    EXPECT_EQ(CaretLine(Converted()), 10);
    EXPECT_EQ(CaretLine(Source()), 10);
    EXPECT_EQ(FirstLine(Source()), FirstLine(Converted()));
    EXPECT_EQ(bar.status(), "");
}

TEST_F(ReadingAidsTest, FindWrapsAroundOnlyWhenAsked) {
    struct Case {
        const char* text;
        bool forward, matchCase, wrap;
        FindResult result;
        long line;  // where the caret is afterwards
    };
    const Case cases[] = {
        {"X5.", true, true, false, FindResult::NotFound, 280},
        {"X5.", true, true, true, FindResult::FoundAfterWrapping, 5},
        {"X5.", true, true, true, FindResult::FoundAfterWrapping, 5},  // the only one
        {"g00 x7", true, false, false, FindResult::Found, 7},
        {"G00 X6", false, true, false, FindResult::Found, 6},
        {"G00 X9", false, true, false, FindResult::NotFound, 6},
        {"G00 X9", false, true, true, FindResult::FoundAfterWrapping, 99},
        {"", true, true, true, FindResult::NotFound, 99},
    };
    Source().SendScintilla(B::SCI_GOTOLINE, 280ul);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(FindInEditor(Source(), c.text, c.forward, c.matchCase, c.wrap), c.result);
        EXPECT_EQ(CaretLine(Source()), c.line);
    }
}

TEST_F(ReadingAidsTest, GoToLineMovesBothWindows) {
    Focus(Converted());
    aids().MenuEditGoToLine->trigger();
    FindBar& bar = aids().findBar();
    EXPECT_TRUE(bar.isVisible());
    EXPECT_EQ(bar.lineField().text(), "1");
    bar.lineField().setText("200");
    emit bar.lineField().returnPressed();
    Settle();
    EXPECT_EQ(CaretLine(Converted()), 199);
    EXPECT_EQ(CaretLine(Source()), 199);
    EXPECT_EQ(FirstLine(Source()), FirstLine(Converted()));
    GoToLine(Source(), 999999);
    EXPECT_EQ(CaretLine(Source()), 300);
    GoToLine(Source(), -4);
    EXPECT_EQ(CaretLine(Source()), 0);
}

TEST_F(ReadingAidsTest, ZoomChangesBothWindowsTogether) {
    const long margin = MarginWidth(Source());
    Focus(Converted());
    aids().MenuDisplayZoomIn->trigger();
    EXPECT_EQ(Source().SendScintilla(B::SCI_GETZOOM), 1);
    EXPECT_EQ(Converted().SendScintilla(B::SCI_GETZOOM), 1);
    Source().SendScintilla(B::SCI_ZOOMIN);  // as Ctrl and the wheel do
    EXPECT_EQ(Converted().SendScintilla(B::SCI_GETZOOM), 2);
    EXPECT_GT(MarginWidth(Source()), margin);
    aids().MenuDisplayZoomOut->trigger();
    EXPECT_EQ(Source().SendScintilla(B::SCI_GETZOOM), 1);
    aids().MenuDisplayZoomNormal->trigger();
    EXPECT_EQ(Source().SendScintilla(B::SCI_GETZOOM), 0);
    EXPECT_EQ(Converted().SendScintilla(B::SCI_GETZOOM), 0);
}

// A match found inside an inserted comment is selected over the comment's tint: its letters
// must stand out from what is behind them (the lightest and darkest pixels of the word).
TEST_F(ReadingAidsTest, ASelectionOverAMarkedCommentKeepsItsTextReadable) {
    const long from = PositionOf(Converted(), "Rapid");
    Converted().SendScintilla(B::SCI_SETSEL, static_cast<unsigned long>(from), from + 5);
    Settle();
    ASSERT_NE(
        Converted().SendScintilla(B::SCI_INDICATORVALUEAT,
                                  static_cast<unsigned long>(kInsertedCommentIndicator), from),
        0);
    const auto at = [this](long position, unsigned int message) {
        return int(Converted().SendScintilla(message, 0ul, position));
    };
    const QRect word(
        QPoint(at(from, B::SCI_POINTXFROMPOSITION), at(from, B::SCI_POINTYFROMPOSITION)),
        QPoint(at(from + 5, B::SCI_POINTXFROMPOSITION) - 1,
               at(from, B::SCI_POINTYFROMPOSITION) +
                   int(Converted().SendScintilla(B::SCI_TEXTHEIGHT, 0ul)) - 1));
    const QImage shot = Converted().viewport()->grab().toImage();
    int darkest = 255, lightest = 0;
    for (int y = word.top(); y <= word.bottom(); ++y)
        for (int x = word.left(); x <= word.right(); ++x) {
            const int grey = qGray(shot.pixel(x, y));
            darkest = std::min(darkest, grey);
            lightest = std::max(lightest, grey);
        }
    EXPECT_GT(lightest - darkest, 110) << "darkest " << darkest << ", lightest " << lightest;
}

// A jump far down a long program colours the lines it shows without colouring all those it
// passed over, which are coloured once they are shown.
TEST_F(ReadingAidsTest, AJumpFarDownColoursTheLinesShownAndThosePassedOverWhenShown) {
    Open(30000);  // about 750 KB, far more than is styled at once
    const auto styleOfLine = [this](long line) {
        const long start =
            Source().SendScintilla(B::SCI_POSITIONFROMLINE, static_cast<unsigned long>(line));
        // "N<line> G00": the G code's first letter.
        const long at = start + long(std::to_string(line).size()) + 2;
        return char(Source().SendScintilla(B::SCI_GETSTYLEAT, static_cast<unsigned long>(at)));
    };
    Source().setCursorPosition(29000, 0);
    Source().ensureLineVisible(29000);
    Settle();
    EXPECT_EQ(styleOfLine(29000), kNcGCode);
    EXPECT_EQ(styleOfLine(15000), kNcDefault) << "the lines passed over wait until shown";
    for (const long line : {15000L, 400L, 29990L}) {
        Source().setCursorPosition(int(line), 0);
        Source().ensureLineVisible(int(line));
        Settle();
        EXPECT_EQ(styleOfLine(line), kNcGCode) << line;
    }
    // An edit above the lines shown, then a jump over the edited part: still coloured.
    Source().SendScintilla(B::SCI_INSERTTEXT, 0ul, "G01 X1.\r\n");
    Source().setCursorPosition(20000, 0);
    Source().ensureLineVisible(20000);
    Settle();
    EXPECT_EQ(styleOfLine(20000), kNcGCode);
}

}  // namespace
}  // namespace qm
