#include "ui/main/MainWindow.h"

#include "engine/StreamPlayer.h"
#include "resources/ProgramRes.h"
#include "shell/ApplicationState.h"
#include "shell/SettingRanges.h"
#include "shell/Settings.h"
#include "toolkit/Shell.h"
#include "toolkit/TrayIcon.h"
#include "ui/main/BarCommands.h"
#include "ui/main/MainWindowRes.h"
#include "ui/main/ServerRootUrl.h"
#include "ui/main/SkinCanvas.h"

namespace {

const char kClassName[] = "kmb_main";
const char kTitle[] = "Velmorin";

}  // namespace

MainWindow::MainWindow(StreamPlayer& playerRef, SkinCanvas& canvasRef, BarLifecycle lifecycleHooks,
                       SideWindows& sides)
    : player(playerRef), canvas(canvasRef), lifecycle(lifecycleHooks), sideWindows(sides) {}

MainWindow::~MainWindow() {
  // The canvas outlives this object; the drawing context goes with it.
  canvas.AttachPlatform(nullptr);
}

bool MainWindow::CreateMainWindow() {
  hotButton = kNoButton;
  scrollTimer = 0;
  pressed = false;
  dragging = false;
  if (!RegisterClassIfMissing(kClassName, IDI_VELMORIN, nullptr)) return false;
  if (!Create(WS_EX_TOOLWINDOW, kClassName, kTitle, WS_POPUP, 0, 0, 200, 200, nullptr, nullptr)) return false;
  // Explorer announces a restart with this message; the icon is then gone.
  taskbarCreatedMessage = RegisterWindowMessageA("TaskbarCreated");
  // What the bar need not wait for comes from the message loop, once the bar
  // is on the screen: the tray icon (adding it waits for the shell's tray to
  // answer) and the common controls (their library's start was the largest
  // single part of a start under Wine).
  Post(kFinishStartMessage, 0, 0);
  RestorePosition(gSettings.winX, gSettings.winY, kNoPosition);
  return true;
}

void MainWindow::ShowTrayIcon() {
  if (!trayIcon.IsValid()) trayIcon.Reset(LoadIconSized(IDI_TRAY, 16));
  ::AddTrayIcon(hwnd, kTrayIconId, kTrayMessage, trayIcon.Get(), kTitle);
}

bool MainWindow::AttachCanvas() {
  bool made = gdi.Initialize(hwnd);
  canvas.AttachPlatform(&gdi);
  return made;
}

void MainWindow::FitToSkin() { SetSize(canvas.WindowWidth(), canvas.WindowHeight()); }

void MainWindow::Refresh(const CanvasRect* rect) {
  if (rect) {
    RECT area = {rect->left, rect->top, rect->right, rect->bottom};
    InvalidateRect(hwnd, &area, FALSE);
  } else {
    InvalidateRect(hwnd, nullptr, FALSE);
  }
  UpdateWindow(hwnd);
}

void MainWindow::ChangeVolume(std::int64_t volume) {
  int kept = ClampVolume(volume);
  gSettings.vol = kept;
  player.SetVolume(kept);
  canvas.DrawVolume(kept);
  Refresh(nullptr);
}

void MainWindow::ShowTitle(bool error) {
  CanvasRect area;
  if (!canvas.SetTitle(title.CStr(), error, &area)) return;
  Refresh(&area);
  if (canvas.IsScrolling()) {
    scrollTimer = SetTimer(hwnd, kScrollTimerId, static_cast<UINT>(gSettings.titleScroll), nullptr);
  }
}

void MainWindow::StopScrollTimer() {
  if (!scrollTimer) return;
  KillTimer(hwnd, kScrollTimerId);
  scrollTimer = 0;
}

int MainWindow::FilterMessage(UINT message, WPARAM, LPARAM, LRESULT* result) {
  if (message == 0 || message != taskbarCreatedMessage) return 0;
  ShowTrayIcon();
  *result = 0;
  return 1;
}

bool MainWindow::OnClose() {
  if (lifecycle.saveAll) lifecycle.saveAll();
  Destroy();
  return true;
}

bool MainWindow::OnDestroy() {
  StopScrollTimer();
  RemoveTrayIcon(hwnd, kTrayIconId);
  if (lifecycle.shutdown) lifecycle.shutdown();
  PostQuitMessage(0);
  return true;
}

bool MainWindow::OnEndSession(WPARAM ending) {
  if (ending && lifecycle.saveAll) lifecycle.saveAll();
  return true;
}

bool MainWindow::OnWindowPosChanging(LPARAM windowPos) {
  KeepOnScreen(reinterpret_cast<WINDOWPOS*>(windowPos));
  return true;
}

bool MainWindow::OnTimer(WPARAM id) {
  if (id != kScrollTimerId) return true;
  CanvasRect area;
  if (canvas.ScrollTitle(gSettings.titleScrollAdd, &area)) Refresh(&area);
  return true;
}

bool MainWindow::OnNcRButtonDown(WPARAM, WORD x, WORD y) {
  POINT at = SignedPoint(x, y);
  ShowContextMenu(at.x, at.y);
  return true;
}

bool MainWindow::OnMouseMove(WPARAM, WORD x, WORD y) {
  POINT at = SignedPoint(x, y);
  if (dragging) {
    ChangeVolume(canvas.VolumeFromX(static_cast<int>(std::int64_t{at.x} - grabOffset)));
    return true;
  }
  int button = canvas.ButtonAt(at.x, at.y);
  if (button == hotButton) return true;
  if (hotButton != kNoButton) canvas.DrawElement(hotButton, kFrameNormal);
  if (button != kNoButton) canvas.DrawElement(button, kFrameHot);
  Refresh(nullptr);
  if (hotButton == kNoButton) TrackMouse(TME_LEAVE, 0);
  hotButton = button;
  pressed = false;
  return true;
}

bool MainWindow::OnMouseLeave() {
  if (hotButton != kNoButton) {
    canvas.DrawElement(hotButton, kFrameNormal);
    Refresh(nullptr);
  }
  hotButton = kNoButton;
  pressed = false;
  return true;
}

bool MainWindow::OnLButtonDown(WPARAM, WORD x, WORD y) {
  if (dragging) return true;
  POINT at = SignedPoint(x, y);
  if (hotButton != kNoButton) {
    canvas.DrawElement(hotButton, kFramePressed);
    Refresh(nullptr);
    pressed = true;
  } else if (canvas.KnobAt(at.x, at.y, gSettings.vol)) {
    SetCapture(hwnd);
    dragging = true;
    grabOffset = canvas.KnobGrabOffset(at.x, gSettings.vol);
  } else if (canvas.MuteAt(at.x, at.y) == kMuteButton) {
    Send(WM_COMMAND, IDM_MUTE, 0);
  }
  return true;
}

bool MainWindow::OnLButtonUp(WPARAM, WORD, WORD) {
  if (dragging) {
    dragging = false;
    ReleaseCapture();
    return true;
  }
  if (pressed && hotButton != kNoButton) {
    pressed = false;
    int button = hotButton;
    canvas.DrawElement(button, kFrameHot);
    Refresh(nullptr);
    Send(WM_COMMAND, static_cast<WPARAM>(ButtonCommand(button)), 0);
  }
  return true;
}

// A drag whose capture is taken away (another window, a menu) ends there,
// or the next plain mouse move over the bar would still move the knob.
bool MainWindow::OnCaptureChanged(LPARAM window) {
  if (reinterpret_cast<HWND>(window) != hwnd) dragging = false;
  return true;
}

bool MainWindow::OnMouseWheel(WORD, WORD delta, WORD x, WORD y) {
  if (WindowFromPoint(SignedPoint(x, y)) != hwnd) return true;
  std::int64_t step = gSettings.wheelAdd;
  ChangeVolume(static_cast<short>(delta) > 0 ? gSettings.vol + step : gSettings.vol - step);
  return true;
}

bool MainWindow::OnNcHitTest(WORD x, WORD y, LRESULT* result) {
  POINT at = SignedPoint(x, y);
  ScreenToClient(hwnd, &at);
  *result = canvas.HitAnyControl(at.x, at.y, gSettings.vol) ? HTCLIENT : HTCAPTION;
  return true;
}

bool MainWindow::OnPaint() {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(hwnd, &paint);
  if (dc) canvas.PaintTo(dc);
  EndPaint(hwnd, &paint);
  return true;
}

bool MainWindow::OnUserMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  const char* text = reinterpret_cast<const char*>(lParam);
  switch (message) {
    case kStatusMessage:
      StopScrollTimer();
      title.Assign(text ? text : "");
      ShowTitle(wParam != 0);
      return true;
    case kStartedMessage:
      gSettings.lastURL.Assign(text ? text : "");
      CutServerRootUrl(gSettings.lastURL.CStr(), gApplicationState.serverRootUrl);
      return true;
    case kTrayMessage:
      return OnTrayMessage(lParam);
    case kFinishStartMessage:
      ShowTrayIcon();
      RegisterCommonControls();
      if (lifecycle.finishStart) lifecycle.finishStart();
      return true;
    default:
      return false;
  }
}
