#include "LineLimit.h"

#include <algorithm>
#include <cstring>

namespace qm {
namespace {

std::size_t LongestLine(std::string_view bytes) {
    std::size_t longest = 0;
    for (std::size_t start = 0; start < bytes.size();) {
        const void* found = std::memchr(bytes.data() + start, '\n', bytes.size() - start);
        const std::size_t end = found != nullptr
                                    ? std::size_t(static_cast<const char*>(found) - bytes.data())
                                    : bytes.size();
        longest = std::max(longest, end - start);
        start = end + 1;
    }
    return longest;
}

}  // namespace

QString LineTooLongForWindow(const QString& path, std::string_view bytes) {
    const std::size_t longest = LongestLine(bytes);
    if (longest <= kMaxWindowLineBytes)
        return QString();
    return QStringLiteral(
               "%1 Can not open file.\r\nA line of it is %2 bytes long; the window shows lines of "
               "up to %3 "
               "bytes. quillmark-convert converts it.")
        .arg(path)
        .arg(qulonglong(longest))
        .arg(qulonglong(kMaxWindowLineBytes));
}

}  // namespace qm
