#include "shell/Settings.h"

#include "toolkit/File.h"
#include "toolkit/KeyValueDocument.h"
#include "toolkit/UrlText.h"

Settings gSettings;

namespace {

const char kFileName[] = "Korimba3.ini";
const char kSection[] = "Korimba3";

struct IntKey {
  const char* name;
  std::int32_t Settings::*field;
  std::int32_t defaultValue;
};

// In the order of the file; the column widths go between the search window's
// rectangle and OptFlag.
const IntKey kPlaceKeys[] = {
    {"WinX", &Settings::winX, kNoPosition},
    {"WinY", &Settings::winY, kNoPosition},
    {"FavWinLeft", &Settings::favWinLeft, kNoPosition},
    {"FavWinTop", &Settings::favWinTop, kNoPosition},
    {"FavWinRight", &Settings::favWinRight, 300},
    {"FavWinBottom", &Settings::favWinBottom, 300},
    {"SearchWinLeft", &Settings::searchWinLeft, kNoPosition},
    {"SearchWinTop", &Settings::searchWinTop, kNoPosition},
    {"SearchWinRight", &Settings::searchWinRight, 300},
    {"SearchWinBottom", &Settings::searchWinBottom, 300},
};
const IntKey kOptionKeys[] = {
    {"OptFlag", &Settings::optFlag, kOptMp3Only},
    {"Vol", &Settings::vol, 100},
    {"WheelAdd", &Settings::wheelAdd, 10},
    {"PlayBuf", &Settings::playBuf, 1500},
    {"TitleScroll", &Settings::titleScroll, 160},
    {"TitleScrollAdd", &Settings::titleScrollAdd, 4},
    {"SearchCnt", &Settings::searchCnt, 50},
};
constexpr int kColumnCount = 4;
constexpr std::int32_t kDefaultColumnWidth = 100;
const char kDefaultSkin[] = "default";

// A text value ends at its first line break: the file is one value a line,
// and the reader would cut it there anyway.
void AppendTextLine(TextString& out, const char* key, const char* value) {
  out.Append(key);
  out.AppendChar('=');
  out.Append(value, StorableValueLength(value));
  out.Append("\r\n");
}

}  // namespace

Settings::Settings() { SetDefaults(); }

void Settings::SetDefaults() {
  for (const IntKey& key : kPlaceKeys) this->*key.field = key.defaultValue;
  for (std::int32_t& width : favColW) width = kDefaultColumnWidth;
  for (const IntKey& key : kOptionKeys) this->*key.field = key.defaultValue;
  skin.Assign(kDefaultSkin);
  lastURL.Clear();
}

void SettingsPath(TextString& path) { path.SetToExeDirectory(kFileName); }

namespace {

void ReadSettings(Settings& values, KeyValueDocument& document) {
  document.SelectSection(kSection);
  if (document.Section() < 0) return;

  for (const IntKey& key : kPlaceKeys) values.*key.field = document.GetInt(key.name, key.defaultValue);
  TextString name;
  for (int n = 1; n <= kColumnCount; ++n) {
    name.Format("FavColW%d", n);
    std::int32_t width = document.GetInt(name.CStr(), kDefaultColumnWidth);
    // A column shrunk to nothing could never be found again to widen it.
    values.favColW[n - 1] = width <= 1 ? kDefaultColumnWidth : width;
  }
  for (const IntKey& key : kOptionKeys) values.*key.field = document.GetInt(key.name, key.defaultValue);
  document.GetText("Skin", values.skin, kDefaultSkin);
  document.GetText("LastURL", values.lastURL, "");
  CutUrlAtLineBreak(values.lastURL);
}

}  // namespace

void LoadSettings(Settings& values, const char* path) {
  values.SetDefaults();
  KeyValueDocument document;
  if (document.LoadFile(path)) ReadSettings(values, document);
}

void ParseSettings(Settings& values, const void* bytes, std::uint32_t count) {
  values.SetDefaults();
  KeyValueDocument document;
  if (document.LoadText(bytes, count)) ReadSettings(values, document);
}

void LoadSettings() {
  TextString path;
  SettingsPath(path);
  LoadSettings(gSettings, path.CStr());
}

void FormatSettings(const Settings& values, TextString& out) {
  out.Assign("[");
  out.Append(kSection);
  out.Append("]\r\n");
  for (const IntKey& key : kPlaceKeys) out.AppendFormat("%s=%d\r\n", key.name, values.*key.field);
  for (int n = 1; n <= kColumnCount; ++n) out.AppendFormat("FavColW%d=%d\r\n", n, values.favColW[n - 1]);
  for (const IntKey& key : kOptionKeys) out.AppendFormat("%s=%d\r\n", key.name, values.*key.field);
  AppendTextLine(out, "Skin", values.skin.CStr());
  AppendTextLine(out, "LastURL", values.lastURL.CStr());
}

bool SaveSettings(const Settings& values, const char* path, ReplaceFileFunction replace) {
  TextString bytes(511);
  FormatSettings(values, bytes);
  return File::SaveWhole(path, bytes.CStr(), bytes.Length(), replace);
}

bool SaveSettings(const Settings& values, const char* path) { return SaveSettings(values, path, &File::Replace); }

bool SaveSettings() {
  TextString path;
  SettingsPath(path);
  return SaveSettings(gSettings, path.CStr());
}
