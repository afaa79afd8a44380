#include "CommandLine.h"

#include <cstdlib>
#include <string_view>

namespace qm::cli {
namespace {

// Matches "-x VALUE", "--long VALUE" and "--long=VALUE"; advances i past what it used.
bool TakeValue(const std::vector<std::string>& args, std::size_t& i, std::string_view shortName,
               std::string_view longName, std::optional<std::string>& value, std::string& error) {
    const std::string& arg = args[i];
    const std::string withEquals = std::string(longName) + "=";
    if (arg.starts_with(withEquals)) {
        value = arg.substr(withEquals.size());
        return true;
    }
    if (arg != shortName && arg != longName) return false;
    if (i + 1 >= args.size()) {
        error = "option " + arg + " needs a value";
        return true;
    }
    value = args[++i];
    return true;
}

bool ParseEncoding(const std::string& name, EncodingChoice& choice) {
    if (name == "auto") {
        choice = EncodingChoice::Auto;
    } else if (name == "shift_jis" || name == "shift-jis" || name == "sjis" || name == "cp932") {
        choice = EncodingChoice::ShiftJis;
    } else if (name == "utf-8" || name == "utf8") {
        choice = EncodingChoice::Utf8;
    } else {
        return false;
    }
    return true;
}

// The options of following a program: --toolpath, --summary, --format, --rapid, --check,
// --dialect.
bool TakeFollowOption(const std::vector<std::string>& args, std::size_t& i, Options& options,
                      std::string& error) {
    std::optional<std::string> value;
    if (args[i] == "--summary") {
        options.summary = true;
    } else if (args[i] == "--check") {
        options.check = true;
    } else if (args[i] == "--toolpath") {
        options.toolpath = true;
    } else if (TakeValue(args, i, "", "--state", value, error)) {
        char* end = nullptr;
        const unsigned long line = error.empty() ? std::strtoul(value->c_str(), &end, 10) : 0;
        if (error.empty() && (end == value->c_str() || *end != '\0' || line == 0 ||
                              line > 0xffffffffUL || value->front() == '-')) {
            error = "--state needs a line number from 1";
        }
        options.stateLine = std::uint32_t(line);
    } else if (TakeValue(args, i, "", "--dialect", options.dialect, error)) {
        if (error.empty() && *options.dialect != "rs274ngc" && *options.dialect != "fanuc") {
            error = "unknown dialect '" + *options.dialect + "' (use rs274ngc or fanuc)";
        }
    } else if (TakeValue(args, i, "", "--format", value, error)) {
        if (error.empty() && *value != "json" && *value != "table") {
            error = "unknown format '" + *value + "' (use table or json)";
        }
        options.json = error.empty() && *value == "json";
    } else if (TakeValue(args, i, "", "--rapid", value, error)) {
        char* end = nullptr;
        if (error.empty())
            options.rapidRate = std::strtod(value->c_str(), &end);
        if (error.empty() && (end == value->c_str() || *end != '\0' || !(options.rapidRate > 0))) {
            error = "--rapid needs a rate in mm/min above zero";
        }
    } else {
        return false;
    }
    return true;
}

}  // namespace

std::optional<Options> ParseCommandLine(const std::vector<std::string>& args, std::string& error) {
    Options options;
    bool onlyFiles = false;
    for (std::size_t i = 0; i < args.size() && error.empty(); ++i) {
        const std::string& arg = args[i];
        std::optional<std::string> encoding, outputEncoding;
        if (onlyFiles || arg == "-" || !arg.starts_with("-")) {
            options.files.push_back(arg);
        } else if (arg == "--") {
            onlyFiles = true;
        } else if (arg == "-h" || arg == "--help") {
            options.help = true;
        } else if (arg == "-V" || arg == "--version") {
            options.version = true;
        } else if (arg == "-s" || arg == "--space") {
            options.spaceAdd = true;
        } else if (arg == "--missing") {
            options.missing = true;
        } else if (TakeValue(args, i, "-d", "--dictionary", options.dictionary, error) ||
                   TakeValue(args, i, "-o", "--output", options.output, error)) {
        } else if (TakeFollowOption(args, i, options, error)) {
        } else if (TakeValue(args, i, "", "--encoding", encoding, error)) {
            if (error.empty() && !ParseEncoding(*encoding, options.encoding)) {
                error = "unknown encoding '" + *encoding + "' (use auto, shift_jis or utf-8)";
            }
        } else if (TakeValue(args, i, "", "--output-encoding", outputEncoding, error)) {
            if (error.empty() && !ParseEncoding(*outputEncoding, options.outputEncoding)) {
                error = "unknown output encoding '" + *outputEncoding + "' (use auto, utf-8 or shift_jis)";
            }
        } else {
            error = "unknown option " + arg;
        }
    }
    if (error.empty() && options.missing && options.output) {
        error = "--missing prints to standard output: -o does not go with it";
    }
    if (error.empty() && options.Follows() && (options.missing || options.output)) {
        error = "--toolpath, --summary, --check and --state go neither with --missing nor with -o";
    }
    if (error.empty() && options.FollowCommands() > 1)
        error = "only one of --toolpath, --summary, --check and --state at a time";
    if (error.empty() && (options.toolpath || options.stateLine) && options.files.size() > 1)
        error = std::string(options.toolpath ? "--toolpath" : "--state") + " follows one FILE";
    if (error.empty() && options.files.size() > 1) {
        for (const std::string& file : options.files) {
            if (file == "-") error = "standard input (-) can only be converted on its own";
        }
    }
    if (!error.empty()) return std::nullopt;
    return options;
}

std::string UsageText(const std::string& programFolder) {
    return "Usage: quillmark-convert [-d DICTIONARY] [-s|--space] [-o OUTPUT]\n"
           "                         [--encoding auto|shift_jis|utf-8]\n"
           "                         [--output-encoding auto|utf-8|shift_jis] [FILE ...]\n"
           "       quillmark-convert --missing [-d DICTIONARY] [--encoding ENC] [FILE ...]\n"
           "Replaces every dictionary word in each line of NC program FILEs by its comment.\n"
           "\n"
           "  -d, --dictionary FILE  use this dictionary for every FILE\n"
           "  -s, --space            put a blank before every inserted comment\n"
           "  -o, --output PATH      write the result to PATH; with several FILEs, PATH is an\n"
           "                         existing folder that receives NAME.txt for each FILE NAME\n"
           "      --encoding ENC     encoding of the program files: auto (the default: UTF-8\n"
           "                         when the file is UTF-8, otherwise Shift-JIS), shift_jis or\n"
           "                         utf-8\n"
           "      --output-encoding ENC\n"
           "                         encoding of the results: auto (the default: the program\n"
           "                         file's own, UTF-8 for a plain-ASCII program), utf-8 or\n"
           "                         shift_jis\n"
           "      --missing          convert nothing: list the code words (G and M codes such\n"
           "                         as G01 or G43.4, #-variables such as #5221; comments are\n"
           "                         left out) that no dictionary word equals exactly, one a\n"
           "                         line: WORD<TAB>COUNT<TAB>FILE:LINE, where COUNT is over all\n"
           "                         FILEs and FILE:LINE is the first occurrence; most frequent\n"
           "                         first, then by word. Nothing is printed when none is missing.\n"
           "      --toolpath FILE    follow the program FILE as its controller would and print\n"
           "                         its moves as CSV, one a line:\n"
           "                         line,kind,x,y,z,a,b,c,plane,cx,cy,cz,turns,feed\n"
           "      --summary          print each program's dialect, units, lines, moves, extents,\n"
           "                         feed and rapid lengths, estimated time and tools\n"
           "      --format table|json  how --summary prints (table by default)\n"
           "      --rapid MM_PER_MIN the rapid rate the time estimate assumes (default 5000)\n"
           "      --check            print every problem found as FILE:LINE: message\n"
           "      --state LINE FILE  print the state in effect after LINE of FILE, one group a\n"
           "                         line, each with the dictionary's comment for its word, a\n"
           "                         * before what LINE changed, the position after it and its\n"
           "                         problems\n"
           "      --dialect rs274ngc|fanuc  read every FILE so, whatever its type (as the\n"
           "                         application reads the type: at first NC NGC GCODE TAP\n"
           "                         and no extension are rs274ngc; TOP LDR LPD are not\n"
           "                         followed; any other type is fanuc)\n"
           "  -h, --help             show this help and exit\n"
           "  -V, --version          show the version and exit\n"
           "\n"
           "With no FILE, or when FILE is -, reads standard input and writes standard output.\n"
           "One FILE without -o is written to standard output.\n"
           "\n"
           "Without -d the dictionary follows the file name's extension (everything after\n"
           "the first full stop of the name; folders do not count), as in the desktop\n"
           "application: the one chosen there for the type, else the type's default in\n"
           "  " + programFolder + ":\n"
           "  MIN SUB SSB SDF LIB TXT  Kestrel-ENG.dic      TOP  TOP-FILE-ENG.DIC\n"
           "  LDR                      Harrier-ENG.dic      LPD  Loader parameter ENG.dic\n"
           "  NC NGC GCODE TAP, no extension, stdin  Merlin.dic\n"
           "Any other type uses the application's current dictionary (first Kestrel.dic).\n"
           "\n"
           "Exit status: 0 success, 1 usage error, 2 a dictionary was refused,\n"
           "3 a file could not be read or written, or its conversion ran out of memory,\n"
           "4 --check found a problem, or a program could not be followed to its end.\n";
}

}  // namespace qm::cli
