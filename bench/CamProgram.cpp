#include "CamProgram.h"

#include <algorithm>
#include <cstdio>

namespace qm::bench {
namespace {

// One pocket row of a CAM program: a plunge, straight cuts, arcs by centre and by radius, a
// retract; every tenth row a drilled hole. Coordinates stay within a 400 x 200 mm table.
void AppendRow(std::string& text, std::size_t row) {
    const double x = double(row % 100) * 4, y = double(row / 100 % 100) * 2;
    char block[400];
    if (row % 10 == 9) {
        std::snprintf(block, sizeof block,
                      "G0 X%.3f Y%.3f Z5\nG98 G81 X%.3f Y%.3f Z-2 R1 F300\nG80\n", x, y, x + 1,
                      y + 1);
    } else {
        std::snprintf(block, sizeof block,
                      "G0 X%.3f Y%.3f Z1\nG1 Z-1 F400\nG1 X%.3f Y%.3f F1200\n"
                      "G2 X%.3f Y%.3f I0.5 J0\nG3 X%.3f Y%.3f R0.5\nG1 X%.3f Y%.3f\n"
                      "G1 X%.3f Y%.3f\nG0 Z5\n",
                      x, y, x + 1, y, x + 2, y, x + 3, y, x + 3, y + 1, x, y + 1);
    }
    text += block;
}

}  // namespace

std::string MakeCamProgram(std::size_t lines) {
    std::string text = "(generated CAM-like program)\nG21 G17 G90 G94\nG0 X0 Y0 Z5\n";
    std::size_t count = 3;
    for (std::size_t row = 0; count + 9 < lines; ++row) {
        const std::size_t before = text.size();
        AppendRow(text, row);
        count += std::size_t(std::count(text.begin() + long(before), text.end(), '\n'));
    }
    for (; count + 1 < lines; ++count)
        text += "G1 X0 Y0\n";
    text += "M2\n";
    return text;
}

}  // namespace qm::bench
