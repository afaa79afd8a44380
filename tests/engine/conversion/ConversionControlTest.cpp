// Result limit, progress and cancel of the fast and incremental conversions.
#include <gtest/gtest.h>

#include <string>

#include "ConversionControl.h"
#include "ConversionStream.h"
#include "Convert.h"
#include "EngineFixture.h"
#include "FastConvert.h"
#include "IncrementalConvert.h"

namespace qm {
namespace {

using test::DoublingTable;
using test::TableOf;

std::string Message(const std::function<void()>& convert) {
    try {
        convert();
    } catch (const ConversionTooLarge& tooLarge) {
        return tooLarge.what();
    }
    return "no ConversionTooLarge";
}

TEST(ConversionLimit, StopsARunawayResultAndNamesTheEntry) {
    const DictionaryTable doubling = DoublingTable(19);  // "Q00" grows to 2^21 bytes
    const CompiledDictionary compiled(doubling);
    ConversionControl control;
    control.resultLimit = 100000;
    // One line growing past the limit, in one thread and on several.
    for (const ParallelOptions parallel : {ParallelOptions{1, 0}, ParallelOptions{2, 1}}) {
        const std::string message =
            Message([&] { compiled.Convert("Q00\nQ00\n", false, parallel, control); });
        EXPECT_TRUE(test::Holds(message, "would pass 100000 bytes"));
        EXPECT_TRUE(test::Holds(message, "dictionary entry \""));
    }
    // Many lines each within the limit, together past it: the entry that grew lines most.
    const DictionaryTable holdsItself = TableOf({{0, "X", "X AXIS AND MORE"}, {0, "G", "g"}});
    const std::string many = Message([&] {
        CompiledDictionary(holdsItself)
            .Convert(std::string(20000, 'X') + "\nG\n", false, ParallelOptions{1, 0}, control);
    });
    EXPECT_TRUE(test::Holds(many, "entry \"X\" (comment \"X Axis And More\")"));
    // Below the limit the same conversion goes through.
    control.resultLimit = 3 << 20;
    EXPECT_EQ(compiled.Convert("Q00", false, ParallelOptions{}, control).size(),
              (std::size_t(1) << 21) - 1 + 2);
}

TEST(ConversionLimit, CountsOverEveryPartOfAStream) {
    const CompiledDictionary compiled(TableOf({{0, "X", "abcdefghij"}}));
    ConversionControl control;
    control.resultLimit = 5000;
    ConversionStream stream(compiled, false, 1000, control);
    const std::string part = std::string(99, 'X') + "\n";  // about 1000 bytes of result
    int converted = 0;
    const std::string message = Message([&] {
        for (; converted < 10; ++converted)
            stream.Convert(part, false);
    });
    EXPECT_EQ(converted, 5) << "each part is within the limit, the sixth passes it in total";
    EXPECT_TRUE(test::Holds(message, "would pass 5000 bytes"));
}

TEST(ConversionLimit, IncrementalConversionKeepsItsResultWhenStopped) {
    IncrementalConverter converter;
    const DictionaryTable doubling = DoublingTable(19);
    ConversionControl control;
    control.resultLimit = 100000;
    converter.Update("X\r\nY", doubling, false, control);
    EXPECT_THROW(converter.Update("X\r\nQ00", doubling, false, control), ConversionTooLarge);
    EXPECT_EQ(converter.Converted(), "X\r\nY\r\n");
    EXPECT_EQ(converter.Update("X\r\nZ", doubling, false, control).whole, true);
    EXPECT_EQ(converter.Converted(), "X\r\nZ\r\n");
}

TEST(ConversionLimit, DefaultIsFarAboveAnyProgram) {
    EXPECT_EQ(DefaultResultLimit(0), std::size_t(1) << 30);
    EXPECT_EQ(DefaultResultLimit(1000), 64000 + (std::size_t(1) << 30));
    EXPECT_EQ(DefaultResultLimit(SIZE_MAX / 2), SIZE_MAX);
}

TEST(ConversionProgress, ReportsAndCancels) {
    const DictionaryTable table = TableOf({{0, "G0", "rapid"}});
    std::string text;
    for (int i = 0; i < 40000; ++i)
        text += "G0 X1.\r\n";
    std::size_t calls = 0, lastDone = 0, total = 0;
    ConversionControl control;
    control.progress = [&](std::size_t done, std::size_t all) {
        ++calls;
        lastDone = done;
        total = all;
        return true;
    };
    const CompiledDictionary compiled(table);
    EXPECT_EQ(compiled.Convert(text, false, ParallelOptions{2, 4096}, control),
              ConvertReference(text, table, false));
    EXPECT_GE(calls, 1u);
    EXPECT_EQ(total, text.size());
    EXPECT_LE(lastDone, text.size());

    control.progress = [](std::size_t, std::size_t) { return false; };
    EXPECT_THROW(compiled.Convert(text, false, ParallelOptions{2, 4096}, control),
                 ConversionCancelled);
    EXPECT_THROW(compiled.Convert("G0", false, ParallelOptions{1, 0}, control),
                 ConversionCancelled);

    IncrementalConverter converter;
    converter.Update("G0", table, false);
    EXPECT_THROW(converter.Update("G0 G0", table, false, control), ConversionCancelled);
    EXPECT_EQ(converter.Converted(), "Rapid\r\n");
    converter.Update("G0 G0", table, false);
    EXPECT_EQ(converter.Converted(), "Rapid Rapid\r\n");
}

}  // namespace
}  // namespace qm
