#include "toolkit/WindowGeometry.h"

#include <gtest/gtest.h>

#include <ostream>

namespace {
const Rect kScreen{0, 0, 1024, 768};

}  // namespace

static bool operator==(Point a, Point b) { return a.x == b.x && a.y == b.y; }
static std::ostream& operator<<(std::ostream& out, Point p) { return out << '(' << p.x << ", " << p.y << ')'; }

TEST(WindowGeometry, KeepOnScreenPullsTheBarBackIn) {
  EXPECT_EQ((Point{0, 749}), KeptOnScreen({-200, 5000}, 342, 19, kScreen));
  EXPECT_EQ((Point{682, 0}), KeptOnScreen({900, -3}, 342, 19, kScreen));
  EXPECT_EQ((Point{10, 20}), KeptOnScreen({10, 20}, 342, 19, kScreen)) << "inside stays";
  EXPECT_EQ((Point{682, 749}), KeptOnScreen({682, 749}, 342, 19, kScreen)) << "touching the corner stays";
}

TEST(WindowGeometry, KeepOnScreenKeepsTheLeftAndTopEdgeOfHugeWindows) {
  EXPECT_EQ((Point{300, 10}), KeptOnScreen({300, 10}, 2000, 100, kScreen));
  EXPECT_EQ((Point{0, 10}), KeptOnScreen({-50, 10}, 2000, 100, kScreen));
  EXPECT_EQ((Point{10, 0}), KeptOnScreen({10, -40}, 100, 1000, kScreen));
  EXPECT_EQ((Point{10, 300}), KeptOnScreen({10, 300}, 100, 1000, kScreen));
  // Exactly the screen's size fits only at the screen's corner.
  EXPECT_EQ((Point{0, 0}), KeptOnScreen({100, 50}, 1024, 768, kScreen));
}

TEST(WindowGeometry, KeepOnScreenUsesTheWholeVirtualScreen) {
  // A second monitor left of the primary one.
  const Rect virtualScreen{-1280, -200, 1920, 1080};
  EXPECT_EQ((Point{-1000, -100}), KeptOnScreen({-1000, -100}, 342, 19, virtualScreen));
  EXPECT_EQ((Point{-1280, -200}), KeptOnScreen({-5000, -5000}, 342, 19, virtualScreen));
  EXPECT_EQ((Point{1578, 1061}), KeptOnScreen({5000, 5000}, 342, 19, virtualScreen));
}

TEST(WindowGeometry, CenteredPositionCentresAndClamps) {
  const Rect workArea{0, 0, 1024, 738};
  EXPECT_EQ((Point{412, 269}), CenteredPosition(workArea, 200, 200, kScreen));
  // Odd differences round toward the reference's left and top.
  EXPECT_EQ((Point{340, 359}), CenteredPosition(workArea, 343, 20, kScreen));
  // Larger than the reference: aligned to its edges.
  const Rect owner{100, 100, 300, 200};
  EXPECT_EQ((Point{100, 100}), CenteredPosition(owner, 400, 300, kScreen));
  // Centred on a window near the screen's corner, then pulled in.
  const Rect corner{900, 700, 1024, 768};
  EXPECT_EQ((Point{724, 468}), CenteredPosition(corner, 300, 300, kScreen));
  // Larger than the screen: its left and top edge stay visible.
  EXPECT_EQ((Point{0, 0}), CenteredPosition(workArea, 2000, 1000, kScreen));
}

TEST(WindowGeometry, EnforceMinimumSizeMovesTheDraggedSides) {
  Rect r{100, 100, 200, 150};
  EnforceMinimumSize(kEdgeTopLeft, r, 200, 80);
  EXPECT_EQ(0, r.left);
  EXPECT_EQ(70, r.top);
  EXPECT_EQ(200, r.right);
  EXPECT_EQ(150, r.bottom);

  r = {100, 100, 200, 150};
  EnforceMinimumSize(kEdgeBottomRight, r, 200, 80);
  EXPECT_EQ(100, r.left);
  EXPECT_EQ(100, r.top);
  EXPECT_EQ(300, r.right);
  EXPECT_EQ(180, r.bottom);

  const struct {
    int edge;
    bool leftMoves, topMoves;
  } cases[] = {{kEdgeLeft, true, false},       {kEdgeRight, false, false},     {kEdgeTop, false, true},
               {kEdgeTopRight, false, true},   {kEdgeBottom, false, false},    {kEdgeBottomLeft, true, false},
               {0, false, false}};
  for (const auto& c : cases) {
    r = {100, 100, 200, 150};
    EnforceMinimumSize(c.edge, r, 200, 80);
    EXPECT_EQ(c.leftMoves ? 0 : 100, r.left) << "edge " << c.edge;
    EXPECT_EQ(c.leftMoves ? 200 : 300, r.right) << "edge " << c.edge;
    EXPECT_EQ(c.topMoves ? 70 : 100, r.top) << "edge " << c.edge;
    EXPECT_EQ(c.topMoves ? 150 : 180, r.bottom) << "edge " << c.edge;
  }

  r = {10, 10, 500, 400};
  EnforceMinimumSize(kEdgeTopLeft, r, 200, 80);
  EXPECT_EQ(10, r.left);
  EXPECT_EQ(10, r.top);
  EXPECT_EQ(500, r.right);
  EXPECT_EQ(400, r.bottom) << "large enough is left alone";
}
