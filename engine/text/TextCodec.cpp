#include "TextCodec.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <thread>
#include <vector>

#include "ShiftJis.h"
#include "Utf8.h"

namespace qm {

std::size_t AsciiPrefix(std::string_view bytes) {
    std::size_t pos = 0;
    for (; pos + 8 <= bytes.size(); pos += 8) {
        std::uint64_t word;
        std::memcpy(&word, bytes.data() + pos, 8);
        if ((word & 0x8080808080808080ull) != 0) break;
    }
    while (pos < bytes.size() && static_cast<unsigned char>(bytes[pos]) < 0x80) ++pos;
    return pos;
}

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

bool IsAscii(std::string_view bytes) { return AsciiPrefix(bytes) == bytes.size(); }

}  // namespace

bool IsValidUtf8(std::string_view bytes) {
    for (std::size_t pos = 0; pos < bytes.size();) {
        if (static_cast<unsigned char>(bytes[pos]) < 0x80) {
            pos += AsciiPrefix(bytes.substr(pos));
            continue;
        }
        const std::size_t length = ValidUtf8SequenceLength(bytes, pos);
        if (length == 0) return false;
        pos += length;
    }
    return true;
}

namespace {

void AppendRawByte(std::string& out, unsigned char b) { AppendUtf8(out, kFirstRawByte + (b - 0x80)); }

// Appends the text of UTF-8 bytes to text, each byte that is part of no valid sequence as a
// raw-byte character.
void DecodeInvalidUtf8(std::string_view bytes, std::string& text) {
    text.reserve(text.size() + bytes.size() + bytes.size() / 4);
    for (std::size_t pos = 0; pos < bytes.size();) {
        const std::size_t length = ValidUtf8SequenceLength(bytes, pos);
        if (length == 0) {
            AppendRawByte(text, static_cast<unsigned char>(bytes[pos++]));
        } else {
            text.append(bytes.substr(pos, length));
            pos += length;
        }
    }
}

std::string DecodeUtf8(std::string_view bytes) {
    if (IsValidUtf8(bytes)) return std::string(bytes);
    std::string text;
    DecodeInvalidUtf8(bytes, text);
    return text;
}

// Appends the text of Shift-JIS bytes to text.
void DecodeShiftJis(std::string_view bytes, std::string& text) {
    text.reserve(text.size() + bytes.size() + bytes.size() / 2);
    for (std::size_t pos = 0; pos < bytes.size(); ++pos) {
        const unsigned char b = bytes[pos];
        if (b < 0x80) {  // the bulk of an NC program or a dictionary: copied a run at a time
            const std::size_t run = AsciiPrefix(bytes.substr(pos));
            text.append(bytes.substr(pos, run));
            pos += run - 1;
            continue;
        }
        char32_t c = 0;
        if (shiftjis::IsLeadByte(b) && pos + 1 < bytes.size()) {
            c = shiftjis::DecodePair(b, static_cast<unsigned char>(bytes[pos + 1]));
            if (c != 0) ++pos;
        } else {
            c = shiftjis::DecodeSingle(b);
        }
        if (c == 0) {
            AppendRawByte(text, b);
        } else {
            AppendUtf8(text, c);
        }
    }
}

std::string DecodeShiftJis(std::string_view bytes) {
    std::string text;
    DecodeShiftJis(bytes, text);
    return text;
}

// No byte of a Shift-JIS pair is an LF, so lines decode independently: a large text is cut after
// line ends and the pieces are decoded on all cores, giving exactly the sequential result.
constexpr std::size_t kDecodeOnAllCoresFrom = 1 << 20;

std::string DecodeShiftJisOnAllCores(std::string_view bytes) {
    const std::size_t threads = std::max(1u, std::thread::hardware_concurrency());
    if (bytes.size() < kDecodeOnAllCoresFrom || threads == 1) return DecodeShiftJis(bytes);
    std::vector<std::string_view> pieces;
    for (std::size_t start = 0; start < bytes.size();) {
        std::size_t end = std::min(bytes.size(), start + bytes.size() / threads + 1);
        const std::size_t lineFeed = bytes.find('\n', end == 0 ? 0 : end - 1);
        end = lineFeed == std::string_view::npos ? bytes.size() : lineFeed + 1;
        pieces.push_back(bytes.substr(start, end - start));
        start = end;
    }
    std::vector<std::string> decoded(pieces.size());
    std::vector<std::thread> workers;
    for (std::size_t i = 1; i < pieces.size(); ++i) {
        workers.emplace_back([&decoded, &pieces, i] { decoded[i] = DecodeShiftJis(pieces[i]); });
    }
    decoded[0] = DecodeShiftJis(pieces[0]);
    for (std::thread& worker : workers) worker.join();
    std::size_t total = 0;
    for (const std::string& piece : decoded) total += piece.size();
    std::string text = std::move(decoded[0]);
    text.reserve(total);
    for (std::size_t i = 1; i < decoded.size(); ++i) text += decoded[i];
    return text;
}

// Appends the bytes of c in the target encoding; false when it has none.
bool AppendEncoded(std::string& out, char32_t c, Encoding encoding, const ShiftJisTwins* twins) {
    if (c < 0x80) {
        out += char(c);
        return true;
    }
    if (IsRawByte(c)) {
        out += char(c - kFirstRawByte + 0x80);
        return true;
    }
    switch (encoding) {
        case Encoding::Ascii:
            return false;
        case Encoding::Utf8:
            if (c >= 0xD800 && c <= 0xDFFF) return false;
            AppendUtf8(out, c);
            return true;
        case Encoding::ShiftJis: {
            const std::uint16_t twin = twins != nullptr ? twins->CodeFor(c) : 0;
            const std::uint16_t code = twin != 0 ? twin : shiftjis::Encode(c);
            if (code == 0) return false;
            if (code > 0xFF) out += char(code >> 8);
            out += char(code & 0xFF);
            return true;
        }
    }
    return false;
}

}  // namespace

FileEncoding DetectEncoding(std::string_view bytes) {
    if (bytes.starts_with(kByteOrderMark)) return {Encoding::Utf8, true};
    if (IsAscii(bytes)) return {Encoding::Ascii, false};
    if (IsValidUtf8(bytes)) return {Encoding::Utf8, false};
    return {Encoding::ShiftJis, false};
}

FileEncoding WritingEncoding(FileEncoding read) {
    if (read.encoding == Encoding::Ascii) return {Encoding::ShiftJis, false};
    return read;
}

FileEncoding ConvertedTextEncoding(FileEncoding program) {
    if (program.encoding == Encoding::Ascii) return {Encoding::Utf8, false};
    return program;
}

std::string EncodingName(FileEncoding encoding) {
    switch (encoding.encoding) {
        case Encoding::Ascii:
            return "ASCII";
        case Encoding::Utf8:
            return encoding.byteOrderMark ? "UTF-8 with byte-order mark" : "UTF-8";
        case Encoding::ShiftJis:
            return "Shift-JIS";
    }
    return "?";
}

std::string DecodeOwnedText(std::string&& bytes, FileEncoding encoding) {
    if (encoding.encoding == Encoding::ShiftJis) return DecodeShiftJisOnAllCores(bytes);
    const std::size_t bom = std::string_view(bytes).starts_with(kByteOrderMark) ? kByteOrderMark.size() : 0;
    if (!IsValidUtf8(std::string_view(bytes).substr(bom))) return DecodeUtf8(std::string_view(bytes).substr(bom));
    bytes.erase(0, bom);
    return std::move(bytes);
}

std::string_view DecodePart(std::string_view bytes, Encoding encoding, std::string& scratch) {
    scratch.clear();
    if (encoding == Encoding::ShiftJis) {
        DecodeShiftJis(bytes, scratch);
        return scratch;
    }
    if (IsValidUtf8(bytes)) return bytes;
    DecodeInvalidUtf8(bytes, scratch);
    return scratch;
}

std::string DecodeText(std::string_view bytes, FileEncoding encoding) {
    switch (encoding.encoding) {
        case Encoding::Ascii:
        case Encoding::Utf8:
            if (bytes.starts_with(kByteOrderMark)) bytes.remove_prefix(kByteOrderMark.size());
            return DecodeUtf8(bytes);
        case Encoding::ShiftJis:
            return DecodeShiftJisOnAllCores(bytes);
    }
    return {};
}

Status EncodeTextInPlace(std::string& text, FileEncoding encoding) {
    const bool unchanged = encoding.encoding == Encoding::Utf8 ? IsValidUtf8(text) : IsAscii(text);
    if (unchanged) {
        if (encoding.encoding == Encoding::Utf8 && encoding.byteOrderMark) text.insert(0, kByteOrderMark);
        return Status::Ok();
    }
    std::string out;
    Status status = EncodeText(text, encoding, out);
    if (status.ok()) text.swap(out);
    return status;
}

Status EncodeText(std::string_view text, FileEncoding encoding, std::string& out, const ShiftJisTwins* twins) {
    out.clear();
    if (encoding.encoding == Encoding::Utf8 && encoding.byteOrderMark) out = kByteOrderMark;
    if (encoding.encoding == Encoding::ShiftJis && !shiftjis::Available()) {
        return Status::Fail("Shift-JIS text cannot be written: the C library has no code page 932 "
                            "converter (iconv \"CP932\").");
    }
    // Text without raw bytes or non-ASCII characters is written as it stands.
    if (encoding.encoding == Encoding::Utf8 && IsValidUtf8(text)) {
        out.append(text);
        return Status::Ok();
    }
    out.reserve(out.size() + text.size());
    std::size_t line = 1;
    for (std::size_t pos = 0; pos < text.size();) {
        const char32_t c = NextChar(text, pos);
        if (c == '\n') ++line;
        if (!AppendEncoded(out, c, encoding.encoding, twins)) {
            return Status::Fail("The character " + DescribeChar(c) + " on line " +
                                std::to_string(line) + " cannot be written in " +
                                EncodingName(encoding) + ".");
        }
    }
    return Status::Ok();
}

}  // namespace qm
