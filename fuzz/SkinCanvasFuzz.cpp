// Any skin text drives the whole canvas on small images: drawing every
// element and frame, the knob at every volume, titles and scrolling, and every
// hit test. AddressSanitizer catches any pixel written outside an image.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "ui/main/PixelImage.h"
#include "ui/main/SkinCanvas.h"
#include "ui/main/SkinCanvasPlatform.h"
#include "resources/ResourceText.h"
#include "toolkit/Platform.h"
#include "ui/main/SkinDescription.h"

namespace {

class FuzzPlatform : public SkinCanvasPlatform {
 public:
  void SelectWindowImage(const PixelImage*) override {}
  void CreateTitleFont(const SkinDescription&) override {}
  bool MeasureTitle(const char* text, int* width, int* height) override {
    *width = static_cast<int>(std::strlen(text)) * glyphWidth;
    *height = glyphHeight;
    return true;
  }
  void RasterizeTitle(const char* text, PixelImage& target) override {
    for (int i = 0; text[i] != '\0' && i * glyphWidth < target.Width(); ++i) {
      for (int r = 0; r < target.Height(); r += 2) *target.PixelAt(i * glyphWidth, r) = 0xFFFFFF;
    }
  }
  // A packed 32-bit bitmap of the sheet's size, every pixel 0x123456.
  std::uint32_t LoadBitmapResource(int, const void** data) override {
    static std::uint8_t bitmap[40 + 4 * 128 * 48];
    auto put = [](std::uint8_t* at, std::uint32_t v) {
      for (int i = 0; i < 4; ++i) at[i] = static_cast<std::uint8_t>(v >> (8 * i));
    };
    std::memset(bitmap, 0, 40);
    put(bitmap, 40);
    put(bitmap + 4, static_cast<std::uint32_t>(sheetWidth));
    put(bitmap + 8, static_cast<std::uint32_t>(sheetHeight));
    put(bitmap + 12, 1 | (32 << 16));  // one plane, 32 bits per pixel
    std::uint32_t pixels = static_cast<std::uint32_t>(sheetWidth * sheetHeight);
    for (std::uint32_t i = 0; i < pixels; ++i) put(bitmap + 40 + 4 * i, 0x123456);
    *data = bitmap;
    return 40 + 4 * pixels;
  }
  std::uint32_t LoadResourceData(const char*, int, const void** data) override {
    *data = skinBytes;
    return skinCount;
  }
  void PaintTo(void*, int, int) override {}

  int glyphWidth = 1;
  int glyphHeight = 1;
  int sheetWidth = 1;
  int sheetHeight = 1;
  const void* skinBytes = nullptr;
  std::uint32_t skinCount = 0;
};

}  // namespace

// The element keys come from the program's string table.
extern "C" int LLVMFuzzerInitialize(int*, char***) {
  platform::RegisterResourceString(IDS_SKIN_ELEMENT_KEYS, TEXT_SKIN_ELEMENT_KEYS);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 8) return 0;
  FuzzPlatform platform;
  platform.sheetWidth = 1 + data[0] % 128;
  platform.sheetHeight = 1 + data[1] % 48;
  platform.glyphWidth = data[2] % 9;
  platform.glyphHeight = 1 + data[3] % 40;
  int step = static_cast<std::int8_t>(data[4]) * 37;
  int volume = static_cast<std::int8_t>(data[5]) * 2;
  int titleLength = data[6] % 80;
  platform.skinBytes = data + 8;
  platform.skinCount = static_cast<std::uint32_t>(size - 8);

  // Keep the window small so that each run stays fast: no larger than the
  // built-in skin's 343 x 20. The window takes main_rc's size even from a
  // text that fails (here the "built-in" text is the input too).
  SkinDescription probe;
  ParseSkin(probe, platform.skinBytes, platform.skinCount);
  if (std::int64_t{probe[kMainRc].width} * probe[kMainRc].height > (1 << 13)) return 0;

  SkinCanvas canvas;
  canvas.AttachPlatform(&platform);
  canvas.LoadSkin("fuzz-skin-that-does-not-exist", volume, data[7] & 1);
  for (int i = -1; i <= kSkinElementCount; ++i) {
    for (int frame = 0; frame < 3; ++frame) canvas.DrawElement(i, frame);
    canvas.RestoreElement(i);
  }
  for (int v = -10; v <= 110; v += 5) canvas.DrawVolume(v);

  std::string title(reinterpret_cast<const char*>(data + 8), std::min<std::size_t>(titleLength, size - 8));
  title.erase(std::find(title.begin(), title.end(), '\0'), title.end());
  CanvasRect rect;
  canvas.SetTitle(title.c_str(), data[7] & 2, &rect);
  for (int i = 0; i < 8; ++i) canvas.ScrollTitle(step, &rect);
  if (canvas.IsScrolling() && !canvas.TitleMask().IsEmpty() &&
      (canvas.ScrollOffset() < 0 || canvas.ScrollOffset() >= canvas.TitleMask().Width())) {
    std::abort();
  }

  const SkinElement& track = canvas.Skin()[kVolumeTrack];
  int xs[] = {INT32_MIN, -1, 0, 1, track.dx, track.dx + 1, track.x2, canvas.WindowWidth() - 1, INT32_MAX};
  for (int x : xs) {
    for (int y : {INT32_MIN, 0, 4, canvas.WindowHeight() - 1, INT32_MAX}) {
      (void)canvas.HitAnyControl(x, y, volume);
      int button = canvas.ButtonAt(x, y);
      if (button != -1 && (button < kFirstButton || button > kLastButton)) std::abort();
      (void)canvas.MuteAt(x, y);
      (void)canvas.KnobAt(x, y, volume);
    }
    int v = canvas.VolumeFromX(x);
    if (v < 0 || v > 100) std::abort();
    (void)canvas.KnobGrabOffset(x, volume);
  }
  canvas.SetTitle("", false, nullptr);
  return 0;
}
