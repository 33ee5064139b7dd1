// Rectangle arithmetic of the window operations (centring, keeping a window
// on the screen, minimum sizes), kept apart from the window calls so that it
// is plain code over numbers.
#pragma once

#include <cstdint>

struct Rect {
  std::int32_t left, top, right, bottom;
  std::int32_t Width() const { return right - left; }
  std::int32_t Height() const { return bottom - top; }
};

struct Point {
  std::int32_t x, y;
};

// Top-left corner for a window of width x height centred on reference, then
// moved into screen; a window at least as large as the reference is aligned
// to the reference's left or top edge.
Point CenteredPosition(const Rect& reference, std::int32_t width, std::int32_t height, const Rect& screen);

// Position moved into screen for a window of width x height. A window larger
// than the screen keeps its left or top edge visible.
Point KeptOnScreen(Point position, std::int32_t width, std::int32_t height, const Rect& screen);

// Edge codes of a sizing drag (WM_SIZING).
enum SizingEdge : int {
  kEdgeLeft = 1,
  kEdgeRight = 2,
  kEdgeTop = 3,
  kEdgeTopLeft = 4,
  kEdgeTopRight = 5,
  kEdgeBottom = 6,
  kEdgeBottomLeft = 7,
  kEdgeBottomRight = 8,
};

// Grows rect to the minimum size on the side that is being dragged.
void EnforceMinimumSize(int edge, Rect& rect, std::int32_t minWidth, std::int32_t minHeight);
