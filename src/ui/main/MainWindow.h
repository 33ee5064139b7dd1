// The player bar: a borderless tool window the size of the skin's background
// that shows the canvas's image, the player's status texts and titles, and
// turns the mouse into button commands, mute, volume and window moves. Its
// commands, context menu and notification-area icon are in MainCommands.cpp
// and MainMenu.cpp. The side windows reach it as a PlayerBar; it reaches them
// as SideWindows. Main thread only.
#pragma once

#include <cstdint>

#include "toolkit/Shell.h"
#include "toolkit/TextString.h"
#include "toolkit/Window.h"
#include "ui/PlayerBar.h"
#include "ui/SideWindows.h"
#include "ui/main/GdiSkinPlatform_win.h"
#include "ui/main/SkinDescription.h"

class Menu;
class SkinCanvas;
class StreamPlayer;
struct CanvasRect;

// What closing and destroying the bar hand back to the application: saving
// the files, and releasing the player and the network.
struct BarLifecycle {
  void (*saveAll)();
  void (*shutdown)();
  // From the message loop once the bar is on the screen and the common
  // controls are registered: what the start left for later.
  void (*finishStart)() = nullptr;
};

constexpr UINT kTrayMessage = WM_USER + 1;
constexpr UINT kFinishStartMessage = WM_USER + 2;
constexpr UINT kTrayIconId = 5001;
constexpr UINT_PTR kScrollTimerId = 5000;

class MainWindow : public Window, public PlayerBar {
 public:
  MainWindow(StreamPlayer& player, SkinCanvas& canvas, BarLifecycle lifecycle, SideWindows& sideWindows);
  ~MainWindow() override;

  // Hidden, placed by WinX/WinY; its tray icon and the common controls
  // follow from the message loop. False when the class or the window cannot
  // be made.
  bool CreateMainWindow();
  // Gives the canvas its drawing context for this window.
  bool AttachCanvas();
  // The window takes the canvas's size without moving.
  void FitToSkin();

  void Refresh(const CanvasRect* rect);
  // Any integer; kept to 0-100.
  void ChangeVolume(std::int64_t volume);
  void ShowTitle(bool error);
  void StopScrollTimer();

  // Commands (MainCommands.cpp).
  void Play(int source, const char* url) override;
  void StopPlayback();
  void ToggleMute();
  void SwitchSkin(int index);
  // Context menu (MainMenu.cpp): built afresh for each opening.
  void ShowContextMenu(int x, int y);
  void PrepareContextMenu(Menu& popup);

  int PlayerState() const override;
  const StreamInfo* PlayingStream() const override;
  const char* LastUrl() const override;

  const TextString& Title() const { return title; }
  int HotButton() const { return hotButton; }
  bool IsDragging() const { return dragging; }
  bool IsScrollTimerRunning() const { return scrollTimer != 0; }

  int FilterMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;
  bool OnClose() override;
  bool OnDestroy() override;
  bool OnEndSession(WPARAM ending) override;
  bool OnWindowPosChanging(LPARAM windowPos) override;
  bool OnTimer(WPARAM id) override;
  bool OnCommand(WORD id, WORD code, LPARAM control) override;
  bool OnNcRButtonDown(WPARAM hitTest, WORD x, WORD y) override;
  bool OnMouseMove(WPARAM keys, WORD x, WORD y) override;
  bool OnLButtonUp(WPARAM keys, WORD x, WORD y) override;
  bool OnLButtonDown(WPARAM keys, WORD x, WORD y) override;
  bool OnMouseWheel(WORD keys, WORD delta, WORD x, WORD y) override;
  bool OnCaptureChanged(LPARAM window) override;
  bool OnMouseLeave() override;
  bool OnNcHitTest(WORD x, WORD y, LRESULT* result) override;
  bool OnPaint() override;
  bool OnUserMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  bool OnTrayMessage(LPARAM mouseMessage);
  void AppendTitleToMemo();
  void OpenSettings();
  void ShowTrayIcon();

  StreamPlayer& player;
  SkinCanvas& canvas;
  BarLifecycle lifecycle;
  SideWindows& sideWindows;
  GdiSkinPlatform gdi;
  IconHandle trayIcon;
  UINT taskbarCreatedMessage = 0;

  UINT_PTR scrollTimer = 0;
  int hotButton = kNoButton;
  int grabOffset = 0;
  bool pressed = false;
  bool dragging = false;
  TextString title;
};
