#include "SubprogramFiles.h"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace qm::interp {
namespace {

std::string Lower(std::string text) {
    for (char& c : text)
        c = char(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

std::string Upper(std::string text) {
    for (char& c : text)
        c = char(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

// A name that stays inside the folder: no separators, not "." or "..".
bool PlainName(const std::string& name) {
    return !name.empty() && name.find('/') == std::string::npos && name != "." && name != "..";
}

}  // namespace

std::optional<std::filesystem::path> FolderSubprograms::Locate(Dialect dialect,
                                                               const std::string& label) const {
    std::error_code error;
    if (dialect == Dialect::Rs274ngc) {
        // "<name>": LinuxCNC looks for the name in lower case with .ngc.
        const std::string name = Lower(label.substr(1, label.size() >= 2 ? label.size() - 2 : 0));
        if (!PlainName(name))
            return std::nullopt;
        const std::filesystem::path path = folder_ / (name + ".ngc");
        return std::filesystem::exists(path, error) ? std::optional(path) : std::nullopt;
    }
    // O<number> or O<number>.<type>, the number with or without leading zeros to four digits.
    std::string number = label;
    while (number.size() < 4)
        number = "0" + number;
    std::optional<std::filesystem::path> found;
    for (const auto& entry : std::filesystem::directory_iterator(folder_, error)) {
        const std::string name = Upper(entry.path().filename().string());
        const std::string stem = name.substr(0, name.find('.'));
        if (stem == "O" + number || stem == "O" + label) {
            if (!found || entry.path() < *found)
                found = entry.path();
        }
    }
    return found;
}

std::optional<SubprogramText> FolderSubprograms::Find(Dialect dialect, const std::string& label) {
    const std::optional<std::filesystem::path> path = Locate(dialect, label);
    if (!path)
        return std::nullopt;
    const std::string shown = path->filename().string();
    std::error_code error;
    if (!std::filesystem::is_regular_file(*path, error))
        throw std::runtime_error(shown + " is not a regular file");
    if (std::filesystem::file_size(*path, error) > maxBytes_)
        throw std::runtime_error(shown + " is too large to be read");
    std::ifstream in(*path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    if (!in && !in.eof())
        throw std::runtime_error(shown + " could not be read");
    return SubprogramText{shown, decode_ ? decode_(bytes.str()) : bytes.str()};
}

}  // namespace qm::interp
