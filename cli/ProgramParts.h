#pragma once

#include <array>
#include <string>
#include <string_view>

#include "CommandLine.h"
#include "PartReader.h"
#include "ShiftJisTwins.h"
#include "TextCodec.h"

namespace qm::cli {

// The text of a plain program file a part at a time, read the way a whole file is read: a
// byte-order mark makes it UTF-8; otherwise it is taken as UTF-8 (plain ASCII included) until a
// part is not, and then it is Shift-JIS as a whole and its parts come again from the start. An
// encoding the user named is used as it stands.
class ProgramParts {
  public:
    enum class Got { Text, StartOver, Failed };

    ProgramParts(int fd, EncodingChoice choice);

    // Lets a line longer than a part be cut after one of these bytes, while the program is read
    // as UTF-8 (a Shift-JIS character may hold any of them as its second byte).
    void CutLongLinesAfter(const std::array<bool, 256>& cutBytes);
    // Whether the text handed out last ends inside a line.
    bool Cut() const { return reader_.Cut(); }

    // The next part's text, valid until the next call; last when it ends the program.
    // StartOver: what was made of the parts so far is to be dropped, and the next call starts
    // again from the program's start. Failed: a read error, which errno tells.
    Got Next(std::string_view& text, bool& last);
    // The program's encoding as read so far.
    FileEncoding Encoding() const { return encoding_; }
    // True when the text handed out last is valid UTF-8 as it stands.
    bool TextIsValidUtf8() const { return textIsValidUtf8_; }
    // The codes the part handed out last used for the Shift-JIS characters that have several,
    // so that its result writes them back as they were.
    const ShiftJisTwins& Twins() const { return twins_; }

  private:
    PartReader reader_;
    FileEncoding encoding_;
    bool guessed_;  // UTF-8 only as long as every part is
    bool first_ = true;
    bool textIsValidUtf8_ = false;
    std::string decoded_;
    ShiftJisTwins twins_;
};

}  // namespace qm::cli
