#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>

#include "Dialect.h"

namespace qm::interp {

// The text of a subprogram file, and the name it goes by in problems.
struct SubprogramText {
    std::string name;
    std::string text;
};

// Where subprograms that are not in the program's own text come from: RS274NGC's
// "o<name> call" reads <name>.ngc, Macro B's M98/G65 P<number> reads O<number> or O<number>.*.
class SubprogramFiles {
  public:
    virtual ~SubprogramFiles() = default;
    // label is "<name>" (RS274NGC) or a program number (Macro B); nothing when there is no such
    // file. Throws std::runtime_error with a plain reason when there is one that cannot be read.
    virtual std::optional<SubprogramText> Find(Dialect dialect, const std::string& label) = 0;
};

// Subprogram files of one folder, read by the same rules as program files: regular files only,
// at most maxBytes, decoded by decode (bytes to UTF-8 text).
class FolderSubprograms : public SubprogramFiles {
  public:
    using Decode = std::function<std::string(const std::string& bytes)>;
    FolderSubprograms(std::filesystem::path folder, Decode decode,
                      std::uintmax_t maxBytes = std::uintmax_t(1) << 30)
        : folder_(std::move(folder)), decode_(std::move(decode)), maxBytes_(maxBytes) {}

    std::optional<SubprogramText> Find(Dialect dialect, const std::string& label) override;

  private:
    std::optional<std::filesystem::path> Locate(Dialect dialect, const std::string& label) const;

    std::filesystem::path folder_;
    Decode decode_;
    std::uintmax_t maxBytes_;
};

}  // namespace qm::interp
