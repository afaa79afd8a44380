#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QImage>
#include <QSignalSpy>
#include <QTest>

#include <cmath>
#include <functional>

#include "PathColours.h"
#include "PathSurface.h"
#include "ToolpathView.h"

namespace qm {
namespace {

using interp::Move;
using interp::MoveKind;

Move FeedTo(double x, double y, std::uint32_t line) {
    Move move;
    move.end = {x, y, 0, 0, 0, 0};
    move.kind = MoveKind::Feed;
    move.line = line;
    return move;
}

// Whether a pixel within one of a point of the picture has this colour.
bool ColourNear(const QImage& picture, QPointF at, const QColor& colour) {
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx)
            if (picture.pixelColor(int(at.x()) + dx, int(at.y()) + dy).rgb() == colour.rgb())
                return true;
    return false;
}

class ToolpathViewTest : public ::testing::Test {
  protected:
    void SetUp() override {
        view.resize(400, 300);
        view.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
        view.SetPath(moves, {0, 0, 0});
        view.ShowStandardView(ToolpathView::StandardView::Top);
        view.Picture();  // drawn once
    }
    // Along X, then up Y: lines 1, 2, 3.
    std::vector<Move> moves = {FeedTo(100, 0, 1), FeedTo(100, 60, 2), FeedTo(0, 60, 3)};
    ToolpathView view;
};

TEST_F(ToolpathViewTest, AClickPicksTheLineUnderItWhateverChangedSinceTheLastClick) {
    struct Pick {
        const char* name;
        std::function<void()> change;
        std::array<double, 3> at;  // mm, on the path
        std::uint32_t line;
    };
    const Pick picks[] = {
        {"as fitted", [] {}, {50, 0, 0}, 1},
        {"again, nothing changed", [] {}, {100, 30, 0}, 2},
        {"panned",
         [&] {
             view.Pan({40, 25});
         },
         {50, 0, 0},
         1},
        {"zoomed", [&] { view.Zoom(1.2); }, {50, 60, 0}, 3},
        {"orbited", [&] { view.Orbit(0, -20); }, {100, 30, 0}, 2},
        {"resized",
         [&] {
             view.resize(300, 260);
             view.FitToExtents();
         },
         {50, 0, 0},
         1},
        {"the path edited",
         [&] {
             std::vector<Move> edited = moves;
             edited[1].line = 9;
             view.UpdatePath(edited, {0, 0, 0}, {}, {1, 1, 1});
         },
         {100, 30, 0},
         9},
    };
    for (const Pick& pick : picks) {
        SCOPED_TRACE(pick.name);
        view.ShowStandardView(
            ToolpathView::StandardView::Top);  // the camera as fitted, the ID buffer as it was
        pick.change();
        view.Picture();
        EXPECT_EQ(view.LineAt(view.Project(pick.at).toPoint()), pick.line);
    }
    EXPECT_EQ(view.LineAt({2, 2}), 0u) << "nothing is drawn in the corner";
}

TEST_F(ToolpathViewTest, MovingTheHighlightRedrawsItOverTheSamePath) {
    const QColor highlight = ColoursFor(view.palette()).highlight;
    const QPointF first = view.Project({50, 0, 0}), second = view.Project({100, 30, 0});
    view.Highlight(0, 1, std::nullopt);
    QImage picture = view.Picture();
    EXPECT_TRUE(ColourNear(picture, first, highlight));
    EXPECT_FALSE(ColourNear(picture, second, highlight));
    view.Highlight(1, 2, std::nullopt);
    picture = view.Picture();
    EXPECT_FALSE(ColourNear(picture, first, highlight)) << "the old highlight is gone";
    EXPECT_TRUE(ColourNear(picture, second, highlight));
    EXPECT_TRUE(ColourNear(picture, first, ColoursFor(view.palette()).feed))
        << "and the path under it is back";
}

// The path is drawn in a native window of its own; what the X server gives that window is the
// view's as if it had come to the view.
TEST_F(ToolpathViewTest, TheMouseAndKeysAtThePathsWindowWorkTheView) {
    PathSurface* surface = nullptr;
    for (QWindow* window : QGuiApplication::allWindows())
        if (auto* found = qobject_cast<PathSurface*>(window))
            surface = found;
    ASSERT_NE(surface, nullptr);
    QSignalSpy clicked(&view, &ToolpathView::lineClicked);
    QTest::mouseClick(surface, Qt::LeftButton, {}, view.Project({100, 30, 0}).toPoint());
    ASSERT_EQ(clicked.count(), 1);
    EXPECT_EQ(clicked.at(0).at(0).value<std::uint32_t>(), 2u);
    const double scale = view.PixelsPerMm();
    QTest::keyClick(surface, Qt::Key_Plus);
    EXPECT_GT(view.PixelsPerMm(), scale);
    view.setContextMenuPolicy(Qt::CustomContextMenu);
    QSignalSpy menu(&view, &QWidget::customContextMenuRequested);
    QTest::mousePress(surface, Qt::RightButton, {}, QPoint(20, 30));
    ASSERT_EQ(menu.count(), 1);
    EXPECT_EQ(menu.at(0).at(0).toPoint(), QPoint(20, 30));
}

TEST_F(ToolpathViewTest, AnEditIsDrawnZoomedOutAtOnceWithoutTheMovesItRemoved) {
    // Out and back once, then back and forth along X so often that the view, fitted, draws
    // its overview.
    std::vector<Move> path = {FeedTo(20, 50, 1), FeedTo(0, 0, 2)};
    for (std::uint32_t i = 0; path.size() < 30'000; ++i)
        path.push_back(FeedTo(i % 2 == 0 ? 100 : 0, 0, 3 + i));
    path.push_back(FeedTo(100, 60, 30'001));
    view.SetPath(path, {0, 0, 0});
    view.ShowStandardView(ToolpathView::StandardView::Top);
    view.Picture();
    // Out and back elsewhere: the path no longer goes where it went before.
    path[0] = FeedTo(60, 50, 1);
    view.UpdatePath(path, {0, 0, 0}, {}, {0, 2, 2});
    const QImage picture = view.Picture();
    const PathColours colours = ColoursFor(view.palette());
    EXPECT_TRUE(ColourNear(picture, view.Project({30, 25, 0}), colours.feed));
    EXPECT_FALSE(ColourNear(picture, view.Project({10, 25, 0}), colours.feed))
        << "the move removed is still drawn";
}

TEST_F(ToolpathViewTest, ArcsDrawnFinerWhenZoomedInKeepTheirLinesAfterAnEdit) {
    Move arc = FeedTo(-10, 0, 2);  // half a circle round the origin, through (0, 10)
    arc.kind = MoveKind::Arc;
    arc.turns = 1;
    std::vector<Move> path = {FeedTo(10, 0, 1), arc, FeedTo(-10, -20, 3)};
    view.SetPath(path, {0, 0, 0});
    view.ShowStandardView(ToolpathView::StandardView::Top);
    view.Picture();
    // A line that stands still inserted before them: every move is a line further down.
    path.insert(path.begin(), FeedTo(0, 0, 1));
    for (std::size_t i = 1; i < path.size(); ++i)
        path[i].line = std::uint32_t(i + 1);
    view.UpdatePath(path, {0, 0, 0}, {}, {0, 0, 1});
    // So close that the arc's chords are made finer than those of the whole path.
    view.Zoom(40, view.Project({0, 10, 0}));
    view.Picture();
    for (const double x : {-0.05, 0.0, 0.05})
        EXPECT_EQ(view.LineAt(view.Project({x, std::sqrt(100 - x * x), 0}).toPoint()), 3u) << x;
}

}  // namespace
}  // namespace qm
