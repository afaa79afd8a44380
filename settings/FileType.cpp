#include "FileType.h"

#include <array>
#include <utility>

#include "ProperCase.h"
#include "Utf8.h"

namespace qm {
namespace {

constexpr std::array<std::pair<std::string_view, std::string_view>, 14> kDefaults = {{
    {"MIN", "Kestrel-ENG.dic"},
    {"SUB", "Kestrel-ENG.dic"},
    {"SSB", "Kestrel-ENG.dic"},
    {"SDF", "Kestrel-ENG.dic"},
    {"LIB", "Kestrel-ENG.dic"},
    {"TOP", "TOP-FILE-ENG.DIC"},
    {"LDR", "Harrier-ENG.dic"},
    {"LPD", "Loader parameter ENG.dic"},
    {"TXT", "Kestrel-ENG.dic"},
    {"NC", "Merlin.dic"},
    {"", "Merlin.dic"},
    {"NGC", "Merlin.dic"},
    {"GCODE", "Merlin.dic"},
    {"TAP", "Merlin.dic"},
}};

}  // namespace

std::string FileTypeKey(std::string_view path) {
    const std::size_t slash = path.rfind('/');
    const std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
    const std::size_t stop = name.find('.');
    if (stop == std::string_view::npos) return {};
    const std::string_view rest = name.substr(stop + 1);
    std::string key;
    key.reserve(rest.size());
    for (std::size_t pos = 0; pos < rest.size();) AppendUtf8(key, ToUpper(NextChar(rest, pos)));
    return key;
}

bool IsDictionaryType(std::string_view key) { return !DefaultDictionaryFor(key).empty(); }

std::string_view DefaultDictionaryFor(std::string_view key) {
    for (const auto& [type, file] : kDefaults) {
        if (type == key) return file;
    }
    return {};
}

}  // namespace qm
