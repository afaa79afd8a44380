#include "FollowCommands.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <condition_variable>
#include <cstdio>
#include <cstring>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <string_view>
#include <thread>
#include <tuple>

#include "ConvertFiles.h"
#include "FileAccess.h"
#include "FileType.h"
#include "FollowResult.h"
#include "Follower.h"
#include "Motion.h"
#include "ProgramEncoding.h"
#include "StateCommand.h"
#include "ProgramDialect.h"
#include "SettingsStore.h"
#include "TextCodec.h"

namespace qm::cli {
namespace {

using interp::Dialect;

enum class Followed { Motion, DataOnly };

// The dialect a file type is followed in, as the desktop program keeps it; nothing for the
// data files.
std::optional<Dialect> DialectOfType(const std::string& path) {
    const std::string key = path == "-" ? "" : FileTypeKey(path);
    return interp::DialectNamed(DialectForType(SettingsStore(), key));
}

bool ReadProgramText(const std::string& path, EncodingChoice encoding, std::string& text) {
    std::string bytes;
    const Status status = path == "-" ? ReadStream(0, "standard input", bytes)
                                      : ReadWholeFile(path, bytes, Readable::FilesAndPipes);
    if (!status.ok()) {
        std::fprintf(stderr, "quillmark-convert: %s\n", status.message().c_str());
        return false;
    }
    const FileEncoding found = ProgramEncoding(bytes, encoding);
    text = DecodeOwnedText(std::move(bytes), found);  // a long program is not copied
    return true;
}

// Appends a value with four decimals, as "%.4f" writes it but without its cost: a million
// moves write thirteen million numbers.
void AppendNumber(std::string& text, double value) {
    if (!(std::fabs(value) < 9e14)) {
        char wide[64];
        std::snprintf(wide, sizeof wide, "%.4f", value);
        text += wide;
        return;
    }
    const double scaled = value * 10000.0;
    long long units = (long long)(scaled < 0 ? scaled - 0.5 : scaled + 0.5);
    char digits[32];
    char* end = digits + sizeof digits;
    char* at = end;
    const bool negative = units < 0;
    if (negative)
        units = -units;
    for (int place = 0; place < 5 || units > 0; ++place) {
        if (place == 4)
            *--at = '.';
        *--at = char('0' + units % 10);
        units /= 10;
    }
    if (negative)
        *--at = '-';
    text.append(at, std::size_t(end - at));
}

std::string Number(double value) {
    std::string text;
    AppendNumber(text, value);
    return text;
}

const char* PlaneName(interp::Plane plane) {
    switch (plane) {
        case interp::Plane::ZX:
            return "ZX";
        case interp::Plane::YZ:
            return "YZ";
        case interp::Plane::XY:
            break;
    }
    return "XY";
}

// Gathers the problems; the commands below build on it, taking what they need as following
// goes, so that no move is held.
class ProblemList : public interp::FollowListener {
  public:
    void OnMove(const interp::Move&) override {}
    void OnProblem(const interp::Problem& problem) override { problems.push_back(problem); }
    std::vector<interp::Problem> problems;
};

char* PutText(char* out, std::string_view text) {
    std::memcpy(out, text.data(), text.size());
    return out + text.size();
}

// Writes a value with four decimals at out, as "%.4f" writes it but without its cost: a
// million moves write thirteen million numbers. Returns the end.
char* PutNumber(char* out, double value) {
    if (value == 0.0)
        return PutText(out, "0.0000");  // the rotary axes of most programs
    if (!(std::fabs(value) < 9e14)) {   // beyond any machine: "%.4f", cut to the room it has
        const int length = std::snprintf(out, 64, "%.4f", value);
        return out + std::clamp(length, 0, 63);
    }
    const double scaled = value * 10000.0;
    long long units = (long long)(scaled < 0 ? scaled - 0.5 : scaled + 0.5);
    if (units < 0) {
        *out++ = '-';
        units = -units;
    }
    // The whole part by to_chars, the four decimals as two pairs of digits: one division
    // each instead of one a digit.
    static constexpr char kPairs[] =
        "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
        "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
        "8081828384858687888990919293949596979899";
    const auto whole = static_cast<unsigned long long>(units) / 10000;
    const auto decimals = static_cast<unsigned>(static_cast<unsigned long long>(units) % 10000);
    out = std::to_chars(out, out + 24, whole).ptr;
    *out++ = '.';
    std::memcpy(out, kPairs + 2 * (decimals / 100), 2);
    std::memcpy(out + 2, kPairs + 2 * (decimals % 100), 2);
    return out + 4;
}

// One CSV row of a move; room for kRowRoom characters at out. Returns the end.
constexpr std::size_t kRowRoom = 14 * 64;
char* PutRow(char* out, const interp::Move& move) {
    // Integers by to_chars too: printf's reading of its format costs more than the digits.
    out = std::to_chars(out, out + 16, move.line).ptr;
    out = PutText(out, move.kind == interp::MoveKind::Rapid  ? ",rapid"
                       : move.kind == interp::MoveKind::Feed ? ",feed"
                                                             : ",arc");
    for (const double v : move.end) {
        *out++ = ',';
        out = PutNumber(out, v);
    }
    if (move.kind == interp::MoveKind::Arc) {
        *out++ = ',';
        out = PutText(out, PlaneName(move.plane));
        for (const double v : move.centre) {
            *out++ = ',';
            out = PutNumber(out, v);
        }
        *out++ = ',';
        out = std::to_chars(out, out + 16, move.turns).ptr;
    } else {
        out = PutText(out, ",,,,,");
    }
    *out++ = ',';
    if (move.kind != interp::MoveKind::Rapid)
        out = PutNumber(out, move.feed);
    *out++ = '\n';
    return out;
}

// --toolpath: the moves as CSV rows, written by a second thread while following goes on
// (writing the numbers costs about as much as following), a few thousand moves at a time.
class ToolpathWriter : public ProblemList {
  public:
    explicit ToolpathWriter(std::FILE* out) : out_(out), writer_([this] { Write(); }) {
        std::fputs("line,kind,x,y,z,a,b,c,plane,cx,cy,cz,turns,feed\n", out_);
        batch_.reserve(kBatch);
    }
    ~ToolpathWriter() override {
        Hand();
        {
            std::lock_guard lock(mutex_);
            done_ = true;
        }
        changed_.notify_all();
        writer_.join();
    }

    void OnMove(const interp::Move& move) override {
        batch_.push_back(move);
        if (batch_.size() == kBatch)
            Hand();
    }

  private:
    static constexpr std::size_t kBatch = 8192, kQueued = 4;

    void Hand() {
        if (batch_.empty())
            return;
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [this] { return queue_.size() < kQueued; });
        queue_.push_back(std::move(batch_));
        lock.unlock();
        changed_.notify_all();
        batch_.clear();
        batch_.reserve(kBatch);
    }

    void Write() {
        std::string rows;
        for (;;) {
            std::vector<interp::Move> moves;
            {
                std::unique_lock lock(mutex_);
                changed_.wait(lock, [this] { return !queue_.empty() || done_; });
                if (queue_.empty())
                    return;
                moves = std::move(queue_.front());
                queue_.pop_front();
            }
            changed_.notify_all();
            rows.resize(moves.size() * kRowRoom);
            char* end = rows.data();
            for (const interp::Move& move : moves)
                end = PutRow(end, move);
            std::fwrite(rows.data(), 1, std::size_t(end - rows.data()), out_);
        }
    }

    std::FILE* out_;
    std::vector<interp::Move> batch_;
    std::deque<std::vector<interp::Move>> queue_;
    std::mutex mutex_;
    std::condition_variable changed_;
    bool done_ = false;
    std::thread writer_;  // last: it starts once everything it uses is there
};

// --summary: extents, lengths, the estimated time and the tools of a followed program.
class SummaryListener : public ProblemList {
  public:
    explicit SummaryListener(double rapidRate) : rapidRate_(rapidRate) {}

    void OnMove(const interp::Move& move) override {
        double length = 0;
        if (move.kind == interp::MoveKind::Arc) {
            length = interp::ArcLength(from_, move);
        } else {
            length = std::sqrt(std::pow(move.end[0] - from_[0], 2) +
                               std::pow(move.end[1] - from_[1], 2) +
                               std::pow(move.end[2] - from_[2], 2));
        }
        if (move.kind == interp::MoveKind::Rapid) {
            rapidLength += length;
            minutes += length / rapidRate_;
        } else {
            feedLength += length;
            if (move.feed > 0)
                minutes += length / move.feed;
        }
        for (std::size_t a = 0; a < 3; ++a) {
            low[a] = std::min(low[a], move.end[a]);
            high[a] = std::max(high[a], move.end[a]);
        }
        from_ = move.end;
        ++moves;
    }
    void OnDwell(std::uint32_t, double seconds) override { minutes += seconds / 60; }
    void OnLineDone(std::uint32_t line, const interp::ModalState& state,
                    const interp::Axes&) override {
        lines = std::max(lines, line);
        inches = state.inches;
        if (state.toolInSpindle != 0)
            toolFirstLine.try_emplace(state.toolInSpindle, line);  // no node made when known
    }

    double low[3] = {INFINITY, INFINITY, INFINITY}, high[3] = {-INFINITY, -INFINITY, -INFINITY};
    double feedLength = 0, rapidLength = 0, minutes = 0;
    std::map<int, std::uint32_t> toolFirstLine;
    std::uint32_t lines = 0;
    std::size_t moves = 0;
    bool inches = false;

  private:
    double rapidRate_;
    interp::Axes from_{};
};

std::string JsonString(const std::string& text) {
    std::string quoted = "\"";
    for (const char c : text) {
        if (c == '"' || c == '\\')
            quoted += '\\';
        if (static_cast<unsigned char>(c) < 0x20) {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\u%04x", c);
            quoted += escape;
        } else {
            quoted += c;
        }
    }
    return quoted + '"';
}

void PrintSummary(const std::string& file, Dialect dialect, const SummaryListener& s, bool json) {
    const bool inches = s.inches;
    const char* axes = "XYZ";
    if (json) {
        std::printf("{\"file\":%s,\"dialect\":\"%s\",\"units\":\"%s\",\"lines\":%u,\"moves\":%zu,",
                    JsonString(file).c_str(), std::string(interp::DialectName(dialect)).c_str(),
                    inches ? "inch" : "mm", s.lines, s.moves);
        std::printf("\"extents\":{");
        for (int a = 0; a < 3; ++a) {
            std::printf("%s\"%c\":[%s,%s]", a ? "," : "", axes[a],
                        s.moves == 0 ? "null" : Number(s.low[a]).c_str(),
                        s.moves == 0 ? "null" : Number(s.high[a]).c_str());
        }
        std::printf("},\"feed_length\":%s,\"rapid_length\":%s,\"minutes\":%s,\"tools\":[",
                    Number(s.feedLength).c_str(), Number(s.rapidLength).c_str(),
                    Number(s.minutes).c_str());
        bool first = true;
        for (const auto& [tool, line] : s.toolFirstLine) {
            std::printf("%s{\"tool\":%d,\"first_line\":%u}", first ? "" : ",", tool, line);
            first = false;
        }
        std::printf("],\"problems\":%zu}\n", s.problems.size());
        return;
    }
    std::printf("%s\n  dialect      %s\n  units        %s\n  lines        %u\n  moves        %zu\n",
                file.c_str(), std::string(interp::DialectName(dialect)).c_str(),
                inches ? "inch" : "mm", s.lines, s.moves);
    for (int a = 0; a < 3 && !s.moves == 0; ++a) {
        std::printf("  %c            %s to %s mm\n", axes[a], Number(s.low[a]).c_str(),
                    Number(s.high[a]).c_str());
    }
    std::printf("  feed length  %s mm\n  rapid length %s mm\n  time         %s min\n",
                Number(s.feedLength).c_str(), Number(s.rapidLength).c_str(),
                Number(s.minutes).c_str());
    for (const auto& [tool, line] : s.toolFirstLine)
        std::printf("  tool T%d     first on line %u\n", tool, line);
}

// Where a program's subprogram files are: beside it (standard input: the working folder).
std::string FolderOf(const std::string& file) {
    const std::size_t slash = file.rfind('/');
    return file == "-" || slash == std::string::npos ? "." : file.substr(0, slash + 1);
}

std::string ShownFile(const std::string& file, const interp::Problem& problem) {
    if (problem.source.empty())
        return file;
    const std::string folder = FolderOf(file);
    return folder == "." ? problem.source : folder + problem.source;
}

// The problems by file (the program's own first) and line, each once: a subprogram called
// a hundred times has its problems told once.
std::vector<interp::Problem> InLineOrder(std::vector<interp::Problem> problems) {
    const auto order = [](const interp::Problem& a, const interp::Problem& b) {
        return std::tie(a.source, a.line) < std::tie(b.source, b.line);
    };
    std::stable_sort(problems.begin(), problems.end(), order);
    std::vector<interp::Problem> once;
    for (interp::Problem& problem : problems) {
        bool seen = false;  // among those of the same line, which are the last ones kept
        for (auto p = once.rbegin();
             p != once.rend() && p->line == problem.line && p->source == problem.source && !seen;
             ++p) {
            seen = p->reason == problem.reason;
        }
        if (!seen)
            once.push_back(std::move(problem));
    }
    return once;
}

}  // namespace

int RunFollowCommand(const Options& options, const std::string& programFolder) {
    std::vector<std::string> files = options.files;
    if (files.empty())
        files.push_back("-");
    int status = kSuccess;
    for (const std::string& file : files) {
        std::string text;
        if (!ReadProgramText(file, options.encoding, text)) {
            status = kFileError;
            continue;
        }
        const std::optional<Dialect> dialect =
            options.dialect ? interp::DialectNamed(*options.dialect) : DialectOfType(file);
        if (!dialect)
            continue;  // a data file: nothing to follow
        interp::FolderSubprograms subprograms(FolderOf(file), [&](const std::string& bytes) {
            return DecodeText(bytes, ProgramEncoding(bytes, options.encoding));
        });
        std::vector<interp::Problem> problems;
        if (options.stateLine) {
            const interp::FollowResult result = interp::FollowProgram(text, *dialect, &subprograms);
            status = std::max(status, PrintState(options, file, *dialect, result, programFolder));
            problems = result.Problems();
        } else if (options.summary) {
            SummaryListener summary(options.rapidRate);
            interp::Follower(*dialect, summary, &subprograms).Follow(text);
            PrintSummary(file, *dialect, summary, options.json);
            problems = std::move(summary.problems);
        } else {
            auto listener = options.toolpath ? std::make_unique<ToolpathWriter>(stdout)
                                             : std::make_unique<ProblemList>();
            interp::Follower(*dialect, *listener, &subprograms).Follow(text);
            problems = std::move(listener->problems);
        }
        for (const interp::Problem& problem : InLineOrder(std::move(problems))) {
            if (options.check || problem.stopped) {
                std::fprintf(options.check ? stdout : stderr, "%s:%u: %s\n",
                             ShownFile(file, problem).c_str(), problem.line,
                             problem.reason.c_str());
                status = std::max(status, kProblemsFound);
            }
        }
    }
    if (std::fflush(stdout) != 0) {
        std::fputs("quillmark-convert: standard output could not be written\n", stderr);
        return kFileError;
    }
    return status;
}

}  // namespace qm::cli
