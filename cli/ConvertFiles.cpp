#include "ConvertFiles.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <map>
#include <new>
#include <optional>
#include <set>
#include <stdexcept>

#include "AppState.h"
#include "Convert.h"
#include "ConvertInParts.h"
#include "DictionaryFile.h"
#include "EngineText.h"
#include "FastConvert.h"
#include "FileAccess.h"
#include "FileType.h"
#include "ProgramEncoding.h"
#include "SettingsStore.h"
#include "StandardOutput.h"

namespace fs = std::filesystem;

namespace qm::cli {
namespace {

constexpr const char* kStandardStream = "-";

void Report(const std::string& message) {
    std::fprintf(stderr, "quillmark-convert: %s\n", message.c_str());
}

Status ReadStandardInput(std::string& bytes) {
    return ReadStream(STDIN_FILENO, "standard input", bytes);
}

// A program smaller than this converts in less time with the plain algorithm than compiling
// the dictionary takes (10,001 words: compiling 3 ms; the plain algorithm 1.5 ms, and 0.04 ms a
// line more); both give the same text. The plain algorithm gets a bounded amount of work (a
// few milliseconds), so that a dictionary that grows lines without end still meets the fast
// engine's guard instead of keeping the plain one busy for hours.
constexpr std::size_t kCompileFromBytes = 512;
constexpr std::size_t kPlainWorkBytes = std::size_t(32) << 20;

// Loads each dictionary once, remembering refusals too, and compiles it once a program needs it.
class DictionaryCache {
  public:
    struct Entry {
        Status status = Status::Ok();
        DictionaryTable table;
        std::optional<CompiledDictionary> compiled;

        std::string Convert(std::string_view text, bool spaceAdd) {
            if (!compiled && text.size() < kCompileFromBytes) {
                if (auto plain = ConvertReferenceWithin(text, table, spaceAdd, kPlainWorkBytes))
                    return *plain;
            }
            return Compiled().Convert(text, spaceAdd);
        }

        const CompiledDictionary& Compiled() {
            if (!compiled)
                compiled.emplace(table);
            return *compiled;
        }
    };

    Entry* Get(const std::string& path, std::string& refusal) {
        auto found = entries_.find(path);
        if (found == entries_.end()) {
            Entry entry;
            entry.status = LoadDictionaryFileSayingWhy(path, entry.table);
            found = entries_.emplace(path, std::move(entry)).first;
        }
        if (found->second.status.ok())
            return &found->second;
        const std::string& message = found->second.status.message();
        refusal = message.find(path) != std::string::npos ? message : path + ": " + message;
        return nullptr;
    }

  private:
    std::map<std::string, Entry> entries_;
};

bool IsPlainFileOfAtLeast(const std::string& path, std::size_t bytes) {
    struct stat info {};
    return path != kStandardStream && ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) &&
           std::size_t(info.st_size) >= bytes;
}

// Identity of an existing plain file, so that links to one file compare equal. Devices and pipes
// have nothing to overwrite: a terminal may well be both the input and the output.
std::optional<std::pair<dev_t, ino_t>> FileIdentity(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode))
        return std::nullopt;
    return std::make_pair(info.st_dev, info.st_ino);
}

// A name for a destination that does not exist yet, for telling two results apart.
std::string PlainName(const std::string& path) {
    std::error_code error;
    const fs::path absolute = fs::absolute(path, error);
    return (error ? fs::path(path) : absolute).lexically_normal().string();
}

// Where each input's result goes ("-" for standard output), refusing a destination that is one
// of the inputs or a dictionary in use, or that an earlier result already went to.
class Destinations {
  public:
    Destinations(const Options& options, const std::vector<std::string>& inputs) {
        std::error_code error;
        folder_ = options.output && (inputs.size() > 1 || fs::is_directory(*options.output, error));
        output_ = options.output.value_or(kStandardStream);
        for (const std::string& input : inputs) {
            if (auto identity = FileIdentity(input))
                inputs_.insert(*identity);
        }
    }

    bool Choose(const std::string& input, const std::string& dictionary, std::string& destination,
                std::string& problem) {
        destination = output_;
        if (folder_) {
            const fs::path name =
                input == kStandardStream ? fs::path("stdin") : fs::path(input).filename();
            destination = (fs::path(output_) / name).string() + ".txt";
        }
        if (destination == kStandardStream)
            return true;
        const auto identity = FileIdentity(destination);
        if (identity && inputs_.contains(*identity)) {
            problem = destination + ": not written, it would overwrite an input file";
            return false;
        }
        if (identity && identity == FileIdentity(dictionary)) {
            problem =
                destination + ": not written, it would overwrite the dictionary " + dictionary;
            return false;
        }
        const std::string key =
            identity ? std::to_string(identity->first) + ":" + std::to_string(identity->second)
                     : PlainName(destination);
        if (!used_.insert(key).second) {
            problem = destination + ": not written, the result of another input already went there";
            return false;
        }
        return true;
    }

  private:
    bool folder_ = false;
    std::string output_;
    std::set<std::pair<dev_t, ino_t>> inputs_;
    std::set<std::string> used_;
};

// What became of one input.
enum class Outcome { Written, DictionaryRefused, FileFailed };

Outcome Fail(const std::string& message, Outcome outcome = Outcome::FileFailed) {
    Report(message);
    return outcome;
}

std::string InputName(const std::string& input) {
    return input == kStandardStream ? "standard input" : input;
}

// A program file converted and written part by part; nothing, with nothing done, when it is to
// be converted whole.
std::optional<Outcome> ConvertFileInParts(const Options& options, const std::string& input,
                                          const std::string& destination,
                                          DictionaryCache::Entry& dictionary) {
    if (!IsPlainFileOfAtLeast(input, kCompileFromBytes))
        return std::nullopt;
    // A program appended to itself (P.NC >> P.NC) would go on to read its own result.
    if (destination == kStandardStream && FileIdentity(input) == FileIdentity("/dev/stdout"))
        return std::nullopt;
    const auto write = [&](const PartProducer& produce) {
        return destination == kStandardStream ? WriteStandardOutputInParts(produce)
                                              : WriteFileSafelyInParts(destination, produce);
    };
    Status failure = Status::Ok();
    switch (
        ConvertInParts(input, dictionary.Compiled(), options, write, kCompileFromBytes, failure)) {
        case PartsOutcome::Written:
            return Outcome::Written;
        case PartsOutcome::Failed:
            return Fail(failure.message());
        case PartsOutcome::ReadWhole:
            break;
    }
    return std::nullopt;
}

// Encodes converted text in place, in the codes twins names when there are any.
Status EncodeTextKeeping(std::string& text, FileEncoding encoding, const ShiftJisTwins& twins) {
    if (twins.empty() || encoding.encoding != Encoding::ShiftJis)
        return EncodeTextInPlace(text, encoding);
    std::string bytes;
    Status encoded = EncodeText(text, encoding, bytes, &twins);
    if (encoded.ok())
        text = std::move(bytes);
    return encoded;
}

Outcome ConvertOne(const Options& options, const std::string& input,
                   const std::string& dictionaryPath, Destinations& destinations,
                   DictionaryCache& dictionaries) {
    std::string destination, problem;
    DictionaryCache::Entry* dictionary = dictionaries.Get(dictionaryPath, problem);
    if (dictionary == nullptr)
        return Fail(problem, Outcome::DictionaryRefused);
    if (!destinations.Choose(input, dictionaryPath, destination, problem))
        return Fail(problem);
    if (const std::optional<Outcome> outcome =
            ConvertFileInParts(options, input, destination, *dictionary)) {
        return *outcome;
    }
    std::string bytes;
    const Status read = input == kStandardStream
                            ? ReadStandardInput(bytes)
                            : ReadWholeFile(input, bytes, Readable::FilesAndPipes);
    if (!read.ok())
        return Fail(read.message());
    // Each step lets go of what the next no longer needs: a large program is held about
    // twice, not four times.
    const FileEncoding programEncoding = ProgramEncoding(bytes, options.encoding);
    // Characters with several Shift-JIS codes go back in the code the program used.
    const ShiftJisTwins twins = programEncoding.encoding == Encoding::ShiftJis
                                    ? ShiftJisTwins::UsedBy(bytes)
                                    : ShiftJisTwins();
    std::string converted;
    {
        const std::string text = DecodeOwnedText(std::move(bytes), programEncoding);
        converted = dictionary->Convert(text, options.spaceAdd);
    }
    const FileEncoding encoding = ResultEncoding(programEncoding, options.outputEncoding);
    if (Status encoded = EncodeTextKeeping(converted, encoding, twins); !encoded.ok()) {
        return Fail(InputName(input) + ": " + encoded.message() + " Nothing was written.");
    }
    const Status written = destination == kStandardStream ? WriteWholeToStandardOutput(converted)
                                                          : WriteFileSafely(destination, converted);
    return written.ok() ? Outcome::Written : Fail(written.message());
}

// Running out of memory, a file-system error or a conversion stopped for growing without end
// ends this input's conversion with a message; nothing of it has been written.
Outcome ConvertOneGuarded(const Options& options, const std::string& input,
                          const std::string& dictionaryPath, Destinations& destinations,
                          DictionaryCache& dictionaries) {
    try {
        return ConvertOne(options, input, dictionaryPath, destinations, dictionaries);
    } catch (const std::bad_alloc&) {
        return Fail(InputName(input) + ": not enough memory to convert it. Nothing was written.");
    } catch (const std::exception& failure) {
        return Fail(InputName(input) + ": " + failure.what() + " Nothing was written.");
    }
}

}  // namespace

std::string DefaultDictionaryPath(const std::string& programFile, const std::string& programFolder,
                                  const SettingsStore& settings) {
    std::string key;  // standard input has no file name, so no type
    if (programFile != kStandardStream) {
        std::error_code error;
        const fs::path full = fs::absolute(programFile, error).lexically_normal();
        key = FileTypeKey(error ? programFile : full.string());
    }
    const auto inProgramFolder = [&](std::string_view file) {
        return QString::fromStdString((fs::path(programFolder) / file).string());
    };
    const int slot = DictionarySlotIndex(QString::fromStdString(key));
    const QString path =
        slot >= 0 ? settings.GetSetting(kDictionarySlotKeys[slot].readAs,
                                        inProgramFolder(DefaultDictionaryFor(key)))
                  : settings.GetSetting("DicFileName", inProgramFolder(kDefaultDicFileName));
    return EnginePath(path);
}

int ConvertFiles(const Options& options, const std::string& programFolder) {
    std::vector<std::string> inputs = options.files;
    if (inputs.empty())
        inputs.push_back(kStandardStream);
    if (inputs.size() > 1 && options.output) {
        std::error_code error;
        if (!fs::is_directory(*options.output, error)) {
            Report("with several files, -o must name an existing folder: " + *options.output);
            return kUsageError;
        }
    }
    Destinations destinations(options, inputs);
    DictionaryCache dictionaries;
    std::optional<SettingsStore> settings;  // read only when a file needs its type's dictionary
    bool refused = false, failed = false;
    for (const std::string& input : inputs) {
        if (!options.dictionary && !settings) {
            settings.emplace();
            if (!settings->problem().isEmpty())
                Report(settings->problem().toStdString());
        }
        const std::string dictionaryPath =
            options.dictionary ? *options.dictionary
                               : DefaultDictionaryPath(input, programFolder, *settings);
        const Outcome outcome =
            ConvertOneGuarded(options, input, dictionaryPath, destinations, dictionaries);
        refused = refused || outcome == Outcome::DictionaryRefused;
        failed = failed || outcome == Outcome::FileFailed;
    }
    return refused ? kDictionaryRefused : failed ? kFileError : kSuccess;
}

}  // namespace qm::cli
