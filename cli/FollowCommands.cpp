#include "FollowCommands.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <string_view>
#include <tuple>

#include "ConvertFiles.h"
#include "FileAccess.h"
#include "FileType.h"
#include "FollowResult.h"
#include "Motion.h"
#include "ProgramEncoding.h"
#include "StateCommand.h"
#include "TextCodec.h"

namespace qm::cli {
namespace {

using interp::Dialect;

enum class Followed { Motion, DataOnly };

// The dialect of a file type: RS274NGC for the G-code types, nothing for the data files,
// Fanuc-style for every other type.
std::optional<Dialect> DialectOfType(const std::string& path) {
    const std::string key = path == "-" ? "" : FileTypeKey(path);
    if (key == "TOP" || key == "LDR" || key == "LPD")
        return std::nullopt;
    if (key.empty() || key == "NC" || key == "NGC" || key == "GCODE" || key == "TAP") {
        return Dialect::Rs274ngc;
    }
    return Dialect::Fanuc;
}

bool ReadProgramText(const std::string& path, EncodingChoice encoding, std::string& text) {
    std::string bytes;
    const Status status = path == "-" ? ReadStream(0, "standard input", bytes)
                                      : ReadWholeFile(path, bytes, Readable::FilesAndPipes);
    if (!status.ok()) {
        std::fprintf(stderr, "quillmark-convert: %s\n", status.message().c_str());
        return false;
    }
    text = DecodeText(bytes, ProgramEncoding(bytes, encoding));
    return true;
}

std::string Number(double value) {
    char text[48];
    std::snprintf(text, sizeof text, "%.4f", std::fabs(value) < 5e-5 ? 0.0 : value);
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

void WriteToolpath(const interp::FollowResult& result, std::FILE* out) {
    std::fputs("line,kind,x,y,z,a,b,c,plane,cx,cy,cz,turns,feed\n", out);
    std::string row;
    for (const interp::Move& move : result.Moves()) {
        row = std::to_string(move.line);
        row += move.kind == interp::MoveKind::Rapid  ? ",rapid"
               : move.kind == interp::MoveKind::Feed ? ",feed"
                                                     : ",arc";
        for (const double v : move.end)
            row += "," + Number(v);
        if (move.kind == interp::MoveKind::Arc) {
            row += std::string(",") + PlaneName(move.plane);
            for (const double v : move.centre)
                row += "," + Number(v);
            row += "," + std::to_string(move.turns);
        } else {
            row += ",,,,,";
        }
        row += move.kind == interp::MoveKind::Rapid ? "," : "," + Number(move.feed);
        row += '\n';
        std::fwrite(row.data(), 1, row.size(), out);
    }
}

// Extents, lengths and the estimated time of a followed program.
struct Summary {
    double low[3] = {INFINITY, INFINITY, INFINITY}, high[3] = {-INFINITY, -INFINITY, -INFINITY};
    double feedLength = 0, rapidLength = 0, minutes = 0;
    std::map<int, std::uint32_t> toolFirstLine;
};

Summary Summarize(const interp::FollowResult& result, double rapidRate) {
    Summary summary;
    interp::Axes from{};
    for (const interp::Move& move : result.Moves()) {
        double length = 0;
        if (move.kind == interp::MoveKind::Arc) {
            length = interp::ArcLength(from, move);
        } else {
            length =
                std::sqrt(std::pow(move.end[0] - from[0], 2) + std::pow(move.end[1] - from[1], 2) +
                          std::pow(move.end[2] - from[2], 2));
        }
        if (move.kind == interp::MoveKind::Rapid) {
            summary.rapidLength += length;
            summary.minutes += length / rapidRate;
        } else {
            summary.feedLength += length;
            if (move.feed > 0)
                summary.minutes += length / move.feed;
        }
        for (int a = 0; a < 3; ++a) {
            summary.low[a] = std::min(summary.low[a], move.end[std::size_t(a)]);
            summary.high[a] = std::max(summary.high[a], move.end[std::size_t(a)]);
        }
        from = move.end;
    }
    for (std::uint32_t line = 1; line <= result.LineCount(); ++line) {
        const int tool = result.StateAfter(line).toolInSpindle;
        if (tool != 0)
            summary.toolFirstLine.emplace(tool, line);
    }
    return summary;
}

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

void PrintSummary(const std::string& file, Dialect dialect, const interp::FollowResult& result,
                  const Summary& s, bool json) {
    const bool inches = result.LineCount() > 0 && result.StateAfter(result.LineCount()).inches;
    const char* axes = "XYZ";
    if (json) {
        std::printf("{\"file\":%s,\"dialect\":\"%s\",\"units\":\"%s\",\"lines\":%u,\"moves\":%zu,",
                    JsonString(file).c_str(), std::string(interp::DialectName(dialect)).c_str(),
                    inches ? "inch" : "mm", result.LineCount(), result.Moves().size());
        std::printf("\"extents\":{");
        for (int a = 0; a < 3; ++a) {
            std::printf("%s\"%c\":[%s,%s]", a ? "," : "", axes[a],
                        result.Moves().empty() ? "null" : Number(s.low[a]).c_str(),
                        result.Moves().empty() ? "null" : Number(s.high[a]).c_str());
        }
        std::printf("},\"feed_length\":%s,\"rapid_length\":%s,\"minutes\":%s,\"tools\":[",
                    Number(s.feedLength).c_str(), Number(s.rapidLength).c_str(),
                    Number(s.minutes).c_str());
        bool first = true;
        for (const auto& [tool, line] : s.toolFirstLine) {
            std::printf("%s{\"tool\":%d,\"first_line\":%u}", first ? "" : ",", tool, line);
            first = false;
        }
        std::printf("],\"problems\":%zu}\n", result.Problems().size());
        return;
    }
    std::printf("%s\n  dialect      %s\n  units        %s\n  lines        %u\n  moves        %zu\n",
                file.c_str(), std::string(interp::DialectName(dialect)).c_str(),
                inches ? "inch" : "mm", result.LineCount(), result.Moves().size());
    for (int a = 0; a < 3 && !result.Moves().empty(); ++a) {
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
        const interp::FollowResult result = interp::FollowProgram(text, *dialect, &subprograms);
        if (options.toolpath)
            WriteToolpath(result, stdout);
        if (options.summary)
            PrintSummary(file, *dialect, result, Summarize(result, options.rapidRate),
                         options.json);
        if (options.stateLine)
            status = std::max(status, PrintState(options, file, *dialect, result, programFolder));
        for (const interp::Problem& problem : InLineOrder(result.Problems())) {
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
