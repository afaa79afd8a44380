#include "ConvertInParts.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <future>
#include <string_view>
#include <utility>

#include "ConversionStream.h"
#include "FileAccess.h"
#include "FileDescriptor.h"
#include "ProgramEncoding.h"
#include "ProgramParts.h"
#include "TextCodec.h"

namespace qm::cli {
namespace {

// Why one reading of the program stopped before its end.
enum class Stop { Done, StartOver, NeedsWhole, Failed };

class PartConversion {
  public:
    PartConversion(const std::string& input, const CompiledDictionary& dictionary,
                   const Options& options, std::size_t inputBytes, ProgramParts& parts)
        : input_(input),
          dictionary_(dictionary),
          options_(options),
          inputBytes_(inputBytes),
          parts_(parts),
          validInserts_(dictionary.InsertsAreValidUtf8()) {
        // A long line may be cut after an ASCII byte that no word holds (a CR of a program whose
        // lines end in CR alone, a blank), so that it is converted as it is read.
        for (int byte = 0; byte < 0x80; ++byte)
            cutBytes_[byte] = byte != '\n' && !dictionary.IsWordByte(byte);
        parts_.CutLongLinesAfter(cutBytes_);
    }

    Status Produce(PartSink& sink) {
        for (;;) {  // once more from the start, should the program turn out to be Shift-JIS
            const Stop stop = ReadThrough(sink);
            if (stop == Stop::StartOver) {
                if (Status restarted = sink.Restart(); !restarted.ok())
                    return restarted;
                continue;
            }
            if (stop == Stop::NeedsWhole)
                return Status::Fail("the result needs the whole text");
            return stop == Stop::Done ? Status::Ok() : failure_;
        }
    }

    bool NeedsWhole() const { return needsWhole_; }

  private:
    // Each part's result is written while the next part is read and converted.
    Stop ReadThrough(PartSink& sink) {
        ConversionStream stream(dictionary_, options_.spaceAdd, inputBytes_);
        std::future<Status> writing;  // waited for, whatever happens, before the sink goes
        const auto written = [&] { return !writing.valid() || (failure_ = writing.get()).ok(); };
        bool first = true, last = false;
        for (int turn = 0; !last; turn ^= 1) {
            std::string_view text;
            switch (parts_.Next(text, last)) {
                case ProgramParts::Got::Failed:
                    return Failed(ErrnoFailure(input_));
                case ProgramParts::Got::StartOver:
                    return written() ? Stop::StartOver : Stop::Failed;
                case ProgramParts::Got::Text:
                    break;
            }
            FileEncoding result = ResultEncoding(parts_.Encoding(), options_.outputEncoding);
            result.byteOrderMark = result.byteOrderMark && first;
            cutLine_ = cutLine_ || parts_.Cut();
            const std::string& converted =
                parts_.Cut() ? stream.ConvertCut(text) : stream.Convert(text, last);
            if (!written())
                return Stop::Failed;  // the part before, whose buffers are now free
            if (cutLine_ && stream.EntryNeverEnded()) {  // the cut lines must be converted whole
                needsWhole_ = true;
                return Stop::NeedsWhole;
            }
            std::string_view bytes;
            if (!Encode(converted, parts_.TextIsValidUtf8() && validInserts_, result,
                        parts_.Twins(), encoded_[turn], bytes)) {
                needsWhole_ = true;
                return Stop::NeedsWhole;
            }
            writing = std::async(std::launch::async, [&sink, bytes] { return sink.Put(bytes); });
            first = false;
        }
        return written() ? Stop::Done : Stop::Failed;
    }

    // The bytes of converted text in the result's encoding, made in encoded when they differ
    // from the text; false when the encoding cannot hold a character. Text known to be valid
    // UTF-8 is not looked through again.
    static bool Encode(const std::string& converted, bool valid, FileEncoding encoding,
                       const ShiftJisTwins& twins, std::string& encoded, std::string_view& bytes) {
        if (encoding.encoding == Encoding::Utf8 && !encoding.byteOrderMark &&
            (valid || IsValidUtf8(converted))) {
            bytes = converted;
            return true;
        }
        if (!EncodeText(converted, encoding, encoded, &twins).ok())
            return false;
        bytes = encoded;
        return true;
    }

    Stop Failed(Status status) {
        failure_ = std::move(status);
        return Stop::Failed;
    }

    const std::string& input_;
    const CompiledDictionary& dictionary_;
    const Options& options_;
    const std::size_t inputBytes_;
    ProgramParts& parts_;
    const bool validInserts_;
    std::string encoded_[2];  // a part's result is encoded while the one before is written
    std::array<bool, 256> cutBytes_{};
    bool cutLine_ = false;
    Status failure_ = Status::Ok();
    bool needsWhole_ = false;
};

}  // namespace

PartsOutcome ConvertInParts(const std::string& input, const CompiledDictionary& dictionary,
                            const Options& options,
                            const std::function<Status(const PartProducer&)>& write,
                            std::size_t minBytes, Status& failure) {
    const FileDescriptor fd(::open(input.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
    struct stat info {};
    if (fd.get() < 0 || ::fstat(fd.get(), &info) != 0 || !S_ISREG(info.st_mode) ||
        std::size_t(info.st_size) < minBytes) {
        return PartsOutcome::ReadWhole;  // the whole reading says what is wrong, if anything
    }
    ProgramParts parts(fd.get(), options.encoding);
    PartConversion conversion(input, dictionary, options, std::size_t(info.st_size), parts);
    const Status written = write([&](PartSink& sink) { return conversion.Produce(sink); });
    if (conversion.NeedsWhole())
        return PartsOutcome::ReadWhole;
    failure = written;
    return written.ok() ? PartsOutcome::Written : PartsOutcome::Failed;
}

}  // namespace qm::cli
