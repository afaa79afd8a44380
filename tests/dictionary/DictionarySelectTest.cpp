#include <QAction>
#include <QTimer>

#include <filesystem>

#include "ConvertCommands.h"
#include "DictionaryFixture.h"
#include "DictionarySelect.h"
#include "ProgramDocuments.h"

namespace qm {
namespace {

class DictionarySelectTest : public test::DictionaryFixture {
  protected:
    void SetUp() override {
        TypeIntoSource("G00");
        controls_.Timer1->stop();
        ConvertProgram(context());
        WriteDic("Lathe.dic", "0,\"G00\",\"TURN\"\r\n");
    }
    QString Item(int n) { return controls_.mnuDicFile[n - 1]->text(); }
    bool Shown(int n) { return controls_.mnuDicFile[n - 1]->isVisible(); }
    void Choose(QAction* command, const std::optional<QString>& path) {
        services_.AnswerFileDialog(path);
        command->trigger();
    }
};

TEST_F(DictionarySelectTest, SelectLoadsListsAndConverts) {
    const QString folder = QString::fromStdString(folder_.path().string());
    Choose(controls_.MenuDicSelect, std::nullopt);
    Choose(controls_.MenuDicSelect, Path("Lathe.dic"));
    EXPECT_EQ(services_.fileDialogs[1].filter, "Dic Files(*.dic)|*.dic|All Files(*.*)|*.*");
    EXPECT_EQ(services_.fileDialogs[1].initialFolder, folder);
    EXPECT_EQ(state_.DicFileName, Path("Lathe.dic"));
    EXPECT_EQ(state_.DicPathName, folder);
    EXPECT_EQ(Table(), "G00=TURN");
    EXPECT_EQ(ConvertedText(), "Turn\r\n");
    EXPECT_EQ(Item(1), Path("Lathe.dic"));
    EXPECT_TRUE(Shown(1));
    EXPECT_FALSE(Shown(2));
    EXPECT_FALSE(services_.busy);

    Choose(controls_.MenuDicSelect, Path("missing.dic"));
    EXPECT_EQ(services_.fileDialogs[2].initialFile, "Lathe.dic") << "offers the file chosen last";
}

TEST_F(DictionarySelectTest, RefusedHeaderIsListedAndConvertsUnreadableRecordsEndTheCommand) {
    Choose(controls_.MenuDicSelect, Path("Lathe.dic"));
    TypeIntoSource("X");  // a conversion now shows "TurnX"
    controls_.Timer1->stop();

    // Missing file: its message, listed, and the table in use converts.
    Choose(controls_.MenuDicSelect, Path("missing.dic"));
    ASSERT_EQ(services_.messages.size(), 1u);
    EXPECT_EQ(services_.messages[0].prompt, Path("missing.dic") + " not find dictionaly.");
    EXPECT_EQ(Table(), "G00=TURN");
    EXPECT_EQ(state_.DicFileName, Path("Lathe.dic"));
    EXPECT_EQ(ConvertedText(), "TurnX\r\n");
    EXPECT_EQ(Item(1), Path("missing.dic"));

    // Header accepted, records unreadable: neither listed nor converted.
    TypeIntoSource("Y");
    controls_.Timer1->stop();
    WriteDic("Broken.dic", "0,\"G00\"\r\n");
    Choose(controls_.MenuDicSelect, Path("Broken.dic"));
    EXPECT_EQ(services_.messages.size(), 2u);
    EXPECT_EQ(Table(), "G00=TURN");
    EXPECT_EQ(ConvertedText(), "TurnX\r\n");
    EXPECT_EQ(Item(1), Path("missing.dic"));

    AddRecentDictionary(context(), Path("Broken.dic"));  // listed while it was still sound
    controls_.mnuDicFile[0]->trigger();
    EXPECT_EQ(services_.messages.size(), 3u);
    EXPECT_EQ(ConvertedText(), "TurnX\r\n");
    controls_.mnuDicFile[1]->trigger();  // missing.dic: refused by its header, converts
    EXPECT_EQ(services_.messages.size(), 4u);
    EXPECT_EQ(ConvertedText(), "TurnXY\r\n");
}

TEST_F(DictionarySelectTest, RecentDictionariesShowShortenedPathsAndLoadTheWholeOne) {
    const std::string deep = std::string(50, 'd') + "/Lathe.dic";
    std::filesystem::create_directories(folder_.path() / std::string(50, 'd'));
    const QString path = WriteDic(deep, "0,\"G00\",\"DEEP\"\r\n");
    Choose(controls_.MenuDicSelect, path);
    EXPECT_EQ(Item(1), SourceCaption(path));
    AddRecentDictionary(context(), Path("Lathe.dic"));
    controls_.mnuDicFile[1]->trigger();
    EXPECT_EQ(state_.DicFileName, path);
    EXPECT_EQ(Table(), "G00=DEEP");
    window_.SaveData();
    EXPECT_EQ(settings_.GetSetting("DicFile2", ""), path);
}

TEST_F(DictionarySelectTest, RecentListKeepsDuplicatesDropsTheSixthAndClicksDoNotReorder) {
    for (const char* name : {"a.dic", "Lathe.dic", "Lathe.dic", "gone.dic", "Kestrel.dic"}) {
        AddRecentDictionary(context(), Path(name));
    }
    AddRecentDictionary(context(), Path("f.dic"));  // the sixth pushes a.dic out
    const QString expected[] = {Path("f.dic"), Path("Kestrel.dic"), Path("gone.dic"),
                                Path("Lathe.dic"), Path("Lathe.dic")};
    const auto expectListed = [&] {
        for (int n = 1; n <= 5; ++n)
            EXPECT_TRUE(Item(n) == expected[n - 1] && Shown(n)) << Item(n).toStdString();
    };
    expectListed();
    controls_.mnuDicFile[4]->trigger();
    EXPECT_EQ(Table(), "G00=TURN");
    EXPECT_EQ(ConvertedText(), "Turn\r\n");
    controls_.mnuDicFile[2]->trigger();  // a file that vanished
    EXPECT_EQ(services_.messages.back().prompt, Path("gone.dic") + " not find dictionaly.");
    EXPECT_EQ(Table(), "G00=TURN");
    EXPECT_EQ(state_.DicFileName, Path("Lathe.dic"));
    expectListed();
}

TEST_F(DictionarySelectTest, CreateWritesTheHeaderAloneOrSaysWhyNot) {
    Choose(controls_.MenuDicCreate, Path("Lathe"));  // no extension is added
    EXPECT_EQ(services_.fileDialogs[0].initialFile, "");
    EXPECT_EQ(FileText("Lathe"), kHeader);
    EXPECT_EQ(state_.DicFileName, Path("Lathe"));
    EXPECT_EQ(state_.Dictionary.LastIndex, -1);
    EXPECT_EQ(ConvertedText(), "G00\r\n");
    Choose(controls_.MenuDicCreate, Path("Lathe.dic"));  // over an existing file
    EXPECT_EQ(FileText("Lathe.dic"), kHeader);
    EXPECT_EQ(Item(1), "DicFile1");

    Choose(controls_.MenuDicCreate, Path("no/such/New.dic"));
    ASSERT_EQ(services_.messages.size(), 1u);
    EXPECT_TRUE(services_.messages[0].prompt.startsWith(Path("no/such/New.dic") + ": "));
    EXPECT_TRUE(services_.messages[0].prompt.endsWith("The dictionary was not created."));
    EXPECT_EQ(state_.DicFileName, Path("Lathe.dic"));
    EXPECT_FALSE(services_.busy);
}

}  // namespace
}  // namespace qm
