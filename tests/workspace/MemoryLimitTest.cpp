// Memory running out in the middle of a conversion: the window says so and keeps the texts.
#include <QAction>
#include <QTimer>

#include "AllocationLimit.h"
#include "ProgramDocuments.h"
#include "WindowFixture.h"

namespace qm {
namespace {

class MemoryLimitTest : public test::WindowFixture {
  protected:
    // Every entry doubles the line: [0] -> "[1] [1]", [1] -> "[2] [2]", ...
    void SetUp() override {
        std::string records;
        for (int i = 0; i < 60; ++i) {
            const std::string next = "[" + std::to_string(i + 1) + "]";
            records += "0,\"[" + std::to_string(i) + "]\",\"" + next + " " + next + "\"\r\n";
        }
        test::WriteBytes(folder_.File("Kestrel-ENG.dic"), kHeader + records);
        test::WriteBytes(folder_.File("D.MIN"), "[0]\r\n");
        window_.StartUp(QString());
    }
};

TEST_F(MemoryLimitTest, DoublingDictionaryEndsInAMessageAndTheTextStays) {
    services_.AnswerFileDialog(Path("D.MIN"));
    {
        const test::AllocationLimit limit(16 << 20);
        controls_.MenuFileOpen->trigger();
    }
    ASSERT_FALSE(services_.messages.empty());
    const QString message = services_.messages.back().prompt;
    EXPECT_TRUE(message.startsWith("There is not enough memory to finish this command."))
        << message.toStdString();
    EXPECT_TRUE(message.contains("the texts in the windows are kept")) << message.toStdString();
    EXPECT_EQ(SourceText(), "[0]\r\n");
    EXPECT_FALSE(services_.busy);
    EXPECT_FALSE(controls_.MenuRunLine->isChecked())
        << "real-time conversion would fail at every pause";
    EXPECT_EQ(state_.RealTimeConvert, 0);
    EXPECT_FALSE(controls_.Timer1->isActive());

    // The program is still there to be edited and saved.
    TypeIntoSource("M30\r\n");
    services_.AnswerFileDialog(Path("D.MIN"));
    EXPECT_TRUE(SaveSourceText(window_.context()));
    EXPECT_EQ(test::ReadBytes(folder_.File("D.MIN")), "M30\r\n[0]\r\n");
}

}  // namespace
}  // namespace qm
