#include "ProgramParts.h"

namespace qm::cli {
namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

}  // namespace

ProgramParts::ProgramParts(int fd, EncodingChoice choice)
    : reader_(fd),
      encoding_{choice == EncodingChoice::ShiftJis ? Encoding::ShiftJis : Encoding::Utf8, false},
      guessed_(choice == EncodingChoice::Auto) {}

void ProgramParts::CutLongLinesAfter(const std::array<bool, 256>& cutBytes) {
    if (encoding_.encoding != Encoding::ShiftJis)
        reader_.CutAfter(&cutBytes);
}

ProgramParts::Got ProgramParts::Next(std::string_view& text, bool& last) {
    std::string_view part;
    if (!reader_.Next(part, last))
        return Got::Failed;
    if (first_ && encoding_.encoding == Encoding::Utf8 && part.starts_with(kByteOrderMark)) {
        part.remove_prefix(kByteOrderMark.size());
        encoding_.byteOrderMark = true;
        guessed_ = false;  // a byte-order mark makes it UTF-8, valid or not
    }
    first_ = false;
    if (guessed_ && !IsValidUtf8(part)) {
        if (!reader_.Rewind())
            return Got::Failed;
        encoding_ = {Encoding::ShiftJis, false};
        reader_.CutAfter(nullptr);
        guessed_ = false;
        first_ = true;
        last = false;
        return Got::StartOver;
    }
    text = guessed_ ? part : DecodePart(part, encoding_.encoding, decoded_);
    twins_ =
        encoding_.encoding == Encoding::ShiftJis ? ShiftJisTwins::UsedBy(part) : ShiftJisTwins();
    textIsValidUtf8_ = encoding_.encoding != Encoding::ShiftJis && text.data() == part.data();
    return Got::Text;
}

}  // namespace qm::cli
