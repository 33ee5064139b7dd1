#include "toolkit/KeyValueDocument.h"

#include <cstdlib>
#include <cstring>

#include "toolkit/File.h"
#include "toolkit/Numbers.h"
#include "toolkit/Platform.h"
#include "toolkit/TextString.h"

int StorableValueLength(const char* value) {
  const char* end = value;
  while (*end && *end != '\r' && *end != '\n') {
    if (!platform::IsLeadByte(static_cast<unsigned char>(*end))) {
      ++end;
      continue;
    }
    if (end[1] == '\0' || end[1] == '\r' || end[1] == '\n') break;
    end += 2;
  }
  return static_cast<int>(end - value);
}

void KeyValueDocument::Reset() {
  std::free(text);
  std::free(lines);
  text = nullptr;
  lines = nullptr;
  lineCount = 0;
  section = -1;
}

bool KeyValueDocument::LoadFile(const char* path) {
  Reset();
  File file;
  if (!file.OpenRead(path)) return false;
  std::uint32_t size = file.Size();
  if (size == 0 || size == UINT32_MAX) return false;
  text = static_cast<char*>(std::malloc(static_cast<size_t>(size) + 1));
  if (!text) return false;
  int got = file.Read(text, static_cast<int>(size));
  if (got <= 0) {
    Reset();
    return false;
  }
  text[got] = '\0';
  file.Close();
  if (!SplitLines()) {
    Reset();
    return false;
  }
  return true;
}

bool KeyValueDocument::LoadText(const void* bytes, std::uint32_t count) {
  Reset();
  text = static_cast<char*>(std::malloc(static_cast<size_t>(count) + 1));
  if (!text) return false;
  if (count) std::memcpy(text, bytes, count);
  text[count] = '\0';
  if (!SplitLines()) {
    Reset();
    return false;
  }
  return true;
}

bool KeyValueDocument::SplitLines() {
  // CR, LF and the pair CR LF each end a line; LF CR is two line ends. The
  // walk goes by characters so a trail byte is never taken for a line end.
  int count = 1;
  for (const char* p = text; *p;) {
    if (*p == '\r') {
      p += (p[1] == '\n') ? 2 : 1;
      ++count;
    } else if (*p == '\n') {
      ++p;
      ++count;
    } else {
      p = platform::NextChar(p);
    }
  }
  lines = static_cast<char**>(std::malloc(sizeof(char*) * static_cast<size_t>(count)));
  if (!lines) return false;
  int n = 0;
  lines[n++] = text;
  for (char* p = text; *p;) {
    if (*p == '\r') {
      bool pair = (p[1] == '\n');
      p[0] = '\0';
      if (pair) p[1] = '\0';
      p += pair ? 2 : 1;
      lines[n++] = p;
    } else if (*p == '\n') {
      *p++ = '\0';
      lines[n++] = p;
    } else {
      p = const_cast<char*>(platform::NextChar(p));
    }
  }
  lineCount = n;
  return true;
}

void KeyValueDocument::SelectSection(const char* name) {
  section = -1;
  int n = static_cast<int>(std::strlen(name));
  for (int i = 0; i < lineCount; ++i) {
    const char* line = lines[i];
    if (line[0] != '[') continue;
    if (static_cast<int>(std::strlen(line)) < n + 2 || line[n + 1] != ']') continue;
    if (platform::EqualNoCaseN(line + 1, name, n)) {
      section = i;
      return;
    }
  }
}

const char* KeyValueDocument::FindValue(const char* key) const {
  if (section < 0) return nullptr;
  int n = static_cast<int>(std::strlen(key));
  for (int i = section + 1; i < lineCount; ++i) {
    const char* line = lines[i];
    if (line[0] == '[') return nullptr;
    if (static_cast<int>(std::strlen(line)) < n + 1 || line[n] != '=') continue;
    if (platform::EqualNoCaseN(line, key, n)) return line + n + 1;
  }
  return nullptr;
}

void KeyValueDocument::GetString(const char* key, char* buffer, int bufferSize, const char* defaultText) const {
  if (bufferSize <= 0) return;
  const char* value = FindValue(key);
  if (!value) value = defaultText;
  size_t length = std::strlen(value);
  if (length > static_cast<size_t>(bufferSize - 1)) length = static_cast<size_t>(bufferSize - 1);
  std::memcpy(buffer, value, length);
  buffer[length] = '\0';
}

void KeyValueDocument::GetText(const char* key, TextString& value, const char* defaultText) const {
  const char* found = FindValue(key);
  value.Assign(found ? found : defaultText);
}

std::int32_t KeyValueDocument::GetInt(const char* key, std::int32_t defaultValue) const {
  const char* value = FindValue(key);
  return value ? ReadDecimal(value) : defaultValue;
}

std::uint32_t KeyValueDocument::GetHex(const char* key, std::uint32_t defaultValue) const {
  const char* value = FindValue(key);
  if (!value) return defaultValue;
  // Letters count 10 to 35 over the whole alphabet, not only A to F.
  std::uint32_t result = 0;
  for (int i = 0; i < 8; ++i) {
    char c = value[i];
    std::uint32_t digit;
    if (c >= '0' && c <= '9') {
      digit = static_cast<std::uint32_t>(c - '0');
    } else if (c >= 'A' && c <= 'Z') {
      digit = static_cast<std::uint32_t>(c - 'A' + 10);
    } else if (c >= 'a' && c <= 'z') {
      digit = static_cast<std::uint32_t>(c - 'a' + 10);
    } else {
      break;
    }
    result = (result << 4) | digit;
  }
  return result;
}
