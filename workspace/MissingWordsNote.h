#pragma once

#include <QString>

#include <cstddef>

namespace qm {

// What the status bar says after a conversion: how many distinct code words of the program the
// dictionary lacks ("No missing words", "1 missing word", "12 missing words").
QString MissingWordsNote(std::size_t distinctWords);

}  // namespace qm
