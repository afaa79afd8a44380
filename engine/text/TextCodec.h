#pragma once

#include <string>
#include <string_view>

#include "ShiftJisTwins.h"
#include "Status.h"

namespace qm {

// Length of the plain-ASCII run at the start of bytes, taken eight bytes at a time.
std::size_t AsciiPrefix(std::string_view bytes);

// True when bytes are UTF-8 throughout (plain ASCII included).
bool IsValidUtf8(std::string_view bytes);

// How a file's bytes are turned into text and back.
//
// Files are read by detection: a UTF-8 byte-order mark, or valid UTF-8 that is not plain ASCII,
// means UTF-8; plain ASCII is plain ASCII; anything else is Shift-JIS (Windows code page 932).
// Bytes that are invalid in the detected encoding are kept as raw-byte characters (Utf8.h) and
// written back as they were, so reading and writing any file gives the same bytes back (where
// code page 932 has two codes for one character, given the file's ShiftJisTwins).
enum class Encoding { Ascii, Utf8, ShiftJis };

struct FileEncoding {
    Encoding encoding = Encoding::Ascii;
    bool byteOrderMark = false;  // only with Utf8

    friend bool operator==(const FileEncoding&, const FileEncoding&) = default;
};

FileEncoding DetectEncoding(std::string_view bytes);

// The encoding a file read as `read` is written in: plain ASCII becomes code page 932, so that
// dictionaries stay exchangeable with Japanese Windows systems.
FileEncoding WritingEncoding(FileEncoding read);

// The encoding a program's converted text is written in: the program's own, and UTF-8 for a
// plain-ASCII program, whose comments (from any dictionary) then read right on a UTF-8 desktop.
FileEncoding ConvertedTextEncoding(FileEncoding program);

// Name for messages and the command line: "ASCII", "UTF-8", "Shift-JIS".
std::string EncodingName(FileEncoding encoding);

// Decodes bytes (a byte-order mark, when the encoding has one, is skipped) into text.
std::string DecodeText(std::string_view bytes, FileEncoding encoding);
// The same, reusing the bytes' memory when they are already the text (plain ASCII, valid UTF-8).
std::string DecodeOwnedText(std::string&& bytes, FileEncoding encoding);
// Decodes one part of a file cut right after LFs (no byte of a Shift-JIS pair or a UTF-8
// sequence is an LF, so parts decode as the whole file does), with any byte-order mark already
// taken off. The text is bytes itself when they need no change, else it is written into
// scratch, whose memory is reused from part to part.
std::string_view DecodePart(std::string_view bytes, Encoding encoding, std::string& scratch);

// Encodes text, byte-order mark first when the encoding has one. A character the encoding
// cannot hold fails the whole call, naming the character and its line; out is then unspecified.
// In Shift-JIS, a character with several codes is written in the code twins names, if any.
Status EncodeText(std::string_view text, FileEncoding encoding, std::string& out,
                  const ShiftJisTwins* twins = nullptr);
// The same, turning text into its bytes in place; text that needs no change is not copied. On
// failure text is left as it was.
Status EncodeTextInPlace(std::string& text, FileEncoding encoding);

}  // namespace qm
