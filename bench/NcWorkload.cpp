#include "NcWorkload.h"

#include <algorithm>
#include <cstdio>
#include <random>
#include <string_view>
#include <vector>

#include "Utf8.h"

namespace qm::bench {
namespace {

class Picker {
public:
    explicit Picker(unsigned seed) : rng_(seed) {}
    int Int(int low, int high) { return std::uniform_int_distribution<int>(low, high)(rng_); }
    bool Chance(int percent) { return Int(1, 100) <= percent; }
    template <class T>
    const T& One(const std::vector<T>& items) { return items[std::size_t(Int(0, int(items.size()) - 1))]; }
    // A coordinate such as "12.345" or "-6.789".
    std::string Number(int whole) {
        char text[32];
        std::snprintf(text, sizeof text, "%s%d.%03d", Chance(30) ? "-" : "", Int(0, whole), Int(0, 999));
        return text;
    }

private:
    std::mt19937 rng_;
};

std::string MotionLine(Picker& pick) {
    static const std::vector<std::string> motions = {"G00", "G01", "G01", "G01", "G1", "G0", "G02", "G03"};
    const std::string& g = pick.One(motions);
    std::string line = g + " X" + pick.Number(300) + " Y" + pick.Number(200);
    if (g == "G02" || g == "G03") return line + " I" + pick.Number(50) + " J" + pick.Number(50);
    if (pick.Chance(30)) line += " Z" + pick.Number(50);
    if (g != "G00" && g != "G0" && pick.Chance(40)) line += " F" + std::to_string(pick.Int(1, 40) * 50);
    return line;
}

std::string OtherLine(Picker& pick) {
    static const std::vector<std::string> comments = {
        "(ROUGH FACE)", "(FINISH CONTOUR)", "(DRILL 6.8 THRU)", "(POCKET 2 DEPTH 5)",
        "(CHAMFER 45 DEG)", "(荒加工 外周)", "(仕上げ)", "(TAP M8X1.25)"};
    switch (pick.Int(0, 9)) {
        case 0: return pick.One(comments);
        case 1: return "T" + std::to_string(pick.Int(1, 24)) + " M06";
        case 2: return "S" + std::to_string(pick.Int(5, 80) * 100) + (pick.Chance(80) ? " M03" : " M04");
        case 3: return pick.Chance(50) ? "M08" : "M09";
        case 4: return "G43 H" + std::to_string(pick.Int(1, 24)) + " Z" + pick.Number(100);
        case 5: return "G81 R2. Z" + pick.Number(30) + " F" + std::to_string(pick.Int(2, 20) * 10);
        case 6: return "#" + std::to_string(pick.Int(100, 199)) + " = #" + std::to_string(pick.Int(5001, 5221)) + " + " + pick.Number(5);
        case 7: return "IF [#" + std::to_string(pick.Int(1, 33)) + " GT " + std::to_string(pick.Int(0, 99)) + "] GOTO " + std::to_string(pick.Int(1, 999));
        case 8: return "G90 G54 G17 G40 G49 G80";
        default: return "G65 P" + std::to_string(pick.Int(9000, 9999)) + " A" + pick.Number(9) + " B" + pick.Number(9);
    }
}

}  // namespace

std::string MakeNcProgram(std::size_t lines, unsigned seed) {
    Picker pick(seed);
    std::string text = "%\r\nO1234 (BENCH PART)\r\n";
    text.reserve(lines * 32);
    for (std::size_t n = 1; n <= lines; ++n) {
        const bool numbered = pick.Chance(70);
        if (numbered) text += "N" + std::to_string(n % 100000) + " ";
        text += pick.Chance(75) ? MotionLine(pick) : OtherLine(pick);
        text += "\r\n";
    }
    return text + "M30\r\n%\r\n";
}

namespace {

// Word candidates in the order a maintainer would add them: common codes first.
std::vector<std::string> NcWords() {
    std::vector<std::string> words;
    const auto codes = [&](char letter, int from, int to, int width) {
        for (int n = from; n <= to; ++n) {
            char text[16];
            std::snprintf(text, sizeof text, "%c%0*d", letter, width, n);
            words.push_back(text);
        }
    };
    codes('G', 0, 9, 2), codes('G', 0, 99, 1), codes('M', 0, 9, 2), codes('M', 0, 99, 1);
    codes('G', 100, 999, 3), codes('M', 100, 999, 3);
    for (int n = 1; n <= 33; ++n) words.push_back("#" + std::to_string(n));
    for (int n = 100; n <= 999; ++n) words.push_back("#" + std::to_string(n));
    codes('G', 1000, 1999, 4), codes('M', 1000, 1999, 4);
    for (int n = 1000; n <= 9999; ++n) words.push_back("#" + std::to_string(n));
    codes('G', 2000, 9999, 4);
    return words;
}

std::string Comment(Picker& pick) {
    static const std::vector<std::string> english = {
        "RAPID", "TRAVERSE", "LINEAR", "CIRCULAR", "INTERPOLATION", "SPINDLE", "COOLANT", "ON",
        "OFF", "TOOL", "CHANGE", "LENGTH", "OFFSET", "CANCEL", "DRILLING", "CYCLE", "PROGRAM",
        "STOP", "END", "WORK", "COORDINATE", "SYSTEM", "CLOCKWISE", "MIST", "FEED", "DWELL",
        "VARIABLE", "POSITION", "MACRO", "CALL", "plane", "select", "absolute", "incremental"};
    static const std::vector<std::string> japanese = {
        "早送り", "直線補間", "円弧補間", "主軸正転", "主軸停止", "工具交換", "クーラント", "工具長補正",
        "座標系", "変数"};
    if (pick.Chance(15)) return pick.One(japanese) + (pick.Chance(50) ? " " + pick.One(japanese) : "");
    std::string comment = pick.One(english);
    for (int extra = pick.Int(0, 3); extra > 0; --extra) comment += " " + pick.One(english);
    return comment;
}

}  // namespace

DictionaryTable MakeNcDictionary(std::size_t entries, unsigned seed) {
    Picker pick(seed);
    std::vector<std::string> words = NcWords();
    words.resize(std::min(entries, words.size()));
    DictionaryTable table;
    for (std::string& word : words) {
        table.Append({std::int16_t(table.LastIndex + 1), std::move(word), Comment(pick)});
    }
    // The order a saved and reloaded dictionary has.
    const auto first = table.entries.begin(), last = first + (table.LastIndex + 1);
    std::stable_sort(first, last, [](const DictionaryEntry& a, const DictionaryEntry& b) {
        return CharCount(a.word) > CharCount(b.word);
    });
    return table;
}

DictionaryTable MakeSelfNamingDictionary(std::size_t entries, unsigned seed) {
    DictionaryTable table = MakeNcDictionary(entries, seed);
    for (int i = 0; i <= table.LastIndex; i += 10) {
        DictionaryEntry& entry = table.entries[std::size_t(i)];
        entry.comment = entry.word + " " + entry.comment;
    }
    return table;
}

std::string MakeRunOfG(std::size_t bytes) { return std::string(bytes, 'G') + "\r\n"; }

DictionaryTable MakeNestedGDictionary(std::size_t entries, bool longestFirst) {
    DictionaryTable table;
    for (std::size_t k = 0; k < entries; ++k) {
        const std::size_t length = longestFirst ? entries - k : k + 1;
        table.Append({0, std::string(length, 'G'), "nested " + std::to_string(length)});
    }
    return table;
}

}  // namespace qm::bench
