// Any bytes as a skin text: parse, then check what the canvas relies on.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "resources/ResourceText.h"
#include "toolkit/Platform.h"
#include "ui/main/SkinDescription.h"

// The element keys come from the program's string table.
extern "C" int LLVMFuzzerInitialize(int*, char***) {
  platform::RegisterResourceString(IDS_SKIN_ELEMENT_KEYS, TEXT_SKIN_ELEMENT_KEYS);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  SkinDescription skin;
  bool ok = ParseSkin(skin, data, static_cast<std::uint32_t>(size));
  if (std::memchr(skin.fontFace, '\0', sizeof skin.fontFace) == nullptr) std::abort();
  if (!ok) return 0;
  const SkinElement& main = skin[kMainRc];
  if (main.width < 1 || main.height < 1 || main.width > kMaxWindowSide || main.height > kMaxWindowSide) std::abort();
  if (main.dx != 0 || main.dy != 0) std::abort();
  for (int i = 0; i < kSkinElementCount; ++i) {
    const SkinElement& e = skin[i];
    // A present rectangle has its corners in order and its size derived.
    if (e.y2 != -1 && i != kTitleRc && (e.x1 > e.x2 || e.y1 > e.y2)) std::abort();
  }
  const SkinElement& title = skin[kTitleRc];
  if (title.x2 != -1 && (title.x2 >= main.width || title.y2 >= main.height || title.x1 < 0 || title.y1 < 0)) {
    std::abort();
  }
  return 0;
}
