#include "MissingWordsNote.h"

namespace qm {

QString MissingWordsNote(std::size_t distinctWords) {
    if (distinctWords == 0)
        return QStringLiteral("No missing words");
    if (distinctWords == 1)
        return QStringLiteral("1 missing word");
    return QStringLiteral("%1 missing words").arg(distinctWords);
}

}  // namespace qm
