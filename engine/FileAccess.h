#pragma once

#include <string>
#include <string_view>

#include "Status.h"

namespace qm {

// Reads the whole file. A failure names the path and the reason.
Status ReadWholeFile(const std::string& path, std::string& bytes);

// Reads the file up to and including its first LF, at most maxBytes. Fails when the file cannot
// be opened or is empty.
Status ReadFirstLine(const std::string& path, std::size_t maxBytes, std::string& line);

// Replaces the file's contents safely: the bytes go to a temporary file in the same folder,
// which then takes the file's place, keeping the file's permissions. A failure leaves any
// existing file as it was and names the path and the reason. A symbolic link is followed, so the
// file it points to is replaced and the link stays.
Status WriteFileSafely(const std::string& path, std::string_view bytes);

}  // namespace qm
