#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace qm::cli {

enum class EncodingChoice { Auto, ShiftJis, Utf8 };

struct Options {
    std::optional<std::string> dictionary;  // -d: one dictionary for every file
    bool spaceAdd = false;                   // -s: a blank before each inserted comment
    std::optional<std::string> output;       // -o: a file, or a folder for several inputs
    EncodingChoice encoding = EncodingChoice::Auto;        // how program files are read
    EncodingChoice outputEncoding = EncodingChoice::Auto;  // how results are written
    std::vector<std::string> files;          // "-" is standard input
    bool missing = false;                    // --missing: list the words the dictionary lacks
    // Following the program as its controller would (FollowCommands.h), one command at a time.
    bool toolpath = false;                   // --toolpath FILE: its moves as CSV
    bool summary = false;                    // --summary
    bool json = false;                       // --format json
    double rapidRate = 5000;                 // --rapid MM_PER_MIN
    bool check = false;                      // --check
    std::optional<std::uint32_t> stateLine;  // --state LINE FILE
    std::optional<std::string> dialect;      // --dialect rs274ngc|fanuc
    int FollowCommands() const { return toolpath + summary + check + stateLine.has_value(); }
    bool Follows() const { return FollowCommands() > 0; }
    bool help = false;
    bool version = false;
};

// Parses argv; on a usage error returns nothing and sets error.
std::optional<Options> ParseCommandLine(const std::vector<std::string>& args, std::string& error);

// The text --help prints; programFolder is where the default dictionaries live.
std::string UsageText(const std::string& programFolder);

}  // namespace qm::cli
