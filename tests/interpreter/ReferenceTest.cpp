// Every program in reference/ is followed and its moves compared with those LinuxCNC 2.9's
// rs274 makes of it (NAME.csv, written by `make reference-data`). Adding a case is adding a
// program and its CSV.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "FollowResult.h"
#include "SubprogramFiles.h"

namespace qm::test {
namespace {

namespace fs = std::filesystem;

const fs::path kReferenceFolder = QM_REFERENCE_DIR;

std::string ReadText(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::vector<std::string> Cells(const std::string& row) {
    std::vector<std::string> cells;
    std::stringstream in(row);
    std::string cell;
    while (std::getline(in, cell, ','))
        cells.push_back(cell);
    if (!row.empty() && row.back() == ',')
        cells.emplace_back();
    return cells;
}

const char* KindName(interp::MoveKind kind) {
    return kind == interp::MoveKind::Rapid  ? "rapid"
           : kind == interp::MoveKind::Feed ? "feed"
                                            : "arc";
}

const char* PlaneName(interp::Plane plane) {
    return plane == interp::Plane::ZX ? "ZX" : plane == interp::Plane::YZ ? "YZ" : "XY";
}

// rs274 prints four decimals in the program's units: inches cost up to 0.0013 mm.
constexpr double kTolerance = 0.002;

void ExpectSameMove(const std::vector<std::string>& want, const interp::Move& move) {
    ASSERT_EQ(want.size(), 14u);
    EXPECT_EQ(want[0], std::to_string(move.line));
    EXPECT_EQ(want[1], KindName(move.kind));
    for (std::size_t axis = 0; axis < interp::kAxisCount; ++axis)
        EXPECT_NEAR(std::stod(want[2 + axis]), move.end[axis], kTolerance) << "axis " << axis;
    if (move.kind == interp::MoveKind::Arc) {
        EXPECT_EQ(want[8], PlaneName(move.plane));
        const interp::PlaneAxes axes = interp::AxesOf(move.plane);
        for (const interp::Axis axis : {axes.first, axes.second})
            EXPECT_NEAR(std::stod(want[9 + axis]), move.centre[axis], kTolerance);
        EXPECT_EQ(std::stoi(want[12]), move.turns);
    }
    if (move.kind == interp::MoveKind::Rapid) {
        EXPECT_EQ(want[13], "");
    } else {
        const double feed = std::stod(want[13]);
        EXPECT_NEAR(feed, move.feed, 1e-4 * std::max(1.0, feed));
    }
}

class ReferenceTest : public ::testing::TestWithParam<std::string> {};

TEST_P(ReferenceTest, MovesAreThoseOfLinuxCnc) {
    const fs::path program = kReferenceFolder / (GetParam() + ".ngc");
    std::stringstream expected(ReadText(kReferenceFolder / (GetParam() + ".csv")));
    interp::FolderSubprograms files(kReferenceFolder, {});
    const interp::FollowResult result =
        interp::FollowProgram(ReadText(program), interp::Dialect::Rs274ngc, &files);
    for (const interp::Problem& problem : result.Problems())
        ADD_FAILURE() << problem.line << ": " << problem.reason;
    std::string row;
    std::getline(expected, row);
    ASSERT_EQ(row, "line,kind,x,y,z,a,b,c,plane,cx,cy,cz,turns,feed");
    std::size_t index = 0;
    while (std::getline(expected, row) && !row.empty()) {
        ASSERT_LT(index, result.Moves().size()) << "rs274 makes more moves: " << row;
        SCOPED_TRACE("move " + std::to_string(index + 1) + ": " + row);
        ExpectSameMove(Cells(row), result.Moves()[index++]);
    }
    EXPECT_EQ(index, result.Moves().size()) << "rs274 makes fewer moves";
}

std::vector<std::string> ReferencePrograms() {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(kReferenceFolder)) {
        if (entry.path().extension() == ".csv")
            names.push_back(entry.path().stem().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

INSTANTIATE_TEST_SUITE_P(Programs, ReferenceTest, ::testing::ValuesIn(ReferencePrograms()),
                         [](const auto& info) { return info.param; });

}  // namespace
}  // namespace qm::test
