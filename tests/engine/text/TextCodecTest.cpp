#include <gtest/gtest.h>

#include "EngineFixture.h"

#include <random>

#include "ProperCase.h"
#include "ShiftJis.h"
#include "TextCodec.h"
#include "Utf8.h"

namespace qm {
namespace {

// "主軸" in Shift-JIS and in UTF-8.
const std::string kShujikuSjis = "\x8E\xE5\x8E\xB2";
const std::string kShujikuUtf8 = "\xE4\xB8\xBB\xE8\xBB\xB8";

std::string Encoded(std::string_view text, FileEncoding encoding) {
    std::string out;
    const Status status = EncodeText(text, encoding, out);
    EXPECT_TRUE(status.ok()) << status.message();
    return out;
}

std::string RoundTrip(std::string_view bytes) {
    const FileEncoding encoding = DetectEncoding(bytes);
    return Encoded(DecodeText(bytes, encoding), encoding);
}

TEST(TextCodec, DetectsByByteOrderMarkThenAsciiThenValidUtf8ElseShiftJis) {
    const auto ascii = Encoding::Ascii, utf8 = Encoding::Utf8, sjis = Encoding::ShiftJis;
    const std::pair<std::string, FileEncoding> cases[] = {
        {"G00 X1.\r\n", {ascii, false}},
        {"", {ascii, false}},
        {"\xEF\xBB\xBFG00", {utf8, true}},
        {"\xEF\xBB\xBF\x81", {utf8, true}},
        {"(" + kShujikuUtf8 + ")", {utf8, false}},
        {"(" + kShujikuSjis + ")", {sjis, false}},
        // Overlong forms, encoded surrogates and code points past U+10FFFF are not UTF-8.
        {"\xC0\xAF", {sjis, false}},
        {"\xED\xA0\x80", {sjis, false}},
        {"\xF4\x90\x80\x80", {sjis, false}},
    };
    for (const auto& [bytes, encoding] : cases)
        EXPECT_EQ(DetectEncoding(bytes), encoding) << bytes;
}

// What the round trips below cannot show: a single byte that is a character, and a character
// outside the Basic Multilingual Plane, which UTF-8 holds and Shift-JIS does not.
TEST(TextCodec, ReadsHalfWidthKatakanaAndWritesCharactersOfFourBytes) {
    EXPECT_EQ(DecodeText("\xB1", {Encoding::ShiftJis, false}), "\xEF\xBD\xB1");  // half-width ｱ
    const std::string wrench = "\xF0\x9F\x94\xA7";                               // 🔧
    EXPECT_EQ(Encoded(wrench, {Encoding::Utf8, false}), wrench);
    std::string out;
    EXPECT_FALSE(EncodeText(wrench, {Encoding::ShiftJis, false}, out).ok());
}

std::string EncodedWithTwins(std::string_view text, std::string_view file) {
    std::string out;
    const ShiftJisTwins twins = ShiftJisTwins::UsedBy(file);
    const Status status = EncodeText(text, {Encoding::ShiftJis, false}, out, &twins);
    EXPECT_TRUE(status.ok()) << status.message();
    return out;
}

// Given the codes the file used, every double-byte code comes back as it was, including the
// second and third codes some characters have (the NEC and IBM extension rows).
TEST(TextCodec, EveryShiftJisCodeRoundTripsWithTheFilesOwnTwins) {
    ASSERT_TRUE(shiftjis::Available());
    int valid = 0, unusual = 0;
    for (unsigned lead = 0x81; lead <= 0xFC; ++lead) {
        for (unsigned trail = 0x40; trail <= 0xFC && shiftjis::IsLeadByte(lead); ++trail) {
            const std::string bytes{char(lead), char(trail)};
            const std::string text = DecodeText(bytes, {Encoding::ShiftJis, false});
            std::size_t end = 0;
            if (IsRawByte(NextChar(text, end)) || end != text.size())
                continue;  // undefined pair
            ++valid;
            if (Encoded(text, {Encoding::ShiftJis, false}) != bytes)
                ++unusual;
            EXPECT_EQ(EncodedWithTwins(text, bytes), bytes) << std::hex << lead << trail;
        }
    }
    EXPECT_GT(valid, 9000);
    EXPECT_GT(unusual, 300);
    EXPECT_LT(unusual, 400);
}

TEST(TextCodec, ACharacterWrittenInTwoCodesKeepsTheFirstAndNewOnesTakeTheUsualCode) {
    const std::string nec = "\xED\x40", ibm = "\xFA\x5C";  // both decode to one character
    const std::string necFirst = nec + "G00" + ibm, ibmFirst = ibm + "G00" + nec;
    const std::string text = DecodeText(necFirst, {Encoding::ShiftJis, false});
    ASSERT_EQ(DecodeText(ibmFirst, {Encoding::ShiftJis, false}), text);
    EXPECT_EQ(EncodedWithTwins(text, necFirst), nec + "G00" + nec);
    EXPECT_EQ(EncodedWithTwins(text, ibmFirst), ibm + "G00" + ibm);
    // "\x87\x9A" is a second code of a row-1 symbol: the file's code, also after other bytes.
    const std::string because = "\x87\x9A", lone = "\x81(\x87\x9A";
    EXPECT_EQ(EncodedWithTwins(DecodeText(lone, {Encoding::ShiftJis, false}), lone), lone);
    EXPECT_EQ(EncodedWithTwins(DecodeText(because, {Encoding::ShiftJis, false}), nec), "\x81\xE6");
}

// Undefined and broken bytes, after a byte-order mark or not, survive reading and writing.
TEST(TextCodec, RandomBytesRoundTrip) {
    std::mt19937 random(20261206);
    // Lead bytes of rows that hold second codes are left out: they need not come back the same.
    const auto pick = [&] {
        for (;;) {
            const unsigned char b = random() % 256;
            if (b != 0x87 && b != 0xED && b != 0xEE && b != 0xFA && b != 0xFB && b != 0xFC)
                return b;
        }
    };
    for (int round = 0; round < 2000; ++round) {
        std::string bytes(random() % 64, '\0');
        for (char& b : bytes)
            b = char(pick());
        if (round % 3 == 0)
            bytes = "\xEF\xBB\xBF" + bytes;
        ASSERT_EQ(RoundTrip(bytes), bytes) << "round " << round;
    }
}

// Large texts are decoded in pieces on all cores: the result must be the same text.
TEST(TextCodec, LargeShiftJisTextRoundTripsThroughTheParallelDecoder) {
    std::mt19937 random(7);
    std::string bytes;
    const std::string pieces[] = {kShujikuSjis, "G00 X1.", "\x83\x41", "\xFF",
                                  "\x81",       "\r\n",    "\n"};
    while (bytes.size() < (1u << 20) + 4096)
        bytes += pieces[random() % 40 < 38 ? random() % 5 : 5 + random() % 2];
    const FileEncoding sjis{Encoding::ShiftJis, false};
    ASSERT_EQ(DetectEncoding(bytes), sjis);
    const std::string text = DecodeText(bytes, sjis);
    std::string lineByLine;  // each line alone is decoded in one piece
    for (std::size_t start = 0; start < bytes.size();) {
        const std::size_t end = std::min(bytes.find('\n', start), bytes.size() - 1) + 1;
        lineByLine += DecodeText(bytes.substr(start, end - start), sjis);
        start = end;
    }
    EXPECT_TRUE(text == lineByLine);
    EXPECT_TRUE(Encoded(text, sjis) == bytes);
}

// Capitals after separators only, one character for one; characters whose case partner is
// another character keep their own form wherever they stand.
TEST(ProperCase, CapitalisesAfterSeparatorsOnlyAndKeepsSignsWhoseCaseWouldChangeTheirMeaning) {
    const std::pair<std::string, std::string> cases[] = {
        {"SPINDLE CW", "Spindle Cw"},
        {"(RAPID)", "(rapid)"},
        {"tool-change\tON\x0B"
         "a\fb\rc\nd",
         "Tool-change\tOn\x0B"
         "A\fB\rC\nD"},
        {std::string("x\0y", 3), std::string("X\0Y", 3)},
        {"\xE4\xB8\xBB\xE8\xBB\xB8 ON", "\xE4\xB8\xBB\xE8\xBB\xB8 On"},  // 主軸
        {"\xC3\xA4USSERE \xC3\x9F\xCE\xA3\xCE\xA3",
         "\xC3\x84ussere \xC3\x9F\xCF\x83\xCF\x83"},     // äUSSERE ßΣΣ
        {"\xED\xB2\x81x", "\xED\xB2\x81x"},              // a raw byte has no case
        {"x\xF8\x80\x80\x80Y", "X\xF8\x80\x80\x80y"},    // stray bytes are no separator
        {"\xC2\xB5M \xC2\xB5m", "\xC2\xB5m \xC2\xB5m"},  // µm: MICRO SIGN, not Greek Mu
        {"\xC3\x9F \xC3\x9F"
         "E",
         "\xC3\x9F \xC3\x9F"
         "e"},                                                       // ß stays ß
        {"\xE2\x84\xA6 \xE2\x84\xAA", "\xE2\x84\xA6 \xE2\x84\xAA"},  // OHM and KELVIN SIGN
        {"\xC4\xB1SI", "\xC4\xB1si"},                                // dotless i is not I
        {"\xE1\x83\x90\xE1\x83\x91", "\xE1\x83\x90\xE1\x83\x91"},    // Georgian
        {"\xCE\xBC\xCE\x9C", "\xCE\x9C\xCE\xBC"},  // Greek mu itself still changes
    };
    for (const auto& [text, expected] : cases)
        EXPECT_EQ(ProperCase(text), expected) << text;
}

}  // namespace
}  // namespace qm
