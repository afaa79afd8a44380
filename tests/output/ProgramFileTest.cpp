// A program's file as a careful text editor treats it: new lines end as the file's lines do,
// Save writes the conversion even when its window was closed, and a change made on disk by
// another program is never overwritten unasked.
#include <QAction>
#include <QKeyEvent>
#include <QMdiArea>
#include <QMdiSubWindow>

#include "ConvertCommands.h"
#include "DictionarySlots.h"
#include "OutputFixture.h"
#include "ProgramDocuments.h"
#include "ProgramOnDisk.h"

namespace qm {
namespace {

class ProgramFileTest : public test::OutputFixture {
  protected:
    void Open(std::string_view name, std::string_view bytes) {
        test::WriteBytes(folder_.File(name), bytes);
        ASSERT_TRUE(OpenProgramFile(context(), Path(name)));
        state_.SourceChanged = 0;  // as File > Open leaves it
    }
};

TEST_F(ProgramFileTest, EnterAndPasteEndLinesAsTheFileMostlyDoes) {
    const struct {
        const char* name;
        const char* before;
        const char* after;  // Enter after the first line, then "A\r\nB" pasted
    } files[] = {
        {"LF", "G00\nM30\n", "G00\nA\nB\nM30\n"},
        {"CR LF", "G00\r\nM30\r\n", "G00\r\nA\r\nB\r\nM30\r\n"},
        {"CR", "G00\rM30\r", "G00\rA\rB\rM30\r"},
        {"mostly LF", "G00\nG01\r\nM30\n", "G00\nA\nB\nG01\r\nM30\n"},
        {"new program", "", "\r\nA\r\nB"},
    };
    services_.clipboard = QStringLiteral("A\r\nB");
    for (const auto& file : files) {
        SCOPED_TRACE(file.name);
        Open("P.NC", file.before);
        const std::string_view text(file.before);
        const std::size_t firstEnd = std::min(text.find_first_of("\r\n"), text.size());
        Source().SendScintilla(QsciScintillaBase::SCI_GOTOPOS,
                               static_cast<unsigned long>(firstEnd));
        QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
        QCoreApplication::sendEvent(&Source(), &enter);
        window_.mdiArea().setActiveSubWindow(FrameOf(context().documents.OriginalFile()));
        controls_.MenuEditPaste->trigger();
        EXPECT_EQ(SourceText(), file.after);
        services_.AnswerFileDialog(Path("P.NC"));
        ASSERT_TRUE(SaveSourceText(context()));
        EXPECT_EQ(test::ReadBytes(folder_.File("P.NC")), file.after);
    }
}

TEST_F(ProgramFileTest, SaveWritesTheConversionOfTheSourceEvenWithItsWindowClosed) {
    Open("P.NC", "G00X1.\nM30\n");
    controls_.MenuRunStart->trigger();
    Save(QString(), Path("open.txt"));
    const std::string converted = test::ReadBytes(folder_.File("open.txt"));
    ASSERT_NE(converted.find("X1."), std::string::npos) << converted;

    test::WriteBytes(folder_.File("closed.txt"), "kept until written over");
    CloseFrameOf(context().documents.Form1());
    ASSERT_FALSE(context().documents.HasForm1());
    Save(QString(), Path("closed.txt"));
    EXPECT_EQ(test::ReadBytes(folder_.File("closed.txt")), converted);

    // A source edited after the last conversion: the saved text is converted from it as it is.
    TypeIntoSource("G00");
    Save(QString(), Path("edited.txt"));
    EXPECT_EQ(test::ReadBytes(folder_.File("edited.txt")).substr(0, 5), "Rapid");
}

TEST_F(ProgramFileTest, AChangeOnDiskIsNeverOverwrittenUnasked) {
    Open("A.NC", "G00\n");
    TypeIntoSource("M30\n");
    test::WriteBytes(folder_.File("A.NC"), "G01 (written by the machine)\n");
    services_.AnswerMessage(MsgResult::Yes);  // save the source
    services_.AnswerFileDialog(Path("A.NC"));
    services_.AnswerMessage(MsgResult::No);  // do not overwrite: Save ends there
    controls_.MenuFileSave->trigger();
    ASSERT_EQ(services_.messages.size(), 2u);
    EXPECT_TRUE(
        services_.messages[1].prompt.endsWith("changed on disk since it was opened. Overwrite it?"))
        << services_.messages[1].prompt.toStdString();
    EXPECT_EQ(test::ReadBytes(folder_.File("A.NC")), "G01 (written by the machine)\n");

    services_.AnswerMessage(MsgResult::Yes);
    services_.AnswerFileDialog(Path("A.NC"));
    services_.AnswerMessage(MsgResult::Yes);  // overwrite
    services_.AnswerMessage(MsgResult::No);   // no converted file
    controls_.MenuFileSave->trigger();
    EXPECT_EQ(test::ReadBytes(folder_.File("A.NC")), "M30\nG00\n");
    EXPECT_TRUE(services_.AllAnswersUsed());

    // Saved: the file is the program's again, and the next Save asks nothing more.
    services_.messages.clear();
    Save(Path("A.NC"), Path("A.txt"));
    EXPECT_EQ(services_.messages.size(), 2u);
}

TEST_F(ProgramFileTest, AnUneditedProgramChangedOnDiskIsOfferedToBeReadAgainOnce) {
    Open("A.NC", "G00\n");
    OfferToReadChangedProgram(context());
    EXPECT_TRUE(services_.messages.empty()) << "nothing changed";

    test::WriteBytes(folder_.File("A.NC"), "G01\n");
    services_.AnswerMessage(MsgResult::Yes);
    OfferToReadChangedProgram(context());
    ASSERT_EQ(services_.messages.size(), 1u);
    EXPECT_TRUE(services_.messages[0].prompt.endsWith(
        "changed on disk since it was opened. Read it again?"));
    EXPECT_EQ(SourceText(), "G01\n");
    OfferToReadChangedProgram(context());
    EXPECT_EQ(services_.messages.size(), 1u) << "asked once for each change";

    test::WriteBytes(folder_.File("A.NC"), "G02\n");
    TypeIntoSource("M30\n");  // an edited text is not offered: Save asks instead
    OfferToReadChangedProgram(context());
    EXPECT_EQ(services_.messages.size(), 1u);
}

// The caption names the dictionary the converted text was made with, not one loaded since.
TEST_F(ProgramFileTest, TheConvertedCaptionNamesTheDictionaryOfItsText) {
    TypeIntoSource("G00");
    controls_.MenuRunStart->trigger();
    const QString kestrel = context().documents.Form1().windowTitle();
    EXPECT_TRUE(kestrel.endsWith("Kestrel.dic")) << kestrel.toStdString();

    test::WriteBytes(folder_.File("Other.dic"), std::string(kHeader) + "0,\"G00\",\"QUICK\"\r\n");
    state_.DicFileName = Path("Other.dic");
    ASSERT_EQ(LoadDictionary(context()), DictionaryLoad::Loaded);
    EXPECT_EQ(context().documents.Form1().windowTitle(), kestrel) << "its text is still Kestrel's";
    ConvertProgram(context());
    EXPECT_TRUE(context().documents.Form1().windowTitle().endsWith("Other.dic"));
}

}  // namespace
}  // namespace qm
