#include "toolkit/Window.h"

#include <commctrl.h>

#include "toolkit/Shell.h"
#include "toolkit/TextString.h"
#include "toolkit/VirtualScreen.h"

namespace {

Rect ToRect(const RECT& r) { return Rect{r.left, r.top, r.right, r.bottom}; }

}  // namespace

Window::~Window() {
  // The window may live on (the object never destroys it): it must not keep
  // calling into an object that is gone.
  if (hwnd && IsWindow(hwnd) && GetWindowLongPtrA(hwnd, GWLP_USERDATA) == reinterpret_cast<LONG_PTR>(this)) {
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
  }
}

LRESULT CALLBACK Window::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  Window* object;
  if (message == WM_NCCREATE || message == WM_CREATE) {
    object = static_cast<Window*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(object));
    if (object) object->hwnd = window;
  } else {
    object = reinterpret_cast<Window*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  }
  if (!object) return DefWindowProcA(window, message, wParam, lParam);
  return object->HandleMessage(message, wParam, lParam);
}

ATOM Window::RegisterClass(const char* className, HICON largeIcon, HICON smallIcon, HCURSOR cursor,
                           HBRUSH background, const char* menuName, UINT style) {
  WNDCLASSEXA wc = {};
  wc.cbSize = sizeof wc;
  wc.style = style;
  wc.lpfnWndProc = &Window::WindowProc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.hIcon = largeIcon;
  wc.hCursor = cursor;
  wc.hbrBackground = background;
  wc.lpszMenuName = menuName;
  wc.lpszClassName = className;
  wc.hIconSm = smallIcon;
  return RegisterClassExA(&wc);
}

bool Window::RegisterClassIfMissing(const char* className, int iconId, HBRUSH background) {
  WNDCLASSEXA existing = {};
  existing.cbSize = sizeof existing;
  if (GetClassInfoExA(GetModuleHandleA(nullptr), className, &existing)) return true;
  HICON large = iconId ? LoadIconSized(iconId, 32) : nullptr;
  HICON small = iconId ? LoadIconSized(iconId, 16) : nullptr;
  return RegisterClass(className, large, small, LoadCursorA(nullptr, IDC_ARROW), background, nullptr, 0) != 0;
}

bool Window::Create(DWORD exStyle, const char* className, const char* title, DWORD style, int x, int y, int width,
                    int height, HWND parent, HMENU menu) {
  hwnd = CreateWindowExA(exStyle, className, title, style, x, y, width, height, parent, menu,
                         GetModuleHandleA(nullptr), this);
  return hwnd != nullptr;
}

bool Window::CreateControl(DWORD exStyle, const char* className, DWORD style, int x, int y, int width, int height,
                           HWND parent, int id) {
  hwnd = CreateWindowExA(exStyle, className, "", style, x, y, width, height, parent,
                         reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleA(nullptr), nullptr);
  return hwnd != nullptr;
}

LRESULT Window::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  LRESULT result = 0;
  if (FilterMessage(message, wParam, lParam, &result)) return result;

  const WORD lowW = LOWORD(wParam), highW = HIWORD(wParam);
  const WORD lowL = LOWORD(lParam), highL = HIWORD(lParam);
  bool handled = false;
  switch (message) {
    case WM_NOTIFY: handled = OnNotify(wParam, lParam, &result); break;
    case WM_CREATE: handled = OnCreate(lParam); break;
    case WM_DESTROY: handled = OnDestroy(); break;
    case WM_MOVE: handled = OnMove(lowL, highL); break;
    case WM_SIZE: handled = OnSize(wParam, lowL, highL); break;
    case WM_ACTIVATE: handled = OnActivate(lowW, lParam, highW); break;
    case WM_SETFOCUS: handled = OnSetFocus(wParam); break;
    case WM_KILLFOCUS: handled = OnKillFocus(wParam); break;
    case WM_PAINT: handled = OnPaint(); break;
    case WM_CLOSE: handled = OnClose(); break;
    case WM_ERASEBKGND: handled = OnEraseBkgnd(wParam, &result); break;
    case WM_ENDSESSION: handled = OnEndSession(wParam); break;
    case WM_SHOWWINDOW: handled = OnShowWindow(wParam, lParam); break;
    case WM_ACTIVATEAPP: handled = OnActivateApp(wParam, lParam); break;
    case WM_SETCURSOR: handled = OnSetCursor(wParam, lowL, highL); break;
    case WM_MOUSEACTIVATE: handled = OnMouseActivate(wParam, lowL, highL, &result); break;
    case WM_CHILDACTIVATE: handled = OnChildActivate(); break;
    case WM_DRAWITEM: handled = OnDrawItem(lParam); break;
    case WM_MEASUREITEM: handled = OnMeasureItem(lParam); break;
    case WM_NCCREATE: handled = OnNcCreate(lParam); break;
    case WM_NCDESTROY: handled = OnNcDestroy(); break;
    case WM_NCHITTEST: handled = OnNcHitTest(lowL, highL, &result); break;
    case WM_NCPAINT: handled = OnNcPaint(); break;
    case WM_NCACTIVATE: handled = OnNcActivate(wParam, lParam); break;
    case WM_GETDLGCODE: handled = OnGetDlgCode(lParam, &result); break;
    case WM_NCMOUSEMOVE: handled = OnNcMouseMove(wParam, lowL, highL); break;
    case WM_NCLBUTTONDOWN: handled = OnNcLButtonDown(wParam, lowL, highL); break;
    case WM_NCLBUTTONUP: handled = OnNcLButtonUp(wParam, lowL, highL); break;
    case WM_NCLBUTTONDBLCLK: handled = OnNcLButtonDblClk(wParam, lowL, highL); break;
    case WM_NCRBUTTONDOWN: handled = OnNcRButtonDown(wParam, lowL, highL); break;
    case WM_NCRBUTTONUP: handled = OnNcRButtonUp(wParam, lowL, highL); break;
    case WM_NCRBUTTONDBLCLK: handled = OnNcRButtonDblClk(wParam, lowL, highL); break;
    case WM_NCMBUTTONDOWN: handled = OnNcMButtonDown(wParam, lowL, highL); break;
    case WM_NCMBUTTONUP: handled = OnNcMButtonUp(wParam, lowL, highL); break;
    case WM_NCMBUTTONDBLCLK: handled = OnNcMButtonDblClk(wParam, lowL, highL); break;
    case WM_KEYDOWN: handled = OnKeyDown(wParam, lParam); break;
    case WM_KEYUP: handled = OnKeyUp(wParam, lParam); break;
    case WM_CHAR: handled = OnChar(wParam, lParam); break;
    case WM_SYSKEYDOWN: handled = OnSysKeyDown(wParam, lParam); break;
    case WM_SYSKEYUP: handled = OnSysKeyUp(wParam, lParam); break;
    case WM_SYSCHAR: handled = OnSysChar(wParam, lParam); break;
    case WM_INITDIALOG: handled = OnInitDialog(&result); break;
    case WM_COMMAND: handled = OnCommand(lowW, highW, lParam); break;
    case WM_SYSCOMMAND: handled = OnSysCommand(wParam, lowL, highL); break;
    case WM_TIMER: handled = OnTimer(wParam); break;
    case WM_HSCROLL: handled = OnHScroll(lowW, highW, lParam); break;
    case WM_VSCROLL: handled = OnVScroll(lowW, highW, lParam); break;
    case WM_INITMENU: handled = OnInitMenu(wParam); break;
    case WM_INITMENUPOPUP: handled = OnInitMenuPopup(wParam, lowL, highL); break;
    case WM_MENUSELECT: handled = OnMenuSelect(lowW, highW, lParam); break;
    case WM_ENTERIDLE: handled = OnEnterIdle(wParam, lParam); break;
    case WM_MOUSEMOVE: handled = OnMouseMove(wParam, lowL, highL); break;
    case WM_LBUTTONDOWN: handled = OnLButtonDown(wParam, lowL, highL); break;
    case WM_LBUTTONUP: handled = OnLButtonUp(wParam, lowL, highL); break;
    case WM_LBUTTONDBLCLK: handled = OnLButtonDblClk(wParam, lowL, highL); break;
    case WM_RBUTTONDOWN: handled = OnRButtonDown(wParam, lowL, highL); break;
    case WM_RBUTTONUP: handled = OnRButtonUp(wParam, lowL, highL); break;
    case WM_RBUTTONDBLCLK: handled = OnRButtonDblClk(wParam, lowL, highL); break;
    case WM_MBUTTONDOWN: handled = OnMButtonDown(wParam, lowL, highL); break;
    case WM_MBUTTONUP: handled = OnMButtonUp(wParam, lowL, highL); break;
    case WM_MBUTTONDBLCLK: handled = OnMButtonDblClk(wParam, lowL, highL); break;
    case WM_MOUSEWHEEL: handled = OnMouseWheel(lowW, highW, lowL, highL); break;
    case WM_WINDOWPOSCHANGING: handled = OnWindowPosChanging(lParam); break;
    case WM_WINDOWPOSCHANGED: handled = OnWindowPosChanged(lParam); break;
    case WM_CONTEXTMENU: handled = OnContextMenu(wParam, lowL, highL); break;
    case WM_PARENTNOTIFY: handled = OnParentNotify(lowW, highW, lParam); break;
    case WM_SIZING: handled = OnSizing(wParam, lParam); break;
    case WM_CAPTURECHANGED: handled = OnCaptureChanged(lParam); break;
    case WM_MOVING: handled = OnMoving(wParam, lParam); break;
    case WM_DROPFILES: handled = OnDropFiles(wParam); break;
    case WM_MOUSEHOVER: handled = OnMouseHover(); break;
    case WM_MOUSELEAVE: handled = OnMouseLeave(); break;
    case WM_HOTKEY: handled = OnHotKey(wParam, lowL, highL); break;
    default:
      if (message >= WM_USER && message <= 0x7FFF) handled = OnUserMessage(message, wParam, lParam);
      break;
  }
  return FinishMessage(!handled, result, message, wParam, lParam);
}

LRESULT Window::FinishMessage(bool notHandled, LRESULT result, UINT message, WPARAM wParam, LPARAM lParam) {
  return notHandled ? DefWindowProcA(hwnd, message, wParam, lParam) : result;
}

int Window::FilterMessage(UINT, WPARAM, LPARAM, LRESULT*) { return 0; }

bool Window::OnInitDialog(LRESULT*) { return false; }
bool Window::OnNcCreate(LPARAM) { return false; }
bool Window::OnCreate(LPARAM) { return false; }
bool Window::OnClose() { return false; }
bool Window::OnNcDestroy() { return false; }
bool Window::OnDestroy() { return true; }
bool Window::OnEndSession(WPARAM) { return false; }
bool Window::OnInitMenu(WPARAM) { return false; }
bool Window::OnInitMenuPopup(WPARAM, WORD, WORD) { return false; }
bool Window::OnMenuSelect(WORD, WORD, LPARAM) { return false; }
bool Window::OnContextMenu(WPARAM, WORD, WORD) { return false; }
bool Window::OnSysChar(WPARAM, LPARAM) { return false; }
bool Window::OnSysKeyUp(WPARAM, LPARAM) { return false; }
bool Window::OnSysKeyDown(WPARAM, LPARAM) { return false; }
bool Window::OnSysCommand(WPARAM, WORD, WORD) { return false; }
bool Window::OnWindowPosChanging(LPARAM) { return false; }
bool Window::OnWindowPosChanged(LPARAM) { return false; }
bool Window::OnDropFiles(WPARAM) { return false; }
bool Window::OnTimer(WPARAM) { return false; }
bool Window::OnCommand(WORD, WORD, LPARAM) { return false; }
bool Window::OnNcActivate(WPARAM, LPARAM) { return false; }
bool Window::OnActivate(WORD, LPARAM, WORD) { return false; }
bool Window::OnActivateApp(WPARAM, LPARAM) { return false; }
bool Window::OnChildActivate() { return false; }
bool Window::OnEnterIdle(WPARAM, LPARAM) { return false; }
bool Window::OnKillFocus(WPARAM) { return false; }
bool Window::OnSetFocus(WPARAM) { return false; }
bool Window::OnShowWindow(WPARAM, LPARAM) { return false; }
bool Window::OnMouseActivate(WPARAM, WORD, WORD, LRESULT*) { return false; }
bool Window::OnNcMouseMove(WPARAM, WORD, WORD) { return false; }
bool Window::OnNcMButtonDblClk(WPARAM, WORD, WORD) { return false; }
bool Window::OnNcMButtonUp(WPARAM, WORD, WORD) { return false; }
bool Window::OnNcMButtonDown(WPARAM, WORD, WORD) { return false; }
bool Window::OnNcLButtonDblClk(WPARAM, WORD, WORD) { return false; }
bool Window::OnNcLButtonUp(WPARAM, WORD, WORD) { return false; }
bool Window::OnNcLButtonDown(WPARAM, WORD, WORD) { return false; }
bool Window::OnNcRButtonDblClk(WPARAM, WORD, WORD) { return false; }
bool Window::OnNcRButtonUp(WPARAM, WORD, WORD) { return false; }
bool Window::OnNcRButtonDown(WPARAM, WORD, WORD) { return false; }
bool Window::OnMouseMove(WPARAM, WORD, WORD) { return false; }
bool Window::OnMButtonDblClk(WPARAM, WORD, WORD) { return false; }
bool Window::OnMButtonUp(WPARAM, WORD, WORD) { return false; }
bool Window::OnMButtonDown(WPARAM, WORD, WORD) { return false; }
bool Window::OnLButtonDblClk(WPARAM, WORD, WORD) { return false; }
bool Window::OnLButtonUp(WPARAM, WORD, WORD) { return false; }
bool Window::OnLButtonDown(WPARAM, WORD, WORD) { return false; }
bool Window::OnRButtonDblClk(WPARAM, WORD, WORD) { return false; }
bool Window::OnRButtonUp(WPARAM, WORD, WORD) { return false; }
bool Window::OnRButtonDown(WPARAM, WORD, WORD) { return false; }
bool Window::OnSetCursor(WPARAM, WORD, WORD) { return false; }
bool Window::OnMouseWheel(WORD, WORD, WORD, WORD) { return false; }
bool Window::OnCaptureChanged(LPARAM) { return false; }
bool Window::OnMouseLeave() { return false; }
bool Window::OnMouseHover() { return false; }
bool Window::OnNcHitTest(WORD, WORD, LRESULT*) { return false; }
bool Window::OnKeyUp(WPARAM, LPARAM) { return false; }
bool Window::OnKeyDown(WPARAM, LPARAM) { return false; }
bool Window::OnChar(WPARAM, LPARAM) { return false; }
bool Window::OnHotKey(WPARAM, WORD, WORD) { return false; }
bool Window::OnNcPaint() { return false; }
bool Window::OnPaint() { return false; }
bool Window::OnEraseBkgnd(WPARAM, LRESULT*) { return false; }
bool Window::OnMeasureItem(LPARAM) { return false; }
bool Window::OnDrawItem(LPARAM) { return false; }
bool Window::OnVScroll(WORD, WORD, LPARAM) { return false; }
bool Window::OnHScroll(WORD, WORD, LPARAM) { return false; }
bool Window::OnSize(WPARAM, WORD, WORD) { return false; }
bool Window::OnSizing(WPARAM, LPARAM) { return false; }
bool Window::OnMove(WORD, WORD) { return false; }
bool Window::OnMoving(WPARAM, LPARAM) { return false; }
bool Window::OnNotify(WPARAM, LPARAM, LRESULT*) { return false; }
bool Window::OnParentNotify(WORD, WORD, LPARAM) { return false; }
bool Window::OnUserMessage(UINT, WPARAM, LPARAM) { return false; }
bool Window::OnGetDlgCode(LPARAM, LRESULT*) { return false; }

void Window::SetStyleBits(LONG bits, bool on) {
  LONG style = GetWindowLongA(hwnd, GWL_STYLE);
  SetWindowLongA(hwnd, GWL_STYLE, on ? (style | bits) : (style & ~bits));
}

int Window::GetText(TextString& text) {
  text.Reserve(GetWindowTextLengthA(hwnd));
  return GetWindowTextA(hwnd, text.Data(), text.BufferSize());
}

SIZE Window::GetWindowSize() {
  RECT r = {};
  ::GetWindowRect(hwnd, &r);
  return SIZE{r.right - r.left, r.bottom - r.top};
}

SIZE Window::GetClientSize() {
  RECT r = {};
  ::GetClientRect(hwnd, &r);
  return SIZE{r.right - r.left, r.bottom - r.top};
}

POINT Window::GetWindowOrigin() {
  RECT r = {};
  ::GetWindowRect(hwnd, &r);
  return POINT{r.left, r.top};
}

bool Window::ReadPlacement(WINDOWPLACEMENT& placement) {
  placement = WINDOWPLACEMENT{};
  placement.length = sizeof placement;
  return GetWindowPlacement(hwnd, &placement) != FALSE;
}

bool Window::GetNormalPosition(POINT& position) {
  RECT normal;
  if (!GetNormalRect(normal)) return false;
  position.x = normal.left;
  position.y = normal.top;
  return true;
}

bool Window::GetNormalRect(RECT& rect) {
  WINDOWPLACEMENT placement;
  if (!ReadPlacement(placement)) return false;
  rect = placement.rcNormalPosition;
  return true;
}

void Window::MoveNormalPosition(int x, int y) {
  WINDOWPLACEMENT placement;
  if (!ReadPlacement(placement)) return;
  RECT& r = placement.rcNormalPosition;
  LONG width = r.right - r.left, height = r.bottom - r.top;
  r.left = x;
  r.top = y;
  r.right = x + width;
  r.bottom = y + height;
  // Writing the placement back must not show a hidden window.
  if (!IsWindowVisible(hwnd)) placement.showCmd = SW_HIDE;
  SetWindowPlacement(hwnd, &placement);
}

BOOL Window::MoveToRect(const RECT& rect, bool repaint) {
  return MoveWindow(hwnd, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, repaint);
}

BOOL Window::SetPosition(int x, int y) {
  return SetWindowPos(hwnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

BOOL Window::SetSize(int width, int height) {
  return SetWindowPos(hwnd, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Window::SetTopmost(bool on) {
  const UINT keep = SWP_NOMOVE | SWP_NOSIZE;
  if (on) {
    SetWindowPos(hwnd, HWND_TOPMOST, 0, 0, 0, 0, keep);
  } else {
    // Out of the topmost band, on top of the ordinary windows. (Going to the
    // bottom and back to the top does the same on Windows, but not every
    // implementation lets HWND_BOTTOM end the topmost state.)
    SetWindowPos(hwnd, HWND_NOTOPMOST, 0, 0, 0, 0, keep);
  }
}

BOOL Window::TrackMouse(DWORD flags, DWORD hoverTime) {
  TRACKMOUSEEVENT track = {};
  track.cbSize = sizeof track;
  track.dwFlags = flags;
  track.hwndTrack = hwnd;
  track.dwHoverTime = hoverTime;
  // The system's own, not the common controls' wrapper of it: the bar needs
  // nothing else from that library.
  return TrackMouseEvent(&track);
}

void Window::CenterOn(HWND other) {
  RECT reference = {};
  if (other) {
    ::GetWindowRect(other, &reference);
  } else {
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &reference, 0);
  }
  SIZE size = GetWindowSize();
  Point p = CenteredPosition(ToRect(reference), size.cx, size.cy, VirtualScreenRect());
  SetPosition(p.x, p.y);
}

void Window::RestorePosition(int x, int y, int unsetMarker) {
  if (x == unsetMarker || y == unsetMarker) {
    CenterOn(nullptr);
    return;
  }
  MoveNormalPosition(x, y);
  KeepOnScreen(nullptr);
}

void Window::KeepOnScreen(WINDOWPOS* proposed) {
  if (IsZoomed(hwnd) || IsIconic(hwnd)) return;
  // A change that does not move the window carries no position to check.
  if (proposed && (proposed->flags & SWP_NOMOVE)) return;
  Point p;
  if (proposed) {
    p = Point{proposed->x, proposed->y};
  } else {
    POINT normal;
    if (!GetNormalPosition(normal)) return;
    p = Point{normal.x, normal.y};
  }
  SIZE size = GetWindowSize();
  p = KeptOnScreen(p, size.cx, size.cy, VirtualScreenRect());
  if (proposed) {
    proposed->x = p.x;
    proposed->y = p.y;
  } else {
    MoveNormalPosition(p.x, p.y);
  }
}

int Window::ShowWarning(const char* text) { return ::ShowWarning(text); }

void EnforceMinimumSize(int edge, RECT& rect, int minWidth, int minHeight) {
  Rect r = ToRect(rect);
  EnforceMinimumSize(edge, r, minWidth, minHeight);
  rect.left = r.left;
  rect.top = r.top;
  rect.right = r.right;
  rect.bottom = r.bottom;
}
