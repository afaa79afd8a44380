#pragma once

#include <QString>

namespace qm {

// The program's three version numbers, shown by the About box.
inline constexpr int kVersionMajor = 2;
inline constexpr int kVersionMinor = 3;
inline constexpr int kVersionRevision = 8;

// "Ver. " followed by major, minor and revision in decimal, joined by full stops: "Ver. 2.3.8".
inline QString VersionText(int major, int minor, int revision) {
    return QStringLiteral("Ver. %1.%2.%3").arg(major).arg(minor).arg(revision);
}

}  // namespace qm
