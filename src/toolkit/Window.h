// Base of every window object. One common window procedure finds the object
// of a window handle and calls HandleMessage, which routes each message to a
// virtual slot; a class handles a message by overriding that slot alone.
// Handlers return true when they handled the message; those with a result
// pointer write the message's result through it, for the others it is 0.
// Values taken from the low or high 16 bits of a parameter arrive unsigned.
//
// The object never owns its window: destroying one leaves the other.
#pragma once

#include <windows.h>

class TextString;

class Window {
 public:
  Window() = default;
  virtual ~Window();
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;

  // The procedure of every class registered through RegisterClass.
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

  // Registration and creation. RegisterClass is RegisterClassA in every file,
  // since this header brings windows.h along.
  static ATOM RegisterClass(const char* className, HICON largeIcon, HICON smallIcon, HCURSOR cursor,
                            HBRUSH background, const char* menuName, UINT style);
  // Registers the class (arrow cursor, no menu, no class style) unless the
  // module has it already, as when a window is made a second time. iconId 0
  // gives no icons; otherwise its 32- and 16-pixel images, loaded only when
  // the class is registered. False when it cannot be registered.
  static bool RegisterClassIfMissing(const char* className, int iconId, HBRUSH background);
  bool Create(DWORD exStyle, const char* className, const char* title, DWORD style, int x, int y, int width,
              int height, HWND parent, HMENU menu);
  BOOL Destroy() { return DestroyWindow(hwnd); }

  // A control of a dialog, or one made here; neither replaces its procedure.
  void AttachItem(HWND parent, int id) { hwnd = GetDlgItem(parent, id); }
  bool CreateControl(DWORD exStyle, const char* className, DWORD style, int x, int y, int width, int height,
                     HWND parent, int id);

  // Dispatch, finishing step and pre-filter.
  virtual LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  virtual LRESULT FinishMessage(bool notHandled, LRESULT result, UINT message, WPARAM wParam, LPARAM lParam);
  // Nonzero ends the message with *result before any slot runs.
  virtual int FilterMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);

  // Message slots, in the order of the routing table.
  virtual bool OnInitDialog(LRESULT* result);
  virtual bool OnNcCreate(LPARAM createStruct);
  virtual bool OnCreate(LPARAM createStruct);
  virtual bool OnClose();
  virtual bool OnNcDestroy();
  virtual bool OnDestroy();  // handled by default
  virtual bool OnEndSession(WPARAM ending);
  virtual bool OnInitMenu(WPARAM menu);
  virtual bool OnInitMenuPopup(WPARAM menu, WORD position, WORD systemMenu);
  virtual bool OnMenuSelect(WORD item, WORD flags, LPARAM menu);
  virtual bool OnContextMenu(WPARAM window, WORD x, WORD y);
  virtual bool OnSysChar(WPARAM wParam, LPARAM lParam);
  virtual bool OnSysKeyUp(WPARAM wParam, LPARAM lParam);
  virtual bool OnSysKeyDown(WPARAM wParam, LPARAM lParam);
  virtual bool OnSysCommand(WPARAM command, WORD x, WORD y);
  virtual bool OnWindowPosChanging(LPARAM windowPos);
  virtual bool OnWindowPosChanged(LPARAM windowPos);
  virtual bool OnDropFiles(WPARAM drop);
  virtual bool OnTimer(WPARAM id);
  virtual bool OnCommand(WORD id, WORD code, LPARAM control);
  virtual bool OnNcActivate(WPARAM wParam, LPARAM lParam);
  virtual bool OnActivate(WORD state, LPARAM other, WORD minimized);
  virtual bool OnActivateApp(WPARAM wParam, LPARAM lParam);
  virtual bool OnChildActivate();
  virtual bool OnEnterIdle(WPARAM wParam, LPARAM lParam);
  virtual bool OnKillFocus(WPARAM window);
  virtual bool OnSetFocus(WPARAM window);
  virtual bool OnShowWindow(WPARAM shown, LPARAM status);
  virtual bool OnMouseActivate(WPARAM topLevel, WORD hitTest, WORD mouseMessage, LRESULT* result);
  virtual bool OnNcMouseMove(WPARAM hitTest, WORD x, WORD y);
  virtual bool OnNcMButtonDblClk(WPARAM hitTest, WORD x, WORD y);
  virtual bool OnNcMButtonUp(WPARAM hitTest, WORD x, WORD y);
  virtual bool OnNcMButtonDown(WPARAM hitTest, WORD x, WORD y);
  virtual bool OnNcLButtonDblClk(WPARAM hitTest, WORD x, WORD y);
  virtual bool OnNcLButtonUp(WPARAM hitTest, WORD x, WORD y);
  virtual bool OnNcLButtonDown(WPARAM hitTest, WORD x, WORD y);
  virtual bool OnNcRButtonDblClk(WPARAM hitTest, WORD x, WORD y);
  virtual bool OnNcRButtonUp(WPARAM hitTest, WORD x, WORD y);
  virtual bool OnNcRButtonDown(WPARAM hitTest, WORD x, WORD y);
  virtual bool OnMouseMove(WPARAM keys, WORD x, WORD y);
  virtual bool OnMButtonDblClk(WPARAM keys, WORD x, WORD y);
  virtual bool OnMButtonUp(WPARAM keys, WORD x, WORD y);
  virtual bool OnMButtonDown(WPARAM keys, WORD x, WORD y);
  virtual bool OnLButtonDblClk(WPARAM keys, WORD x, WORD y);
  virtual bool OnLButtonUp(WPARAM keys, WORD x, WORD y);
  virtual bool OnLButtonDown(WPARAM keys, WORD x, WORD y);
  virtual bool OnRButtonDblClk(WPARAM keys, WORD x, WORD y);
  virtual bool OnRButtonUp(WPARAM keys, WORD x, WORD y);
  virtual bool OnRButtonDown(WPARAM keys, WORD x, WORD y);
  virtual bool OnSetCursor(WPARAM window, WORD hitTest, WORD mouseMessage);
  virtual bool OnMouseWheel(WORD keys, WORD delta, WORD x, WORD y);
  virtual bool OnCaptureChanged(LPARAM window);
  virtual bool OnMouseLeave();
  virtual bool OnMouseHover();
  virtual bool OnNcHitTest(WORD x, WORD y, LRESULT* result);
  virtual bool OnKeyUp(WPARAM key, LPARAM flags);
  virtual bool OnKeyDown(WPARAM key, LPARAM flags);
  virtual bool OnChar(WPARAM code, LPARAM flags);
  virtual bool OnHotKey(WPARAM id, WORD modifiers, WORD key);
  virtual bool OnNcPaint();
  virtual bool OnPaint();
  virtual bool OnEraseBkgnd(WPARAM dc, LRESULT* result);
  virtual bool OnMeasureItem(LPARAM measure);
  virtual bool OnDrawItem(LPARAM draw);
  virtual bool OnVScroll(WORD code, WORD position, LPARAM control);
  virtual bool OnHScroll(WORD code, WORD position, LPARAM control);
  virtual bool OnSize(WPARAM kind, WORD width, WORD height);
  virtual bool OnSizing(WPARAM edge, LPARAM rect);
  virtual bool OnMove(WORD x, WORD y);
  virtual bool OnMoving(WPARAM edge, LPARAM rect);
  virtual bool OnNotify(WPARAM id, LPARAM header, LRESULT* result);
  virtual bool OnParentNotify(WORD event, WORD id, LPARAM lParam);
  // Every message from WM_USER (0x400) to 0x7FFF.
  virtual bool OnUserMessage(UINT message, WPARAM wParam, LPARAM lParam);
  virtual bool OnGetDlgCode(LPARAM message, LRESULT* result);

  // Window operations on hwnd.
  void SetStyleBits(LONG bits, bool on);
  BOOL Invalidate() { return InvalidateRect(hwnd, nullptr, FALSE); }
  BOOL Show(int command) { return ShowWindow(hwnd, command); }
  void SetFont(HFONT font, bool redraw) { Send(WM_SETFONT, reinterpret_cast<WPARAM>(font), redraw ? 1 : 0); }
  int GetText(TextString& text);
  BOOL SetText(const char* text) { return SetWindowTextA(hwnd, text); }
  BOOL GetWindowRect(RECT& rect) { return ::GetWindowRect(hwnd, &rect); }
  BOOL GetClientRect(RECT& rect) { return ::GetClientRect(hwnd, &rect); }
  SIZE GetWindowSize();
  SIZE GetClientSize();
  POINT GetWindowOrigin();
  // The normal (restored) rectangle; false, with the output untouched, when
  // the placement cannot be read.
  bool GetNormalPosition(POINT& position);
  bool GetNormalRect(RECT& rect);
  void MoveNormalPosition(int x, int y);
  BOOL MoveToRect(const RECT& rect, bool repaint);
  BOOL SetPosition(int x, int y);
  BOOL SetSize(int width, int height);
  void SetTopmost(bool on);
  BOOL TrackMouse(DWORD flags, DWORD hoverTime);
  LONG GetLong(int index) { return GetWindowLongA(hwnd, index); }
  LONG SetLong(int index, LONG value) { return SetWindowLongA(hwnd, index, value); }
  LRESULT Send(UINT message, WPARAM wParam, LPARAM lParam) { return SendMessageA(hwnd, message, wParam, lParam); }
  BOOL Post(UINT message, WPARAM wParam, LPARAM lParam) { return PostMessageA(hwnd, message, wParam, lParam); }
  // Centres on other, or on the desktop work area when other is null.
  void CenterOn(HWND other);
  // Centres when x or y is the marker of a never-saved position, else moves
  // there; either way the window ends up on the screen.
  void RestorePosition(int x, int y, int unsetMarker);
  // With a record (from WM_WINDOWPOSCHANGING) corrects its proposed position;
  // without one moves the window itself. Maximised and minimised windows are
  // left alone.
  void KeepOnScreen(WINDOWPOS* proposed);
  static int ShowWarning(const char* text);

  HWND hwnd = nullptr;

 private:
  bool ReadPlacement(WINDOWPLACEMENT& placement);
};

// Mouse coordinates arrive as unsigned 16-bit halves of a parameter; left of
// or above the primary screen they are negative.
inline POINT SignedPoint(WORD x, WORD y) { return POINT{static_cast<short>(x), static_cast<short>(y)}; }

// The sizing rectangle of WM_SIZING grown to the minimum size.
void EnforceMinimumSize(int edge, RECT& rect, int minWidth, int minHeight);
