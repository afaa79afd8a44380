#include <sys/stat.h>
#include <utime.h>

#include <functional>

#include "DictionaryFixture.h"
#include "ImportDictionary.h"

namespace qm {
namespace {

// Another copy of the program, or a text editor, writes the dictionary while this one has it
// loaded. Every command that writes it must keep that change and still make its own.
class DictionaryChangedOnDiskTest : public test::DictionaryFixture {
  protected:
    void SetUp() override { LoadKestrel("0,\"G00\",\"RAPID\"\r\n0,\"M03\",\"SPINDLE\"\r\n"); }

    // Rewrites Kestrel.dic behind the program's back; keepTime leaves its modification time as
    // it was, as a quick rewrite of the same size may.
    void WriteOutside(std::string_view records, bool keepTime) {
        const std::string path = folder_.File("Kestrel.dic");
        struct stat before {};
        ASSERT_EQ(stat(path.c_str(), &before), 0);
        WriteDic("Kestrel.dic", records);
        if (!keepTime)
            return;
        const utimbuf times{before.st_atime, before.st_mtime};
        ASSERT_EQ(utime(path.c_str(), &times), 0);
    }
    void ImportAndSave(std::string_view records) {
        services_.AnswerFileDialog(WriteDic("Other.dic", records));
        controls_.MenuDicInport->trigger();
        commands_.importDictionary().Command1->click();
    }
};

TEST_F(DictionaryChangedOnDiskTest, EveryWriteKeepsTheOutsideChangeAndMakesItsOwn) {
    struct Case {
        const char* name;
        const char* outside;  // what the other program wrote
        bool keepTime;
        std::function<void()> command;
        const char* expected;  // the file's records afterwards
    };
    // The file keeps longer words first, as every save writes it.
    const Case cases[] = {
        {"registration",
         "0,\"G00\",\"RAPID\"\r\n0,\"M03\",\"SPINDLE\"\r\n0,\"M100\",\"OUTSIDE\"\r\n", false,
         [this] { Register("M101", "MINE"); },
         "0,\"M100\",\"OUTSIDE\"\r\n0,\"M101\",\"MINE\"\r\n0,\"G00\",\"RAPID\"\r\n0,\"M03\","
         "\"SPINDLE\"\r\n"},
        {"same size and time", "0,\"G00\",\"QUICK\"\r\n0,\"M03\",\"SPINDLE\"\r\n", true,
         [this] { Register("M101", "MINE"); },
         "0,\"M101\",\"MINE\"\r\n0,\"G00\",\"QUICK\"\r\n0,\"M03\",\"SPINDLE\"\r\n"},
        {"deletion of a word that moved",
         "0,\"M100\",\"OUTSIDE\"\r\n0,\"M03\",\"SPINDLE\"\r\n0,\"G00\",\"RAPID\"\r\n", false,
         [this] { Delete("M03"); }, "0,\"M100\",\"OUTSIDE\"\r\n0,\"G00\",\"RAPID\"\r\n"},
        {"import", "0,\"G00\",\"RAPID\"\r\n0,\"M100\",\"OUTSIDE\"\r\n", false,
         [this] { ImportAndSave("0,\"G01\",\"LINEAR\"\r\n"); },
         "0,\"M100\",\"OUTSIDE\"\r\n0,\"G00\",\"RAPID\"\r\n0,\"G01\",\"LINEAR\"\r\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        LoadKestrel("0,\"G00\",\"RAPID\"\r\n0,\"M03\",\"SPINDLE\"\r\n");
        services_.messages.clear();
        WriteOutside(c.outside, c.keepTime);
        c.command();
        EXPECT_EQ(FileText("Kestrel.dic"), std::string(kHeader) + c.expected);
        ASSERT_FALSE(services_.messages.empty());
        EXPECT_TRUE(services_.messages.back().prompt.contains("changed on disk"))
            << services_.messages.back().prompt.toStdString();
    }
}

// Its own writes are no outside change: after an import is saved, the next write says nothing.
TEST_F(DictionaryChangedOnDiskTest, AWriteAfterASavedImportFindsNoOutsideChange) {
    ImportAndSave("0,\"G01\",\"LINEAR\"\r\n");
    Register("M101", "MINE");
    EXPECT_TRUE(services_.messages.empty()) << services_.messages.back().prompt.toStdString();
}

}  // namespace
}  // namespace qm
