#pragma once

#include <QString>

#include <cstddef>
#include <string_view>

namespace qm {

// The longest line the editor windows lay out in reasonable time. The editor measures every
// character of a line it shows, and again after each change to it: a 50 MB line kept the window
// busy for minutes. The command-line converter has no such limit.
inline constexpr std::size_t kMaxWindowLineBytes = std::size_t(1) << 20;

// Why the program in bytes is not shown, naming path; empty when every line is short enough.
QString LineTooLongForWindow(const QString& path, std::string_view bytes);

}  // namespace qm
