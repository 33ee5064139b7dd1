#include "ui/main/SkinCanvas.h"

#include "resources/SkinRes.h"
#include "shell/SettingRanges.h"
#include "toolkit/File.h"
#include "toolkit/TextString.h"
#include "ui/main/BitmapReader.h"
#include "ui/main/SkinCanvasPlatform.h"

namespace {

// Far above any skin (a 32-bit bitmap of 4096 x 4096 pixels); a larger file
// is not read at all.
constexpr std::uint32_t kLargestBitmapFile = 64u << 20;

// Skin numbers are any 32-bit values: positions are worked out in 64 bits and
// brought back saturated, which keeps an off-image position off the image.
int Saturate(std::int64_t v) {
  if (v > INT32_MAX) return INT32_MAX;
  if (v < INT32_MIN) return INT32_MIN;
  return static_cast<int>(v);
}

}  // namespace

SkinCanvas::~SkinCanvas() {
  if (platform) platform->SelectWindowImage(nullptr);
}

bool SkinCanvas::LoadSkin(const char* name, int volume, bool muted) {
  TextString path;
  path.SetToExeDirectory("skin\\");
  path.Append(name);
  path.Append(".ini");
  bool ok = ParseSkin(path.CStr());
  if (ok) {
    path.ChangeExtension("bmp");
    ok = LoadBitmapFile(path.CStr());
  }
  // Every parse resets the whole table, so nothing of a failed skin survives.
  if (!ok) LoadBuiltInSkin();
  windowWidth = skin[kMainRc].width;
  windowHeight = skin[kMainRc].height;
  RebuildWindowImage(volume, muted);
  return ok;
}

void SkinCanvas::LoadBuiltInSkin() {
  if (!platform) return;
  const void* text = nullptr;
  std::uint32_t size = platform->LoadResourceData(RT_SKIN_TEXT, IDR_SKIN_TEXT, &text);
  if (size == 0 || !ParseSkin(text, size)) return;
  const void* bitmap = nullptr;
  size = platform->LoadBitmapResource(IDB_SKIN, &bitmap);
  ReadPackedBitmap(bitmap, size, skinImage);
}

// The file is read and checked here, whole, before any of it reaches the
// platform: a damaged bitmap is refused as a missing one is (the system's own
// loader may fault on one cut short).
bool SkinCanvas::LoadBitmapFile(const char* path) {
  MemoryBlock file;
  if (!File::ReadWhole(path, kLargestBitmapFile, file)) {
    skinImage.Release();
    return false;
  }
  return ReadBitmapFile(file.data, file.size, skinImage);
}

void SkinCanvas::RebuildWindowImage(int volume, bool muted) {
  // The old image leaves the drawing context before it is released.
  if (platform) platform->SelectWindowImage(nullptr);
  if (!windowImage.Create(windowWidth, windowHeight)) return;
  if (platform) {
    platform->SelectWindowImage(&windowImage);
    platform->CreateTitleFont(skin);
  }
  DrawElement(kMainRc, kFrameNormal);
  for (int i = kFirstButton; i <= kLastButton; ++i) DrawElement(i, kFrameNormal);
  DrawElement(kMuteButton, muted ? kFrameMuted : kFrameNormal);
  DrawVolume(volume);
  // The title area shows the background until the next SetTitle.
}

void SkinCanvas::DrawElement(int index, int frame) {
  if (index < 0 || index >= kSkinElementCount) return;
  const SkinElement& e = skin[index];
  if (e.dy == -1) return;
  std::int64_t sx = std::int64_t{e.x1} + std::int64_t{frame} * e.width;
  windowImage.CopyRect(e.dx, e.dy, skinImage, Saturate(sx), e.y1, e.width, e.height);
}

void SkinCanvas::RestoreElement(int index) {
  if (index < 0 || index >= kSkinElementCount) return;
  const SkinElement& e = skin[index];
  if (e.dy == -1) return;
  windowImage.CopyRect(e.dx, e.dy, skinImage, e.dx, e.dy, e.width, e.height);
}

std::int64_t SkinCanvas::KnobLeft(int volume) const {
  const SkinElement& track = skin[kVolumeTrack];
  return track.dx + (std::int64_t{track.width} - 1) * ClampVolume(volume) / 100;
}

void SkinCanvas::DrawVolume(int volume) {
  const SkinElement& knob = skin[kVolumeKnob];
  const SkinElement& track = skin[kVolumeTrack];
  if (knob.y2 == -1 || track.y2 == -1) return;
  // The knob hangs over the track by up to its own size: restore that much.
  windowImage.CopyRect(track.dx, track.dy, skinImage, track.dx, track.dy,
                       Saturate(std::int64_t{track.width} + knob.width),
                       Saturate(std::int64_t{track.height} + knob.height));
  windowImage.CopyRect(Saturate(KnobLeft(volume)), track.dy, skinImage, knob.x1, knob.y1, knob.width, knob.height);
}

bool SkinCanvas::SetTitle(const char* text, bool error, CanvasRect* rect) {
  if (skin[kTitleRc].x2 == -1) return false;
  titleMask.Release();
  if (rect) *rect = TitleRect();
  if (!text || text[0] == '\0') {
    RestoreElement(kTitleRc);
    scrolling = 0;
    return true;
  }
  if (!RenderTitleMask(text)) return false;
  scrollOffset = 0;
  colorIndex = error ? 1 : 0;
  RestoreElement(kTitleRc);
  DrawTitle();
  return true;
}

bool SkinCanvas::ScrollTitle(int step, CanvasRect* rect) {
  if (!scrolling || titleMask.IsEmpty()) return false;
  // Kept in 0 .. width - 1 for any step, negative ones included.
  std::int64_t offset = (std::int64_t{scrollOffset} + step) % titleMask.Width();
  if (offset < 0) offset += titleMask.Width();
  scrollOffset = static_cast<int>(offset);
  RestoreElement(kTitleRc);
  DrawTitle();
  if (rect) *rect = TitleRect();
  return true;
}

bool SkinCanvas::RenderTitleMask(const char* text) {
  if (!platform) return false;
  const SkinElement& title = skin[kTitleRc];
  int cx = 0;
  int cy = 0;
  if (!platform->MeasureTitle(text, &cx, &cy)) return false;
  scrolling = (cx > title.width) ? 1 : 0;
  // A scrolling title reads as an endless band: text, " * ", text again.
  TextString band;
  const char* shown = text;
  if (scrolling) {
    band.Assign(text);
    band.Append(" * ");
    shown = band.CStr();
    if (!platform->MeasureTitle(shown, &cx, &cy)) return false;
  }
  PixelImage ink;
  if (!ink.Create(cx, cy)) return false;
  ink.Fill(0);
  platform->RasterizeTitle(shown, ink);
  if (!titleMask.Allocate(cx, cy)) return false;
  // White ink on black: the blue byte is the ink.
  for (int r = 0; r < cy; ++r) {
    std::uint8_t* out = titleMask.Row(r);
    const std::uint32_t* in = ink.PixelAt(0, r);
    for (int c = 0; c < cx; ++c) out[c] = static_cast<std::uint8_t>(in[c] & 0xFF);
  }
  int top = (title.height - cy) / 2;
  if (top < 0) top = 0;
  textTop = Saturate(std::int64_t{top} + title.y1);
  return true;
}

// The mask is drawn only down to the title area's bottom edge: a font taller
// than the area would otherwise leave ink below it that no restore erases.
void SkinCanvas::DrawTitle() {
  const SkinElement& title = skin[kTitleRc];
  std::uint32_t color = colorIndex ? skin.errorColor : skin.textColor;
  std::int64_t rows = std::int64_t{title.dy} + title.height - textTop;
  if (rows <= 0) return;
  int length = scrolling ? title.width : titleMask.Width();
  windowImage.DrawMaskWrapped(title.x1, textTop, length, titleMask, scrolling ? scrollOffset : 0, color,
                              Saturate(rows));
}

void SkinCanvas::PaintTo(void* device) const {
  if (platform) platform->PaintTo(device, windowWidth, windowHeight);
}

bool SkinCanvas::ElementHolds(int index, int x, int y) const {
  const SkinElement& e = skin[index];
  if (e.dy == -1) return false;
  return e.dx <= x && x < std::int64_t{e.dx} + e.width && e.dy <= y && y < std::int64_t{e.dy} + e.height;
}

bool SkinCanvas::HitAnyControl(int x, int y, int volume) const {
  for (int i = kFirstButton; i <= kMuteButton; ++i) {
    if (ElementHolds(i, x, y)) return true;
  }
  return KnobAt(x, y, volume);
}

int SkinCanvas::ButtonAt(int x, int y) const {
  for (int i = kFirstButton; i <= kLastButton; ++i) {
    if (ElementHolds(i, x, y)) return i;
  }
  return kNoButton;
}

int SkinCanvas::MuteAt(int x, int y) const { return ElementHolds(kMuteButton, x, y) ? kMuteButton : kNoButton; }

bool SkinCanvas::KnobAt(int x, int y, int volume) const {
  const SkinElement& track = skin[kVolumeTrack];
  const SkinElement& knob = skin[kVolumeKnob];
  if (track.y2 == -1) return false;
  std::int64_t kx = KnobLeft(volume);
  return kx <= x && x < kx + knob.width && track.dy <= y && y < std::int64_t{track.dy} + knob.height;
}

int SkinCanvas::KnobGrabOffset(int x, int volume) const {
  return Saturate(std::int64_t{x} - KnobLeft(volume));
}

// A track whose ends coincide (x1 == x2) has no length to divide by; it is
// measured as if it were two columns long: the knob's own column is 0 and
// anything right of it 100, so a drag still ends at one of the two.
int SkinCanvas::VolumeFromX(int x) const {
  const SkinElement& track = skin[kVolumeTrack];
  std::int64_t span = std::int64_t{track.width} - 1;
  if (span < 1) span = 1;
  std::int64_t volume = (std::int64_t{x} - track.dx) * 100 / span;
  if (volume < 0) return 0;
  if (volume > 100) return 100;
  return static_cast<int>(volume);
}

CanvasRect SkinCanvas::TitleRect() const {
  const SkinElement& title = skin[kTitleRc];
  CanvasRect r;
  r.left = title.dx;
  r.top = title.dy;
  r.right = Saturate(std::int64_t{title.dx} + title.width);
  r.bottom = Saturate(std::int64_t{title.dy} + title.height);
  return r;
}
