#include "toolkit/WindowGeometry.h"

Point CenteredPosition(const Rect& reference, std::int32_t width, std::int32_t height, const Rect& screen) {
  Point p{reference.left, reference.top};
  if (reference.Width() > width) p.x += (reference.Width() - width) / 2;
  if (reference.Height() > height) p.y += (reference.Height() - height) / 2;
  if (p.x + width > screen.right) p.x = screen.right - width;
  if (p.x < screen.left) p.x = screen.left;
  if (p.y + height > screen.bottom) p.y = screen.bottom - height;
  if (p.y < screen.top) p.y = screen.top;
  return p;
}

Point KeptOnScreen(Point position, std::int32_t width, std::int32_t height, const Rect& screen) {
  std::int32_t maxLeft = screen.right - width;
  std::int32_t maxTop = screen.bottom - height;
  if (position.x < screen.left) position.x = screen.left;
  if (position.y < screen.top) position.y = screen.top;
  // A window exactly as wide as the screen is pulled in whole as well; only
  // a wider one would lose its left edge.
  if (position.x > maxLeft && maxLeft >= screen.left) position.x = maxLeft;
  if (position.y > maxTop && maxTop >= screen.top) position.y = maxTop;
  return position;
}

void EnforceMinimumSize(int edge, Rect& rect, std::int32_t minWidth, std::int32_t minHeight) {
  if (rect.Width() < minWidth) {
    if (edge == kEdgeLeft || edge == kEdgeTopLeft || edge == kEdgeBottomLeft) {
      rect.left = rect.right - minWidth;
    } else {
      rect.right = rect.left + minWidth;
    }
  }
  if (rect.Height() < minHeight) {
    if (edge == kEdgeTop || edge == kEdgeTopLeft || edge == kEdgeTopRight) {
      rect.top = rect.bottom - minHeight;
    } else {
      rect.bottom = rect.top + minHeight;
    }
  }
}
