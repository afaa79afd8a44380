// A runaway dictionary stopped inside the memory its result limit promises: the conversion
// ends in ConversionTooLarge, never in running out of memory first.
#include <gtest/gtest.h>

#include <functional>
#include <new>
#include <string>

#include "AllocationLimit.h"
#include "ConversionControl.h"
#include "ConversionStream.h"
#include "EngineFixture.h"
#include "FastConvert.h"
#include "IncrementalConvert.h"

namespace qm {
namespace {

constexpr std::size_t kResultLimit = std::size_t(1) << 20;
// What converting may hold at most: the line being grown, its next state and the result,
// each with room to double into.
constexpr std::size_t kPromisedPeak = 6 * kResultLimit;

// How the conversion ended: "too large", "out of memory" or "finished".
std::string Ending(const std::function<void()>& convert) {
    try {
        const test::HeapCeiling ceiling(kPromisedPeak);
        convert();
    } catch (const ConversionTooLarge&) {
        return "too large";
    } catch (const std::bad_alloc&) {
        return "out of memory";
    }
    return "finished";
}

TEST(ConversionMemory, ARunawayLineIsStoppedWithinTheLimitOnEveryPath) {
    const DictionaryTable table = test::DoublingTable(40);
    const CompiledDictionary compiled(table);
    ConversionControl control;
    control.resultLimit = kResultLimit;
    const struct {
        const char* path;
        std::function<void()> convert;
    } rows[] = {
        {"one thread",
         [&] {
             compiled.Convert("Q00", false, ParallelOptions{1, 0}, control);
         }},
        {"both cores",
         [&] {
             compiled.Convert("G0\nQ00\nG1", false, ParallelOptions{2, 1}, control);
         }},
        {"in parts",
         [&] {
             ConversionStream stream(compiled, false, 4, control);
             stream.Convert("Q00", true);
         }},
        {"the window's",
         [&] {
             IncrementalConverter converter;
             converter.Update("Q00", table, false, control);
         }},
    };
    for (const auto& row : rows)
        EXPECT_EQ(Ending(row.convert), "too large") << row.path;
}

}  // namespace
}  // namespace qm
