#include "toolkit/TrackBar.h"

#include <commctrl.h>

void TrackBar::SetRange(int minimum, int maximum, bool redraw) {
  Send(TBM_SETRANGEMIN, redraw, minimum);
  Send(TBM_SETRANGEMAX, redraw, maximum);
}

void TrackBar::SetPos(int position, bool redraw) { Send(TBM_SETPOS, redraw, position); }

int TrackBar::GetPos() { return static_cast<int>(Send(TBM_GETPOS, 0, 0)); }

int TrackBar::TrackScroll(WORD code, WORD position, LPARAM control) {
  if (reinterpret_cast<HWND>(control) != hwnd) return -1;
  int current = GetPos();
  int minimum = static_cast<int>(Send(TBM_GETRANGEMIN, 0, 0));
  int maximum = static_cast<int>(Send(TBM_GETRANGEMAX, 0, 0));
  int next;
  switch (code) {
    case TB_THUMBPOSITION:
    case TB_THUMBTRACK:
      next = position;
      break;
    case TB_TOP:
      next = minimum;
      break;
    case TB_BOTTOM:
      next = maximum;
      break;
    default:
      next = current;
      break;
  }
  SetPos(next, true);
  return next;
}
