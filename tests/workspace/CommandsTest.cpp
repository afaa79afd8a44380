#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QTimer>

#include <random>

#include "Convert.h"
#include "ConvertCommands.h"
#include "EditCommands.h"
#include "ProgramDocuments.h"
#include "StatusPanels.h"
#include "WindowFixture.h"

namespace qm {
namespace {

class CommandsTest : public test::WindowFixture {
  protected:
    void SetUp() override { window_.StartUp(QString()); }
    int Conversions() const { return services_.busyCalls / 2; }
};

// Each edit starts the 300 ms wait again, so only the last one converts (checked on the timer
// itself: a slow machine may stretch the waits here, never make the program convert early).
TEST_F(CommandsTest, RealTimeConversionRunsOnce300MsAfterTheLastEdit) {
    QTimer& timer = *controls_.Timer1;
    TypeIntoSource("G");
    const int before = Conversions();
    ASSERT_TRUE(timer.isActive());
    EXPECT_EQ(timer.interval(), 300);
    for (const char* key : {"0", "0"}) {
        RunEvents(150);
        const int left = timer.remainingTime();
        TypeIntoSource(key);
        EXPECT_GT(timer.remainingTime(), left) << "the wait starts again at each edit";
    }
    EXPECT_EQ(Conversions(), before) << "converted before the wait was over";
    while (timer.isActive())
        RunEvents(20);
    RunEvents(20);
    EXPECT_EQ(Conversions(), before + 1);
    EXPECT_EQ(ConvertedText(), "Rapid\r\n");
    EXPECT_EQ(state_.SourceChanged, 1);
}

TEST_F(CommandsTest, ACancelledConversionLeavesTheConvertedWindowAsItWas) {
    TypeIntoSource("G00");
    controls_.MenuRunStart->trigger();
    TypeIntoSource(" G00");
    services_.CancelNextTask();
    controls_.MenuRunStart->trigger();
    EXPECT_EQ(ConvertedText(), "Rapid\r\n");
    EXPECT_FALSE(services_.busy);
    controls_.MenuRunStart->trigger();
    EXPECT_EQ(ConvertedText(), "Rapid Rapid\r\n");
    EXPECT_EQ(services_.longTasks.size(), 3u);
}

TEST_F(CommandsTest, RealTimeSwitchConvertsWhenSwitchedOnAndEditsWaitWhenOff) {
    controls_.MenuRunLine->trigger();
    EXPECT_FALSE(controls_.MenuRunLine->isChecked());
    TypeIntoSource("G00");
    RunEvents(500);
    EXPECT_EQ(ConvertedText(), "");
    controls_.MenuRunLine->trigger();
    EXPECT_TRUE(controls_.MenuRunLine->isChecked());
    EXPECT_EQ(ConvertedText(), "Rapid\r\n");
}

TEST_F(CommandsTest, OptionsToggleTheirMarksAndApplyAtTheNextConversion) {
    TypeIntoSource("G00");
    controls_.MenuRunStart->trigger();
    controls_.MenuRunOptionSpace->trigger();
    EXPECT_TRUE(controls_.MenuRunOptionSpace->isChecked());
    EXPECT_EQ(ConvertedText(), "Rapid\r\n");
    controls_.MenuRunStart->trigger();
    EXPECT_EQ(ConvertedText(), " Rapid\r\n");
    controls_.MenuRunOptionSpace->trigger();
    EXPECT_FALSE(controls_.MenuRunOptionSpace->isChecked());
    controls_.MenuRunOptionBig->trigger();
    EXPECT_TRUE(state_.TopBig);
    controls_.MenuRunStart->trigger();
    EXPECT_EQ(ConvertedText(), "Rapid\r\n");
}

TEST_F(CommandsTest, StartBeforeAnyDictionaryLoadedSaysSo) {
    state_.DictionaryLoaded = false;
    controls_.MenuRunStart->trigger();
    ASSERT_FALSE(services_.messages.empty());
    EXPECT_EQ(services_.messages.back().prompt, "Please select dictionaly file.");
    EXPECT_EQ(services_.messages.back().title, "Dictionary Check");
}

TEST_F(CommandsTest, EditCommandsWorkOnTheActiveTextThroughTheClipboard) {
    TypeIntoSource("G00 X1.");
    SourceWindow& source = context().documents.OriginalFile();
    window_.mdiArea().setActiveSubWindow(FrameOf(source));
    QsciScintilla& text = source.Text1();
    text.SendScintilla(QsciScintillaBase::SCI_SETSEL, 0ul, 3l);
    controls_.MenuEditCopy->trigger();
    EXPECT_EQ(services_.clipboard, "G00");
    controls_.MenuEditCut->trigger();
    EXPECT_EQ(SourceText(), " X1.");
    text.SendScintilla(QsciScintillaBase::SCI_SETSEL, 4ul, 4l);
    window_.tbToolBar_ButtonClick("Paste");
    EXPECT_EQ(SourceText(), " X1.G00");
    services_.clipboard = "kept";
    text.SendScintilla(QsciScintillaBase::SCI_SETSEL, 1ul, 1l);
    controls_.MenuEditCut->trigger();  // empty selection: empty clipboard, nothing else
    EXPECT_EQ(services_.clipboard, "");
    EXPECT_EQ(SourceText(), " X1.G00");
    controls_.MenuEditAllCopy->trigger();
    EXPECT_EQ(services_.clipboard, " X1.G00");
    EXPECT_EQ(text.SendScintilla(QsciScintillaBase::SCI_GETSELECTIONEND), 1);
    controls_.MenuEditAll->trigger();
    EXPECT_EQ(text.SendScintilla(QsciScintillaBase::SCI_GETSELECTIONEND), 7);
    EXPECT_EQ(state_.SourceChanged, 1);
}

TEST_F(CommandsTest, ArrangementsCheckExactlyTheirOwnItem) {
    TypeIntoSource("G00");
    controls_.MenuRunStart->trigger();
    window_.show();
    window_.resize(900, 600);
    RunEvents(50);  // the first resize of the source window tiles side by side
    QAction* items[] = {controls_.MenuDisplayCascade, controls_.MenuDisplayVertical,
                        controls_.MenuDisplayHorizontal};
    for (QAction* chosen : items) {
        chosen->trigger();
        for (QAction* item : items)
            EXPECT_EQ(item->isChecked(), item == chosen) << item->objectName().toStdString();
    }
    controls_.MenuDisplayHorizontal->trigger();
    window_.resize(1000, 700);
    RunEvents(50);
    const auto windows = window_.mdiArea().subWindowList();
    ASSERT_EQ(windows.size(), 2);
    const QRect a = windows[0]->geometry(), b = windows[1]->geometry();
    EXPECT_EQ(a.width(), window_.mdiArea().viewport()->width());
    EXPECT_EQ(b.width(), a.width());
    EXPECT_FALSE(a.intersects(b));
}

TEST_F(CommandsTest, StatusBarGreysKeyPanelsWhileTheirKeyIsOff) {
    StatusPanels& panels = window_.statusPanels();
    services_.capsLock = false;
    services_.numLock = true;
    panels.Refresh();
    EXPECT_EQ(panels.Panel(3).text(), "CAPS");
    EXPECT_FALSE(panels.Panel(3).isEnabled());
    EXPECT_TRUE(panels.Panel(4).isEnabled());
    EXPECT_EQ(panels.Panel(4).toolTip(), "Num Lock");
    EXPECT_FALSE(panels.Panel(6).text().isEmpty());
}

TEST_F(CommandsTest, RightClickOnEitherTextShowsUndoRedoAndTheEditMenu) {
    window_.show();
    TypeIntoSource("G00");
    for (DocumentWindow* window : std::initializer_list<DocumentWindow*>{
             &context().documents.OriginalFile(), &context().documents.Form1()}) {
        QsciScintilla& text = window->Text1();
        emit text.customContextMenuRequested(QPoint(5, 5));
        auto* menu = text.findChild<QMenu*>("TextContextMenu");
        ASSERT_NE(menu, nullptr);
        EXPECT_TRUE(menu->isVisible());
        const QList<QAction*> items = menu->actions();
        ASSERT_EQ(items.size(), 3 + controls_.MenuEdit->actions().size());
        EXPECT_EQ(items.mid(3), controls_.MenuEdit->actions());
        EXPECT_EQ(items[0]->isEnabled(), text.isUndoAvailable());
        items[0]->trigger();  // the undo of this very text
        EXPECT_FALSE(text.isUndoAvailable());
        menu->close();
    }
}

TEST_F(CommandsTest, ConvertedWindowAlwaysShowsTheWholeConversionOverRandomEdits) {
    QsciScintilla& source = context().documents.OriginalFile().Text1();
    std::mt19937 random(7);
    const char* pieces[] = {"G00", "X1.", "\r\n", "G00 M3\r\nG00\r\n", "M", "\n"};
    for (int step = 0; step < 120; ++step) {
        const long length = source.SendScintilla(QsciScintillaBase::SCI_GETLENGTH);
        const unsigned long at =
            length == 0 ? 0ul : static_cast<unsigned long>(random() % (length + 1));
        switch (random() % 4) {
            case 0:  // type or paste
                source.SendScintilla(QsciScintillaBase::SCI_INSERTTEXT, at, pieces[random() % 6]);
                break;
            case 1:  // delete
                source.SendScintilla(QsciScintillaBase::SCI_DELETERANGE, at,
                                     long(std::min<long>(3, length - long(at))));
                break;
            case 2:
                source.SendScintilla(QsciScintillaBase::SCI_UNDO);
                break;
            default:
                if (step % 10 == 0)
                    controls_.MenuRunOptionSpace->trigger();  // converts everything again
        }
        ConvertProgram(context());
        ASSERT_EQ(ConvertedText(),
                  ConvertReference(SourceText(), state_.Dictionary, state_.SpaceAdd))
            << "step " << step;
    }
}

}  // namespace
}  // namespace qm
