// Reader of every INI-style text of the program (settings, skins, playlists).
// The format is narrow on purpose: headers and keys start in the first
// column, "=" follows the key directly, nothing is trimmed.
#pragma once

#include <cstdint>

class TextString;

// How many leading bytes of value come back whole as the value of one line:
// everything before its first line break, less a lead byte that has no
// second byte before that break (the reader would take the line end for it).
int StorableValueLength(const char* value);

class KeyValueDocument {
 public:
  KeyValueDocument() = default;
  ~KeyValueDocument() { Reset(); }
  KeyValueDocument(const KeyValueDocument&) = delete;
  KeyValueDocument& operator=(const KeyValueDocument&) = delete;

  void Reset();
  bool LoadFile(const char* path);
  bool LoadText(const void* bytes, std::uint32_t count);
  void SelectSection(const char* name);
  const char* FindValue(const char* key) const;
  void GetString(const char* key, char* buffer, int bufferSize, const char* defaultText) const;
  void GetText(const char* key, TextString& value, const char* defaultText) const;
  std::int32_t GetInt(const char* key, std::int32_t defaultValue) const;
  std::uint32_t GetHex(const char* key, std::uint32_t defaultValue) const;

  int LineCount() const { return lineCount; }
  int Section() const { return section; }
  // Line index (0 to LineCount() - 1) without its line end.
  const char* Line(int index) const { return lines[index]; }

 private:
  bool SplitLines();

  char* text = nullptr;
  char** lines = nullptr;
  int lineCount = 0;
  int section = -1;
};
