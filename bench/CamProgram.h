#pragma once

#include <cstddef>
#include <string>

namespace qm::bench {

// A CAM-like RS274NGC program of about this many lines: pocket rows of plunges, straight
// cuts, arcs by centre and by radius and retracts, a drilled hole every tenth row, within a
// 400 x 200 mm table, ending in M2.
std::string MakeCamProgram(std::size_t lines);

}  // namespace qm::bench
