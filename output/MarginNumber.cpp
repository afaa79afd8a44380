#include "MarginNumber.h"

#include <cmath>
#include <limits>

namespace qm {

double RoundHalfEven(double value) { return std::nearbyint(value); }  // the default mode rounds halves to even

std::int32_t ReadMarginNumber(const QString& text) {
    qsizetype pos = 0;
    while (pos < text.size() && text[pos].isSpace()) ++pos;
    QString number;
    if (pos < text.size() && (text[pos] == QLatin1Char('-') || text[pos] == QLatin1Char('+'))) number += text[pos++];
    bool seenPoint = false;
    for (; pos < text.size(); ++pos) {
        const QChar c = text[pos];
        if (c >= QLatin1Char('0') && c <= QLatin1Char('9')) {
            number += c;
        } else if (c == QLatin1Char('.') && !seenPoint) {
            seenPoint = true;
            number += c;
        } else {
            break;
        }
    }
    bool ok = false;
    const double value = number.toDouble(&ok);
    if (!ok) return 0;
    const double rounded = RoundHalfEven(value);
    if (rounded > std::numeric_limits<std::int32_t>::max()) return std::numeric_limits<std::int32_t>::max();
    if (rounded < std::numeric_limits<std::int32_t>::min()) return std::numeric_limits<std::int32_t>::min();
    return std::int32_t(rounded);
}

}  // namespace qm
