// Every option and window place of the program, kept in "Korimba3.ini" beside
// the executable: read once at start-up, written whole when the bar closes or
// the log-on ends. The rest of the program reads and changes gSettings
// directly.
#pragma once

#include <cstdint>

#include "toolkit/File.h"
#include "toolkit/TextString.h"

// OptFlag bits.
constexpr std::int32_t kOptTopmost = 0x01;
constexpr std::int32_t kOptSearchShown = 0x02;
constexpr std::int32_t kOptFavoritesShown = 0x04;
constexpr std::int32_t kOptMuted = 0x08;
constexpr std::int32_t kOptMp3Only = 0x10;
constexpr std::int32_t kOptClearOnClose = 0x20;
constexpr std::int32_t kOptDeviceVolume = 0x40;

// A stored window coordinate that means "never saved".
constexpr std::int32_t kNoPosition = -10000;

// One field per key; a fresh object holds the defaults.
struct Settings {
  Settings();
  void SetDefaults();

  std::int32_t winX, winY;
  std::int32_t favWinLeft, favWinTop, favWinRight, favWinBottom;
  std::int32_t searchWinLeft, searchWinTop, searchWinRight, searchWinBottom;
  std::int32_t favColW[4];
  std::int32_t optFlag;
  std::int32_t vol;
  std::int32_t wheelAdd;
  std::int32_t playBuf;
  std::int32_t titleScroll;
  std::int32_t titleScrollAdd;
  std::int32_t searchCnt;
  TextString skin;
  TextString lastURL;
};

extern Settings gSettings;

// The executable's directory, a backslash, "Korimba3.ini".
void SettingsPath(TextString& path);

// Reads path into values; anything missing or unreadable keeps its default.
void LoadSettings(Settings& values, const char* path);
// The same over the bytes of a settings file.
void ParseSettings(Settings& values, const void* bytes, std::uint32_t count);
// The file beside the executable into gSettings.
void LoadSettings();

// The exact bytes of the file: the section header, 21 integer lines and the
// two text lines, each ended by CR LF.
void FormatSettings(const Settings& values, TextString& out);

// Writes values to path whole (File::SaveWhole): the old file stays as it was
// whatever fails. The caller first stores the windows' current normal
// rectangles and the favorites list's column widths in values. Returns false
// when nothing was replaced.
bool SaveSettings(const Settings& values, const char* path, ReplaceFileFunction replace);
bool SaveSettings(const Settings& values, const char* path);
// gSettings to the file beside the executable.
bool SaveSettings();
