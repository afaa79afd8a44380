#pragma once

#include <string>

#include "Dictionary.h"

namespace qm::bench {

// The converter's own goals: a lean executable and a small fixed cost.
struct ConverterGoalFigures {
    std::string windowLibraries;  // what ldd lists of the window system; empty when none
    bool lddRan = false;
    double oneLineSeconds = -1;   // one-line program, 10,001-word dictionary, end to end
    double baselineSeconds = -1;  // the plain C++ program on the same files
    double readOnceSeconds = -1;  // wc -l over the large program
};

// Lists the window-system libraries ldd shows for the converter.
void CheckLibraries(const std::string& converter, ConverterGoalFigures& f);

// Times the converter and the baseline program (quillmark-baseline) on a one-line program with
// the dictionary, each many times in turn, and prints the best of each.
void MeasureOneLine(const std::string& converter, const std::string& baseline,
                    const DictionaryTable& table, ConverterGoalFigures& f);

// Times `wc -l` over the file, the best of five: reading the file once.
void MeasureReadOnce(const std::string& file, ConverterGoalFigures& f);

}  // namespace qm::bench
