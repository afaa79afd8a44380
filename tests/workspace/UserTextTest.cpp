// The user's text is never lost nor changed behind the user's back: undo stays inside one
// document, edits are offered for saving before anything replaces or drops them, and a program
// comes back from open, edit and save with every byte the user did not touch.
#include <QAction>
#include <QFileInfo>
#include <QKeyEvent>

#include <functional>
#include <map>
#include <random>

#include "ConvertCommands.h"
#include "ProgramDocuments.h"
#include "Utf8.h"
#include "WindowFixture.h"

namespace qm {
namespace {

class UserTextTest : public test::WindowFixture {
  protected:
    void SetUp() override {
        window_.StartUp(QString());
        test::WriteBytes(folder_.File("A.MIN"), kA);
        test::WriteBytes(folder_.File("B.MIN"), kB);
    }
    QString Caption() { return context().documents.OriginalFile().windowTitle(); }

    // File Open of A, then an edit.
    std::string OpenAAndEdit() {
        if (state_.SourceChanged == 1)
            services_.AnswerMessage(MsgResult::No);
        services_.AnswerFileDialog(Path("A.MIN"));
        controls_.MenuFileOpen->trigger();
        EXPECT_EQ(SourceText(), kA);
        TypeIntoSource("G01");
        return SourceText();
    }
    void Reopen(const QString& path) {
        AddRecentFile(context(), path);
        controls_.mnuFileRecentFile[0]->trigger();
    }
    // Ctrl+Z, more times than there were edits.
    void UndoAll() {
        for (int i = 0; i < 5; ++i)
            Source().SendScintilla(QsciScintillaBase::SCI_UNDO);
    }
    void CloseSourceWindow() { CloseFrameOf(context().documents.OriginalFile()); }
    static constexpr const char* kA = "G00X1.\r\n";
    static constexpr const char* kB = "M30\r\n";
    static constexpr const char* kQuestion = "Change origin file. Do you want save ?";
};

// Each command that puts a whole text into the source window, and the text it puts there.
struct Replacement {
    const char* name;
    std::function<void()> prepare;  // scripts the command's own dialogs
    std::function<void()> run;
    std::string text;
};

// ---- The question before an edited text is replaced, and undo after it -------------------------

TEST_F(UserTextTest, OpenReopenAndNewAskBeforeReplacingAnEditedTextThatUndoNeverBringsBack) {
    OpenAAndEdit();
    UndoAll();
    EXPECT_EQ(SourceText(), kA);
    EXPECT_EQ(Source().SendScintilla(QsciScintillaBase::SCI_CANUNDO), 0);
    const Replacement commands[] = {
        {"Open", [this] { services_.AnswerFileDialog(Path("B.MIN")); },
         [this] { controls_.MenuFileOpen->trigger(); }, kB},
        {"Reopen", [] {}, [this] { Reopen(Path("B.MIN")); }, kB},
        {"New", [] {}, [this] { controls_.MenuFileNew->trigger(); }, ""},
    };
    for (const Replacement& command : commands) {
        SCOPED_TRACE(command.name);
        // Cancel: nothing happens.
        const std::string edited = OpenAAndEdit();
        services_.AnswerMessage(MsgResult::Cancel);
        const std::size_t dialogs = services_.fileDialogs.size();
        command.run();
        EXPECT_EQ(services_.messages.back().prompt, kQuestion);
        EXPECT_EQ(services_.messages.back().buttons, MsgButtons::YesNoCancel);
        EXPECT_EQ(services_.fileDialogs.size(), dialogs);
        EXPECT_EQ(SourceText(), edited);
        EXPECT_EQ(Caption(), SourceCaption(Path("A.MIN")));
        EXPECT_EQ(state_.SourceChanged, 1);

        // Yes, and the save fails: the command stops (it has no dialog answers to go on with).
        services_.AnswerMessage(MsgResult::Yes);
        services_.AnswerFileDialog(Path("no folder/A.MIN"));
        command.run();
        EXPECT_EQ(SourceText(), edited);
        EXPECT_EQ(state_.SourceChanged, 1);

        // Yes: the edited text is saved, then replaced.
        services_.AnswerMessage(MsgResult::Yes);
        services_.AnswerFileDialog(Path("saved.MIN"));
        command.prepare();
        command.run();
        EXPECT_EQ(test::ReadBytes(folder_.File("saved.MIN")), edited);
        EXPECT_EQ(SourceText(), command.text);
        EXPECT_EQ(state_.SourceChanged, 0);

        // No: replaced without saving.
        OpenAAndEdit();
        services_.AnswerMessage(MsgResult::No);
        command.prepare();
        command.run();
        EXPECT_EQ(SourceText(), command.text);
        EXPECT_EQ(state_.SourceChanged, 0);
        EXPECT_EQ(test::ReadBytes(folder_.File("A.MIN")), kA);
        EXPECT_TRUE(services_.AllAnswersUsed());
        // Both windows were assigned whole: undo cannot bring back the text before.
        EXPECT_EQ(Source().SendScintilla(QsciScintillaBase::SCI_GETMODIFY), 0);
        UndoAll();
        EXPECT_EQ(SourceText(), command.text);
        EXPECT_EQ(Converted().SendScintilla(QsciScintillaBase::SCI_CANUNDO), 0);
    }
    // After New the real-time conversion follows the new text, not the previous program's.
    TypeIntoSource("G00");
    ConvertProgram(context());
    EXPECT_EQ(ConvertedText(), "Rapid\r\n");
}

// ---- Closing the source window -------------------------------------------------------------

TEST_F(UserTextTest, ClosingTheEditedSourceWindowAsksAndExitThenWritesNothing) {
    const std::string edited = OpenAAndEdit();
    services_.AnswerMessage(MsgResult::Cancel);
    CloseSourceWindow();
    ASSERT_TRUE(context().documents.HasOriginalFile());
    EXPECT_EQ(services_.messages.back().prompt, kQuestion);
    EXPECT_EQ(SourceText(), edited);

    services_.AnswerMessage(MsgResult::Yes);
    services_.AnswerFileDialog(std::nullopt);  // the save dialog cancelled: nothing saved
    CloseSourceWindow();
    ASSERT_TRUE(context().documents.HasOriginalFile());

    services_.AnswerMessage(MsgResult::Yes);
    services_.AnswerFileDialog(Path("saved.MIN"));
    CloseSourceWindow();
    EXPECT_FALSE(context().documents.HasOriginalFile());
    EXPECT_EQ(test::ReadBytes(folder_.File("saved.MIN")), edited);

    OpenAAndEdit();
    services_.AnswerMessage(MsgResult::No);
    CloseSourceWindow();
    EXPECT_FALSE(context().documents.HasOriginalFile());
    EXPECT_FALSE(controls_.Timer1->isActive());
    EXPECT_TRUE(window_.MenuFileEnd_Click());  // no question: there is nothing left to save
    EXPECT_EQ(ended_, 1);
    EXPECT_EQ(test::ReadBytes(folder_.File("A.MIN")), kA);
    EXPECT_TRUE(services_.AllAnswersUsed());
}

// ---- A recent program that is gone ---------------------------------------------------------

TEST_F(UserTextTest, AVanishedRecentProgramIsReportedAndNotCreated) {
    const std::string edited = OpenAAndEdit();
    const std::size_t messages = services_.messages.size();
    services_.AnswerMessage(MsgResult::No);
    Reopen(Path("GONE.NC"));  // its type's dictionary is missing too, and is not even tried
    EXPECT_EQ(services_.messages.size(), messages + 2);
    EXPECT_EQ(services_.messages.back().prompt, Path("GONE.NC") + ": No such file or directory");
    EXPECT_FALSE(QFileInfo::exists(Path("GONE.NC")));
    EXPECT_EQ(SourceText(), edited);
    EXPECT_EQ(Caption(), SourceCaption(Path("A.MIN")));
    EXPECT_EQ(controls_.mnuFileRecentFile[0]->text(), Path("GONE.NC"));
}

// ---- Untouched bytes -----------------------------------------------------------------------

// Characters with several Shift-JIS codes (NEC and IBM rows, a row-13 symbol), each with its codes.
const std::vector<std::string> kTwinGroups[] = {{"\xED\x40", "\xFA\x5C"}, {"\x87\x9A", "\x81\xE6"}};

// A file may write one character in only one of its codes (one that mixes them keeps the first):
// every later code of a character is changed to the first, pair by pair as the decoder reads.
std::string OneCodePerCharacter(std::string bytes) {
    if (DetectEncoding(bytes).encoding != Encoding::ShiftJis)
        return bytes;
    std::map<std::string, std::string> first;  // by character
    for (std::size_t pos = 0; pos + 1 < bytes.size(); ++pos) {
        const std::string text = DecodeText(bytes.substr(pos, 2), {Encoding::ShiftJis, false});
        std::size_t end = 0;
        if (static_cast<unsigned char>(bytes[pos]) < 0x80 || IsRawByte(NextChar(text, end)) ||
            end != text.size()) {
            continue;
        }
        const auto [known, added] = first.emplace(text, bytes.substr(pos, 2));
        if (!added)
            bytes.replace(pos, 2, known->second);
        ++pos;
    }
    return bytes;
}

std::string RandomFile(std::mt19937& random) {
    const auto pick = [&](std::size_t n) { return random() % n; };
    std::string bytes;
    const std::size_t pieces = pick(40);
    switch (pick(4)) {
        case 0:  // any bytes
            for (std::size_t i = 0; i < pieces * 3; ++i)
                bytes += char(pick(256));
            break;
        case 1: {  // Shift-JIS text with codes of both rows of a character, and raw bytes
            const std::string words[] = {"G00 X1.",  "\r\n", "\r",   "\n",  std::string(1, '\0'),
                                         "\x8E\xE5", "\xB1", "\xFF", "\x81"};
            for (std::size_t i = 0; i < pieces; ++i) {
                const auto& group = kTwinGroups[pick(std::size(kTwinGroups))];
                bytes += pick(2) == 0 ? words[pick(std::size(words))] : group[pick(group.size())];
            }
            break;
        }
        case 2: {  // UTF-8 with bytes that are not UTF-8
            if (pick(2) == 0)
                bytes = "\xEF\xBB\xBF";
            const std::string words[] = {"G00",  "\xC3\xA4", "\xE4\xB8\xBB", "\xF0\x9F\x94\xA7",
                                         "\r\n", "\xE4\xB8", "\x80",         "\xFE"};
            for (std::size_t i = 0; i < pieces; ++i)
                bytes += words[pick(std::size(words))];
            break;
        }
        default:  // ASCII with NUL, lone CR and mixed line ends
            for (std::size_t i = 0; i < pieces * 3; ++i)
                bytes += "G0 1.\r\n\r\n\0"[pick(10)];
    }
    return OneCodePerCharacter(bytes);
}

// Moves the caret to a random character position, as the arrow keys would.
void PlaceCaretAnywhere(QsciScintilla& editor, std::mt19937& random) {
    long pos = 0;
    for (unsigned steps = random() % 64; steps > 0; --steps) {
        pos = editor.SendScintilla(QsciScintillaBase::SCI_POSITIONAFTER,
                                   static_cast<unsigned long>(pos));
    }
    editor.SendScintilla(QsciScintillaBase::SCI_GOTOPOS, static_cast<unsigned long>(pos));
}

void PressKey(QsciScintilla& editor, int key, const QString& text = QString(),
              Qt::KeyboardModifiers modifiers = {}) {
    QKeyEvent press(QEvent::KeyPress, key, modifiers, text);
    QCoreApplication::sendEvent(&editor, &press);
}

// One edit at one place, then the edit taken back: typing and Backspace, or Delete and Undo.
void EditAndTakeBack(QsciScintilla& editor, std::mt19937& random) {
    PlaceCaretAnywhere(editor, random);
    if (random() % 2 == 0) {
        PressKey(editor, Qt::Key_A,
                 random() % 2 == 0 ? QStringLiteral("a") : QStringLiteral("\u2235"));
        PressKey(editor, Qt::Key_Backspace);
    } else {
        PressKey(editor, Qt::Key_Delete);
        PressKey(editor, Qt::Key_Z, QString(), Qt::ControlModifier);
    }
}

TEST_F(UserTextTest, OpenEditAndSaveLeavesEveryUntouchedByteAsItWas) {
    for (const auto& group : kTwinGroups)
        ASSERT_EQ(DecodeText(group[0], {Encoding::ShiftJis, false}),
                  DecodeText(group[1], {Encoding::ShiftJis, false}));
    std::mt19937 random(13);
    for (int round = 0; round < 300; ++round) {
        const std::string bytes = RandomFile(random);
        test::WriteBytes(folder_.File("P.MIN"), bytes);
        ASSERT_TRUE(OpenProgramFile(context(), Path("P.MIN")));
        EditAndTakeBack(Source(), random);
        services_.AnswerFileDialog(Path("P.MIN"));
        ASSERT_TRUE(SaveSourceText(context()));
        ASSERT_EQ(test::ReadBytes(folder_.File("P.MIN")), bytes) << "round " << round;
    }
}

}  // namespace
}  // namespace qm
