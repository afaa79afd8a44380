#include "ListMissing.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <optional>
#include <unordered_set>

#include "ConvertFiles.h"
#include "DictionaryFile.h"
#include "FileAccess.h"
#include "FileDescriptor.h"
#include "ProgramEncoding.h"
#include "ProgramParts.h"
#include "SettingsStore.h"
#include "StandardOutput.h"
#include "TextCodec.h"

namespace qm::cli {
namespace {

constexpr const char* kStandardStream = "-";

void Report(const std::string& message) {
    std::fprintf(stderr, "quillmark-convert: %s\n", message.c_str());
}

// Each dictionary read once, a refusal remembered with its reason.
class DictionaryWordSets {
  public:
    const std::unordered_set<std::string_view>* Get(const std::string& path, std::string& refusal) {
        auto found = entries_.find(path);
        if (found == entries_.end()) {
            found = entries_.try_emplace(path).first;
            Entry& entry = found->second;
            entry.status = LoadDictionaryFileSayingWhy(path, entry.table);
            if (entry.status.ok())
                entry.words = DictionaryWords(entry.table);
        }
        if (found->second.status.ok())
            return &found->second.words;
        const std::string& message = found->second.status.message();
        refusal = message.find(path) != std::string::npos ? message : path + ": " + message;
        return nullptr;
    }

  private:
    struct Entry {
        Status status = Status::Ok();
        DictionaryTable table;
        std::unordered_set<std::string_view> words;  // views into table
    };
    std::map<std::string, Entry> entries_;
};

// The program's text as conversion reads it: Shift-JIS bytes decoded, so that the second byte
// of a double-byte character is never taken for a letter.
Status ReadProgramText(const std::string& input, EncodingChoice choice, std::string& text) {
    std::string bytes;
    // Pipes are read as conversion reads them: standard input, `<(...)`, a named pipe.
    const Status read = input == kStandardStream ? ReadStream(STDIN_FILENO, "standard input", bytes)
                                                 : ReadWholeFile(input, bytes, Readable::FilesAndPipes);
    if (!read.ok()) return read;
    const FileEncoding encoding = ProgramEncoding(bytes, choice);
    text = DecodeOwnedText(std::move(bytes), encoding);
    return Status::Ok();
}

// The code words of a plain program file, read a part at a time, so that the program is never
// held whole.
Status TallyProgramInParts(const std::string& input, int fd, EncodingChoice choice,
                           std::vector<CodeWordTally>& found) {
    ProgramParts parts(fd, choice);
    CodeWordTallies tallies;
    for (bool last = false; !last;) {
        std::string_view text;
        switch (parts.Next(text, last)) {
            case ProgramParts::Got::Failed:
                return ErrnoFailure(input);
            case ProgramParts::Got::StartOver:
                tallies = CodeWordTallies();
                break;
            case ProgramParts::Got::Text:
                tallies.Add(text);
                break;
        }
    }
    found = tallies.Take();
    return Status::Ok();
}

// The code words of a program, as conversion reads its text.
Status TallyProgram(const std::string& input, EncodingChoice choice, std::vector<CodeWordTally>& tallies) {
    if (input != kStandardStream) {
        const FileDescriptor fd(::open(input.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
        struct stat info{};
        if (fd.get() >= 0 && ::fstat(fd.get(), &info) == 0 && S_ISREG(info.st_mode)) {
            return TallyProgramInParts(input, fd.get(), choice, tallies);
        }
    }
    std::string text;  // anything else is read whole, or refused, as before
    if (Status read = ReadProgramText(input, choice, text); !read.ok()) return read;
    tallies = TallyCodeWords(text);
    return Status::Ok();
}

}  // namespace

void MissingWordList::Add(std::size_t file, const std::vector<CodeWordTally>& missing) {
    for (const CodeWordTally& tally : missing) {
        const auto [at, added] = index_.try_emplace(tally.word, words_.size());
        if (added) {
            words_.push_back({tally.word, tally.count, file, tally.firstLine});
        } else {
            words_[at->second].count += tally.count;
        }
    }
}

std::vector<ListedWord> MissingWordList::Sorted() const {
    std::vector<ListedWord> sorted = words_;
    std::sort(sorted.begin(), sorted.end(), [](const ListedWord& a, const ListedWord& b) {
        return a.count != b.count ? a.count > b.count : a.word < b.word;
    });
    return sorted;
}

std::string FormatMissingWords(const std::vector<ListedWord>& words,
                               const std::vector<std::string>& files) {
    std::string lines;
    for (const ListedWord& word : words) {
        lines += word.word;
        lines += '\t';
        lines += std::to_string(word.count);
        lines += '\t';
        lines += files[word.file];
        lines += ':';
        lines += std::to_string(word.line);
        lines += '\n';
    }
    return lines;
}

int ListMissingWords(const Options& options, const std::string& programFolder) {
    std::vector<std::string> inputs = options.files;
    if (inputs.empty())
        inputs.push_back(kStandardStream);
    std::optional<SettingsStore> settings;  // read only when a file needs its type's dictionary
    DictionaryWordSets dictionaries;
    MissingWordList list;
    bool refused = false, failed = false;
    for (std::size_t file = 0; file < inputs.size(); ++file) {
        const std::string& input = inputs[file];
        std::string problem;
        std::vector<CodeWordTally> tallies;
        if (!options.dictionary && !settings) {
            settings.emplace();
            if (!settings->problem().isEmpty())
                Report(settings->problem().toStdString());
        }
        const std::string dictionaryPath =
            options.dictionary ? *options.dictionary : DefaultDictionaryPath(input, programFolder, *settings);
        const auto* words = dictionaries.Get(dictionaryPath, problem);
        if (words == nullptr) {
            Report(problem);
            refused = true;
        } else if (const Status read = TallyProgram(input, options.encoding, tallies); !read.ok()) {
            Report(read.message());
            failed = true;
        } else {
            KeepMissing(tallies, *words);
            list.Add(file, tallies);
        }
    }
    if (const Status written = WriteStandardOutput(FormatMissingWords(list.Sorted(), inputs));
        !written.ok()) {
        Report(written.message());
        failed = true;
    }
    return refused ? kDictionaryRefused : failed ? kFileError : kSuccess;
}

}  // namespace qm::cli
