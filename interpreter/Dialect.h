#pragma once

#include <optional>
#include <string_view>

namespace qm::interp {

// How a program's words are read: LinuxCNC's RS274NGC, or Fanuc-style with Custom Macro B.
enum class Dialect { Rs274ngc, Fanuc };

std::optional<Dialect> DialectNamed(std::string_view name);  // "rs274ngc" or "fanuc"
std::string_view DialectName(Dialect dialect);

}  // namespace qm::interp
