#include "ui/main/SkinDescription.h"

#include <cstring>

#include "resources/ResourceText.h"
#include "toolkit/KeyValueDocument.h"
#include "toolkit/Numbers.h"
#include "toolkit/TextString.h"

namespace {

// ＭＳ ゴシック
const char kDefaultFontFace[] = "\x82l\x82r \x83S\x83V\x83" "b\x83N";

constexpr int kNumbersPerElement = 6;

std::int32_t* Field(SkinElement& e, int i) {
  std::int32_t* fields[kNumbersPerElement] = {&e.x1, &e.y1, &e.x2, &e.y2, &e.dx, &e.dy};
  return fields[i];
}

void MarkAbsent(SkinElement& e) {
  for (int i = 0; i < kNumbersPerElement; ++i) *Field(e, i) = -1;
}

// Up to six comma-separated numbers; an empty piece ends the list. Reversed
// corners, or an extent that a 32-bit size cannot hold, make the element absent.
// value is scratch space, one block for all the elements of a skin.
void ReadElement(const KeyValueDocument& doc, const char* key, SkinElement& e, TextString& value) {
  MarkAbsent(e);
  if (key[0] == '\0') return;
  doc.GetText(key, value, "");
  if (value.IsEmpty()) return;
  value.AppendChar(',');
  int length = value.Length();
  value.ReplaceChar(',', '\0');
  const char* p = value.CStr();
  const char* end = p + length;
  for (int taken = 0; p < end && *p != '\0' && taken < kNumbersPerElement; ++taken) {
    *Field(e, taken) = ReadDecimal(p);
    p += std::strlen(p) + 1;
  }
  if (e.x1 > e.x2 || e.y1 > e.y2) {
    MarkAbsent(e);
    return;
  }
  std::int64_t width = std::int64_t{e.x2} - e.x1 + 1;
  std::int64_t height = std::int64_t{e.y2} - e.y1 + 1;
  if (width > INT32_MAX || height > INT32_MAX) {
    MarkAbsent(e);
    return;
  }
  e.width = static_cast<std::int32_t>(width);
  e.height = static_cast<std::int32_t>(height);
}

std::int32_t Saturate(std::int64_t v) {
  if (v > INT32_MAX) return INT32_MAX;
  if (v < INT32_MIN) return INT32_MIN;
  return static_cast<std::int32_t>(v);
}

bool DeriveGeometry(SkinDescription& skin) {
  SkinElement& main = skin[kMainRc];
  if (main.y2 == -1) return false;
  if (main.width > kMaxWindowSide || main.height > kMaxWindowSide ||
      std::int64_t{main.width} * main.height > kMaxWindowPixels) {
    return false;
  }
  main.dx = 0;
  main.dy = 0;

  // The title area is given in window coordinates; keep it inside the window.
  SkinElement& title = skin[kTitleRc];
  if (title.x1 < main.dx) title.x1 = main.dx;
  if (title.y1 < main.dy) title.y1 = main.dy;
  if (title.x2 >= main.dx + main.width) title.x2 = main.dx + main.width - 1;
  if (title.y2 >= main.dy + main.height) title.y2 = main.dy + main.height - 1;
  title.width = Saturate(std::int64_t{title.x2} - title.x1 + 1);
  title.height = Saturate(std::int64_t{title.y2} - title.y1 + 1);
  title.dx = title.x1;
  title.dy = title.y1;

  for (int i = kFirstButton; i <= kLastButton; ++i) skin[i].width /= 3;
  skin[kMuteButton].width /= 2;

  // The knob's centre travels from x1 to x2 of the track.
  SkinElement& track = skin[kVolumeTrack];
  const SkinElement& knob = skin[kVolumeKnob];
  track.dx = Saturate(std::int64_t{track.x1} - knob.width / 2);
  track.dy = Saturate(std::int64_t{track.y1} + (std::int64_t{track.height} - knob.height) / 2);
  return true;
}

bool ParseDocument(SkinDescription& skin, KeyValueDocument& doc) {
  doc.SelectSection("skin");

  // The key string is longer than a default TextString holds: reserve first
  // so the last names are not cut off.
  TextString keys;
  keys.Reserve(static_cast<int>(sizeof TEXT_SKIN_ELEMENT_KEYS));
  keys.LoadResourceString(IDS_SKIN_ELEMENT_KEYS);
  int keysLength = keys.Length();
  keys.ReplaceChar('/', '\0');
  const char* name = keys.CStr();
  const char* keysEnd = name + keysLength;
  TextString value;
  for (int i = 0; i < kSkinElementCount; ++i) {
    ReadElement(doc, name < keysEnd ? name : "", skin[i], value);
    if (name < keysEnd) name += std::strlen(name) + 1;
  }

  doc.GetString("title_font", skin.fontFace, sizeof skin.fontFace, kDefaultFontFace);
  skin.fontSize = doc.GetInt("title_fontsize", 12);
  skin.bold = doc.GetInt("title_bold", 0);
  skin.textColor = doc.GetHex("title_textcol", 0xFFFFFF);
  skin.errorColor = doc.GetHex("title_errcol", 0xFF9999);
  return DeriveGeometry(skin);
}

}  // namespace

bool ParseSkin(SkinDescription& skin, const char* path) {
  KeyValueDocument doc;
  if (!doc.LoadFile(path)) return false;
  return ParseDocument(skin, doc);
}

bool ParseSkin(SkinDescription& skin, const void* bytes, std::uint32_t count) {
  KeyValueDocument doc;
  if (!doc.LoadText(bytes, count)) return false;
  return ParseDocument(skin, doc);
}
