#include "BarTestSupport.h"

#include "shell/Settings.h"
#include "support/TestWindows.h"

LifecycleCounts gLifecycle;

namespace {

HWND gBarWindow = nullptr;

void CountSave() {
  ++gLifecycle.saves;
  gLifecycle.windowAliveAtSave = IsWindow(gBarWindow) != FALSE;
}

void CountShutdown() { ++gLifecycle.shutdowns; }

}  // namespace

BarFixture::BarFixture(int x, int y, int volume)
    : bar(player, canvas, BarLifecycle{&CountSave, &CountShutdown}, sideWindows) {
  InitTestControls();
  gLifecycle = LifecycleCounts{};
  gSettings.SetDefaults();
  gSettings.winX = x;
  gSettings.winY = y;
  gSettings.vol = volume;
  if (!bar.CreateMainWindow()) return;
  gBarWindow = bar.hwnd;
  bar.AttachCanvas();
  canvas.LoadSkin(gSettings.skin.CStr(), gSettings.vol, false);
  bar.FitToSkin();
  bar.Show(SW_SHOWNORMAL);
  UpdateWindow(bar.hwnd);
}

BarFixture::~BarFixture() {
  if (bar.hwnd && IsWindow(bar.hwnd)) DestroyWindow(bar.hwnd);
  // The bar's destruction posts the quit message: it must not reach the next test.
  MSG message;
  while (PeekMessageA(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
  }
  gBarWindow = nullptr;
  gSettings.SetDefaults();
}

void BarFixture::Mouse(UINT message, int x, int y) {
  bar.Send(message, 0, MAKELPARAM(static_cast<WORD>(x), static_cast<WORD>(y)));
}

bool BarFixture::ShowsFrame(int element, int frame) {
  const SkinElement& e = canvas.Skin()[element];
  const PixelImage& sheet = canvas.SkinImage();
  for (int y = 0; y < e.height; ++y) {
    for (int x = 0; x < e.width; ++x) {
      if (At(e.dx + x, e.dy + y) != *sheet.PixelAt(e.x1 + frame * e.width + x, e.y1 + y)) return false;
    }
  }
  return true;
}

int BarFixture::TitleInk(std::uint32_t color) const {
  CanvasRect r = canvas.TitleRect();
  int n = 0;
  for (int y = r.top; y < r.bottom; ++y) {
    for (int x = r.left; x < r.right; ++x) n += At(x, y) == color ? 1 : 0;
  }
  return n;
}

bool BarFixture::TitleShowsBackground() {
  CanvasRect r = canvas.TitleRect();
  const PixelImage& sheet = canvas.SkinImage();
  for (int y = r.top; y < r.bottom; ++y) {
    for (int x = r.left; x < r.right; ++x) {
      if (At(x, y) != *sheet.PixelAt(x, y)) return false;
    }
  }
  return true;
}
