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

#include <set>

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
        test::WriteBytes(
            folder_.File("Kestrel-ENG.dic"),
            std::string(kHeader) + "0,\"G00\",\"RAPID\"\r\n1,\"M03\",\"SPINDLE ON\"\r\n");
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
            source().viewport()->repaint();
            converted().viewport()->repaint();
        }
    }
    QsciScintilla& source() { return window_.context().documents.OriginalFile().Text1(); }
    QsciScintilla& converted() { return window_.context().documents.Form1().Text1(); }
    ReadingAids& aids() { return window_.readingAids(); }
    static long FirstLine(QsciScintilla& editor) {
        return editor.SendScintilla(B::SCI_GETFIRSTVISIBLELINE);
    }
    static long CaretLine(QsciScintilla& editor) {
        return editor.SendScintilla(
            B::SCI_LINEFROMPOSITION,
            static_cast<unsigned long>(editor.SendScintilla(B::SCI_GETCURRENTPOS)));
    }
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
    Wheel(source(), 10);
    EXPECT_GT(FirstLine(source()), 0);
    EXPECT_EQ(FirstLine(converted()), FirstLine(source()));

    Wheel(converted(), 4);
    EXPECT_GT(FirstLine(converted()), 30);
    EXPECT_EQ(FirstLine(source()), FirstLine(converted()));

    QTest::keyClick(converted().viewport(), Qt::Key_Down);  // key events reach the editor itself
    QTest::keyClick(&converted(), Qt::Key_PageDown);
    Settle();
    EXPECT_GT(CaretLine(converted()), 0);
    EXPECT_EQ(CaretLine(source()), CaretLine(converted()));
    EXPECT_EQ(FirstLine(source()), FirstLine(converted()));

    QTest::keyClick(&source(), Qt::Key_Down);
    QTest::keyClick(&source(), Qt::Key_Down);
    Settle();
    EXPECT_EQ(CaretLine(converted()), CaretLine(source()));

    // A click on a line of the converted window makes it the current line of both.
    const long lineHeight = converted().SendScintilla(B::SCI_TEXTHEIGHT, 0ul);
    QTest::mouseClick(converted().viewport(), Qt::LeftButton, {},
                      QPoint(120, int(lineHeight * 5 + lineHeight / 2)));
    Settle();
    EXPECT_EQ(CaretLine(converted()), FirstLine(converted()) + 5);
    EXPECT_EQ(CaretLine(source()), CaretLine(converted()));
}

TEST_F(ReadingAidsTest, ConversionDoesNotPullTheSourceWindowAway) {
    Wheel(converted(), 20);
    const long shown = FirstLine(source());
    ASSERT_GT(shown, 0);
    Open(300);  // the source starts again at the top; the converted window follows it there
    EXPECT_EQ(FirstLine(source()), 0);
    EXPECT_EQ(FirstLine(converted()), 0);
}

TEST_F(ReadingAidsTest, ScrollTogetherOffLetsTheWindowsMoveAlone) {
    QAction* item = aids().MenuDisplayScrollTogether;
    EXPECT_EQ(item->text(), "&Scroll together");
    EXPECT_TRUE(item->isChecked());
    item->trigger();
    EXPECT_FALSE(state_.ScrollTogether);
    EXPECT_FALSE(item->isChecked());
    Wheel(source(), 10);
    EXPECT_GT(FirstLine(source()), 0);
    EXPECT_EQ(FirstLine(converted()), 0);
    QTest::keyClick(&source(), Qt::Key_Down);
    Settle();
    EXPECT_EQ(CaretLine(converted()), 0);

    item->trigger();  // on again: the converted window comes beside the source at once
    EXPECT_TRUE(state_.ScrollTogether);
    EXPECT_EQ(FirstLine(converted()), FirstLine(source()));
    EXPECT_EQ(CaretLine(converted()), CaretLine(source()));
}

TEST_F(ReadingAidsTest, BothWindowsNumberTheirLinesAndTheSourceIsColoured) {
    for (QsciScintilla* editor : {&source(), &converted()}) {
        EXPECT_EQ(editor->SendScintilla(B::SCI_GETMARGINTYPEN,
                                        static_cast<unsigned long>(kLineNumberMargin)),
                  B::SC_MARGIN_NUMBER);
        EXPECT_GE(editor->SendScintilla(B::SCI_GETMARGINWIDTHN,
                                        static_cast<unsigned long>(kLineNumberMargin)),
                  editor->SendScintilla(B::SCI_TEXTWIDTH,
                                        static_cast<unsigned long>(B::STYLE_LINENUMBER), "9999"));
        EXPECT_EQ(editor->SendScintilla(B::SCI_GETCARETLINEVISIBLE), 1);
        EXPECT_EQ(editor->SendScintilla(B::SCI_GETCARETLINEVISIBLEALWAYS), 1);
    }
    const long narrow = source().SendScintilla(B::SCI_GETMARGINWIDTHN,
                                               static_cast<unsigned long>(kLineNumberMargin));
    Open(123456);
    EXPECT_GE(source().SendScintilla(B::SCI_GETMARGINWIDTHN,
                                     static_cast<unsigned long>(kLineNumberMargin)),
              source().SendScintilla(B::SCI_TEXTWIDTH,
                                     static_cast<unsigned long>(B::STYLE_LINENUMBER), "9999999"));
    EXPECT_GT(source().SendScintilla(B::SCI_GETMARGINWIDTHN,
                                     static_cast<unsigned long>(kLineNumberMargin)),
              narrow);

    ASSERT_NE(qobject_cast<NcLexer*>(source().lexer()), nullptr);
    // The colours must not bring back the change notifications a long program cannot afford.
    EXPECT_EQ(source().SendScintilla(B::SCI_GETMODEVENTMASK),
              B::SC_MOD_BEFOREINSERT | B::SC_MOD_BEFOREDELETE);
    EXPECT_EQ(converted().SendScintilla(B::SCI_GETMODEVENTMASK), 0);
    const auto styleAt = [this](const char* text) {
        return char(source().SendScintilla(B::SCI_GETSTYLEAT,
                                           static_cast<unsigned long>(PositionOf(source(), text))));
    };
    EXPECT_EQ(styleAt("G00 X0."), kNcGCode);
    EXPECT_EQ(styleAt("X0."), kNcAddress);
    EXPECT_EQ(styleAt("M03"), kNcMCode);
    EXPECT_EQ(converted().lexer(), nullptr);
}

// QScintilla's text interface counts the characters up to the caret on every screen update.
TEST_F(ReadingAidsTest, EditorsSkipTheCostlyTextInterfaceUntilAnAssistiveToolListens) {
    for (QsciScintilla* editor : {&source(), &converted()}) {
        QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(editor);
        ASSERT_NE(accessible, nullptr);
        EXPECT_EQ(accessible->textInterface(), nullptr);
    }
    QAccessible::setActive(true);
    for (QsciScintilla* editor : {&source(), &converted()}) {
        QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(editor);
        ASSERT_NE(accessible, nullptr);
        EXPECT_NE(accessible->textInterface(), nullptr);
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
    const auto marked = [this](long line, const char* text) {
        const long lineStart =
            converted().SendScintilla(B::SCI_POSITIONFROMLINE, static_cast<unsigned long>(line));
        const std::string lineText = EditorText(converted()).substr(std::size_t(lineStart), 60);
        const long at = lineStart + long(lineText.find(text));
        return converted().SendScintilla(B::SCI_INDICATORVALUEAT,
                                         static_cast<unsigned long>(kInsertedCommentIndicator),
                                         at) != 0;
    };
    EXPECT_TRUE(marked(2, "Rapid"));
    EXPECT_TRUE(marked(2, "Spindle On"));
    EXPECT_FALSE(marked(2, "N2"));
    EXPECT_FALSE(marked(2, "X2."));
    EXPECT_FALSE(marked(250, "Rapid")) << "lines never shown are not worked out";
    source().SendScintilla(B::SCI_SETFIRSTVISIBLELINE, 240ul);
    Settle();
    EXPECT_TRUE(marked(250, "Rapid"));

    // A line typed over by hand no longer is what its source line converts to.
    const long lineStart = converted().SendScintilla(B::SCI_POSITIONFROMLINE, 245ul);
    converted().SendScintilla(B::SCI_INSERTTEXT, static_cast<unsigned long>(lineStart), "Z");
    Settle();
    EXPECT_FALSE(marked(245, "Rapid"));
    EXPECT_TRUE(marked(246, "Rapid"));
}

// Each blink draws the caret's line again, at a cost that grows with the line: on a long line
// the caret stays lit, so that an idle program does nothing.
TEST_F(ReadingAidsTest, TheCaretBlinksOnlyOnLinesShortEnoughToDrawAtEachBlink) {
    const std::string longLine(kSteadyCaretLineLength + 1, 'X');
    SetEditorText(source(), "G00\r\n" + longLine + "\r\nM30\r\n");
    const auto periodAt = [this](long line) {
        source().SendScintilla(B::SCI_GOTOLINE, static_cast<unsigned long>(line));
        source().SendScintilla(B::SCI_LINEEND);
        Settle();
        return source().SendScintilla(B::SCI_GETCARETPERIOD);
    };
    ASSERT_GT(QApplication::cursorFlashTime(), 0);
    EXPECT_EQ(periodAt(1), 0) << "steady on the long line";
    EXPECT_EQ(periodAt(2), QApplication::cursorFlashTime() / 2) << "blinking again below it";
    EXPECT_EQ(periodAt(1), 0);
    EXPECT_EQ(periodAt(0), QApplication::cursorFlashTime() / 2);
}

// A resize shows more lines without scrolling: they are marked as soon as they are shown.
TEST_F(ReadingAidsTest, LinesShownByAResizeAreMarkedWithoutScrolling) {
    const auto markedAt = [this](long line) {
        const long start =
            converted().SendScintilla(B::SCI_POSITIONFROMLINE, static_cast<unsigned long>(line));
        const long at =
            start + long(EditorText(converted()).substr(std::size_t(start), 60).find("Rapid"));
        return converted().SendScintilla(B::SCI_INDICATORVALUEAT,
                                         static_cast<unsigned long>(kInsertedCommentIndicator),
                                         at) != 0;
    };
    const long shown = converted().SendScintilla(B::SCI_LINESONSCREEN);
    const long below = shown + 5;
    ASSERT_FALSE(markedAt(below)) << "not shown yet";
    window_.resize(900, 1400);
    window_.context().documents.Form1().parentWidget()->resize(450, 1300);
    Settle();
    ASSERT_GT(converted().SendScintilla(B::SCI_LINESONSCREEN), below + 1);
    EXPECT_EQ(FirstLine(converted()), 0) << "nothing scrolled";
    EXPECT_TRUE(markedAt(below));
}

TEST_F(ReadingAidsTest, RestingOnADictionaryWordShowsItsComment) {
    const long g00 = PositionOf(source(), "G00 X7.");
    EXPECT_EQ(aids().hover().TextAt(source(), g00 + 1), "G00: Rapid");
    EXPECT_EQ(aids().hover().TextAt(source(), PositionOf(source(), "M03")), "M03: Spindle On");
    EXPECT_EQ(aids().hover().TextAt(source(), PositionOf(source(), "X7.")), "");
    EXPECT_EQ(aids().hover().TextAt(source(), -1), "");
    emit source().SCN_DWELLSTART(int(g00), 40, 40);
    EXPECT_EQ(QToolTip::text(), "G00: Rapid");
}

TEST_F(ReadingAidsTest, FindSearchesTheFocusedWindowAndTheOtherFollows) {
    Focus(source());
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
    EXPECT_EQ(CaretLine(source()), 250);
    EXPECT_EQ(CaretLine(converted()), 250);
    EXPECT_EQ(FirstLine(source()), 250 - source().SendScintilla(B::SCI_LINESONSCREEN) / 3)
        << "with lines before it";
    EXPECT_EQ(FirstLine(converted()), FirstLine(source()));

    Focus(converted());
    bar.findField().setText("Rapid X10.");
    aids().MenuEditFindPrevious->trigger();
    Settle();
    EXPECT_EQ(CaretLine(converted()), 10);
    EXPECT_EQ(CaretLine(source()), 10);
    EXPECT_EQ(FirstLine(source()), FirstLine(converted()));
    EXPECT_EQ(bar.status(), "");
}

TEST_F(ReadingAidsTest, FindWrapsAroundOnlyWhenAsked) {
    QsciScintilla& text = source();
    text.SendScintilla(B::SCI_GOTOLINE, 280ul);
    EXPECT_EQ(FindInEditor(text, "X5.", true, true, false), FindResult::NotFound);
    EXPECT_EQ(CaretLine(text), 280);
    EXPECT_EQ(FindInEditor(text, "X5.", true, true, true), FindResult::FoundAfterWrapping);
    EXPECT_EQ(CaretLine(text), 5);
    EXPECT_EQ(FindInEditor(text, "X5.", true, true, true), FindResult::FoundAfterWrapping)
        << "the only one";
    EXPECT_EQ(FindInEditor(text, "g00 x7", true, false, false), FindResult::Found);
    EXPECT_EQ(CaretLine(text), 7);
    EXPECT_EQ(FindInEditor(text, "G00 X6", false, true, false), FindResult::Found);
    EXPECT_EQ(CaretLine(text), 6);
    EXPECT_EQ(FindInEditor(text, "G00 X9", false, true, false), FindResult::NotFound);
    EXPECT_EQ(FindInEditor(text, "G00 X9", false, true, true), FindResult::FoundAfterWrapping);
    EXPECT_EQ(CaretLine(text), 99);
    EXPECT_EQ(FindInEditor(text, "", true, true, true), FindResult::NotFound);
}

TEST_F(ReadingAidsTest, GoToLineMovesBothWindows) {
    Focus(converted());
    aids().MenuEditGoToLine->trigger();
    FindBar& bar = aids().findBar();
    EXPECT_TRUE(bar.isVisible());
    EXPECT_EQ(bar.lineField().text(), "1");
    bar.lineField().setText("200");
    emit bar.lineField().returnPressed();
    Settle();
    EXPECT_EQ(CaretLine(converted()), 199);
    EXPECT_EQ(CaretLine(source()), 199);
    EXPECT_EQ(FirstLine(source()), FirstLine(converted()));
    GoToLine(source(), 999999);
    EXPECT_EQ(CaretLine(source()), 300);
    GoToLine(source(), -4);
    EXPECT_EQ(CaretLine(source()), 0);
}

TEST_F(ReadingAidsTest, ZoomChangesBothWindowsTogether) {
    const long margin = source().SendScintilla(B::SCI_GETMARGINWIDTHN,
                                               static_cast<unsigned long>(kLineNumberMargin));
    Focus(converted());
    aids().MenuDisplayZoomIn->trigger();
    EXPECT_EQ(source().SendScintilla(B::SCI_GETZOOM), 1);
    EXPECT_EQ(converted().SendScintilla(B::SCI_GETZOOM), 1);
    source().SendScintilla(B::SCI_ZOOMIN);  // as Ctrl and the wheel do
    EXPECT_EQ(converted().SendScintilla(B::SCI_GETZOOM), 2);
    EXPECT_GT(source().SendScintilla(B::SCI_GETMARGINWIDTHN,
                                     static_cast<unsigned long>(kLineNumberMargin)),
              margin);
    aids().MenuDisplayZoomOut->trigger();
    EXPECT_EQ(source().SendScintilla(B::SCI_GETZOOM), 1);
    aids().MenuDisplayZoomNormal->trigger();
    EXPECT_EQ(source().SendScintilla(B::SCI_GETZOOM), 0);
    EXPECT_EQ(converted().SendScintilla(B::SCI_GETZOOM), 0);
}

TEST_F(ReadingAidsTest, NewItemsHaveTheirKeysAndTakeNoKeyOfAnother) {
    EXPECT_EQ(aids().MenuEditFind->shortcut(), QKeySequence("Ctrl+F"));
    EXPECT_EQ(aids().MenuEditFindNext->shortcut(), QKeySequence("F3"));
    EXPECT_EQ(aids().MenuEditFindPrevious->shortcut(), QKeySequence("Shift+F3"));
    EXPECT_EQ(aids().MenuEditGoToLine->shortcut(), QKeySequence("Ctrl+G"));
    EXPECT_EQ(aids().MenuDisplayZoomIn->shortcut(), QKeySequence("Ctrl++"));
    EXPECT_EQ(aids().MenuDisplayZoomOut->shortcut(), QKeySequence("Ctrl+-"));
    EXPECT_EQ(aids().MenuDisplayZoomNormal->shortcut(), QKeySequence("Ctrl+0"));
    EXPECT_EQ(controls_.MenuEditPaste->shortcut(), QKeySequence("Ctrl+P"));
    EXPECT_EQ(controls_.MenuDisplayVertical->shortcut(), QKeySequence("Ctrl+V"));
    std::set<QString> keys;
    std::set<QString> accessKeys[6];
    int menu = 0;
    for (QMenu* bar : controls_.MenuBar()) {
        for (QAction* item : bar->actions()) {
            for (const QKeySequence& key : item->shortcuts()) {
                EXPECT_TRUE(keys.insert(key.toString()).second) << key.toString().toStdString();
            }
            const qsizetype amp = item->text().indexOf('&');
            if (amp >= 0 && item->isVisible()) {
                EXPECT_TRUE(accessKeys[menu].insert(item->text().mid(amp + 1, 1).toUpper()).second)
                    << item->text().toStdString();
            }
        }
        ++menu;
    }
}

// A match found inside an inserted comment is selected over the comment's tint: its letters
// must stand out from what is behind them (the lightest and darkest pixels of the word).
TEST_F(ReadingAidsTest, ASelectionOverAMarkedCommentKeepsItsTextReadable) {
    const long from = PositionOf(converted(), "Rapid");
    converted().SendScintilla(B::SCI_SETSEL, static_cast<unsigned long>(from), from + 5);
    Settle();
    ASSERT_NE(
        converted().SendScintilla(B::SCI_INDICATORVALUEAT,
                                  static_cast<unsigned long>(kInsertedCommentIndicator), from),
        0);
    const auto at = [this](long position, unsigned int message) {
        return int(converted().SendScintilla(message, 0ul, position));
    };
    const QRect word(
        QPoint(at(from, B::SCI_POINTXFROMPOSITION), at(from, B::SCI_POINTYFROMPOSITION)),
        QPoint(at(from + 5, B::SCI_POINTXFROMPOSITION) - 1,
               at(from, B::SCI_POINTYFROMPOSITION) +
                   int(converted().SendScintilla(B::SCI_TEXTHEIGHT, 0ul)) - 1));
    const QImage shot = converted().viewport()->grab().toImage();
    int darkest = 255, lightest = 0;
    for (int y = word.top(); y <= word.bottom(); ++y)
        for (int x = word.left(); x <= word.right(); ++x) {
            const int grey = qGray(shot.pixel(x, y));
            darkest = std::min(darkest, grey);
            lightest = std::max(lightest, grey);
        }
    EXPECT_GT(lightest - darkest, 110) << "darkest " << darkest << ", lightest " << lightest;
}

}  // namespace
}  // namespace qm
