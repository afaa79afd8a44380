#pragma once

#include <QString>

#include <cstdint>

namespace qm {

// The number a margin field starts with: leading blanks skipped, reading stops at the first
// character that cannot continue a number, no number gives 0, and a fraction rounds to the
// nearest whole number, halves to even. "12mm" -> 12, "12.5" -> 12, "13.5" -> 14, "abc" -> 0.
// Numbers beyond the 32-bit range are held at its ends.
std::int32_t ReadMarginNumber(const QString& text);

// Rounds to the nearest whole number, halves to the even one.
double RoundHalfEven(double value);

}  // namespace qm
