#include "toolkit/TextString.h"

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "toolkit/Platform.h"

namespace {

int ConstructCapacity(int n) {
  if (n < 64) return 63;
  if (n < 128) return 127;
  if (n < 256) return 255;
  if (n < 512) return 511;
  return n;
}

int ReserveCapacity(int n) {
  if (n <= 127) return 127;
  if (n <= 255) return 255;
  if (n <= 511) return 511;
  if (n <= 1023) return 1023;
  if (n <= 2047) return 2047;
  return n;
}

char* AllocateBlock(int capacity) {
  // Text blocks are tiny; running out of memory here has no recovery path.
  char* block = static_cast<char*>(std::malloc(static_cast<size_t>(capacity) + 1));
  if (!block) std::abort();
  block[0] = '\0';
  block[capacity] = '\0';
  return block;
}

// Bytes of the character at p: a lead byte takes its trail byte along unless
// the text ends there.
int CharBytes(const char* p) {
  return (platform::IsLeadByte(static_cast<unsigned char>(p[0])) && p[1] != '\0') ? 2 : 1;
}

}  // namespace

TextString::TextString() : data(AllocateBlock(63)), capacity(63) {}

TextString::TextString(int reserve) : capacity(ConstructCapacity(reserve)) { data = AllocateBlock(capacity); }

TextString::~TextString() {
  std::free(data);
  data = nullptr;
  capacity = 0;
}

TextString::TextString(TextString&& other) noexcept : data(other.data), capacity(other.capacity) {
  other.data = AllocateBlock(63);
  other.capacity = 63;
}

TextString& TextString::operator=(TextString&& other) noexcept {
  if (this != &other) {
    char* oldData = data;
    int oldCapacity = capacity;
    data = other.data;
    capacity = other.capacity;
    other.data = oldData;
    other.capacity = oldCapacity;
  }
  return *this;
}

void TextString::Grow(int newCapacity) {
  char* block = AllocateBlock(newCapacity);
  std::memcpy(block, data, std::strlen(data) + 1);
  std::free(data);
  data = block;
  capacity = newCapacity;
}

void TextString::Reserve(int n) {
  if (capacity >= n) return;
  Grow(ReserveCapacity(n));
}

void TextString::Assign(const char* text) { Assign(text, static_cast<int>(std::strlen(text))); }

void TextString::Assign(const char* text, int count) {
  if (count < 0) count = 0;
  // The source may lie inside this string's own block.
  if (text >= data && text <= data + capacity) {
    std::memmove(data, text, static_cast<size_t>(count));
    data[count] = '\0';
    return;
  }
  Reserve(count);
  std::memcpy(data, text, static_cast<size_t>(count));
  data[count] = '\0';
}

void TextString::Append(const char* text) { Append(text, static_cast<int>(std::strlen(text))); }

void TextString::Append(const char* text, int count) {
  if (count <= 0) return;
  int length = Length();
  if (text >= data && text <= data + capacity) {
    int offset = static_cast<int>(text - data);
    Reserve(length + count);
    text = data + offset;
  } else {
    Reserve(length + count);
  }
  std::memmove(data + length, text, static_cast<size_t>(count));
  data[length + count] = '\0';
}

int TextString::AppendAt(int end, const char* text, int count) {
  // A wrong end is the caller's mistake; it must still never write astray.
  if (end < 0 || end > capacity || data[end] != '\0') end = Length();
  if (count <= 0) return end;
  if (capacity - end < count) {
    int wanted = end + count;
    int doubled = capacity > INT_MAX / 2 ? INT_MAX - 1 : capacity * 2;
    int grown = wanted > doubled ? wanted : doubled;
    if (text >= data && text <= data + capacity) {
      int offset = static_cast<int>(text - data);
      Grow(grown);
      text = data + offset;
    } else {
      Grow(grown);
    }
  }
  std::memmove(data + end, text, static_cast<size_t>(count));
  data[end + count] = '\0';
  return end + count;
}

void TextString::AppendChar(char c) {
  int length = Length();
  Reserve(length + 1);
  data[length] = c;
  data[length + 1] = '\0';
}

// The length of the formatted text, with as much of it as fits in room
// bytes (NUL included). MinGW's C++ library sends vsnprintf to MinGW's own
// printf, some 20 KB of code for conversions the program never asks for: it
// formats only %d and %s, which the system's C runtime does alike.
#ifdef __MINGW32__
static int FormatInto(char* out, std::size_t room, const char* format, va_list args) {
  va_list copy;
  va_copy(copy, args);
  int needed = _vscprintf(format, copy);
  va_end(copy);
  _vsnprintf(out, room, format, args);
  out[room - 1] = '\0';
  return needed;
}
#else
static int FormatInto(char* out, std::size_t room, const char* format, va_list args) {
  return std::vsnprintf(out, room, format, args);
}
#endif

namespace {

// Formatted apart first: an argument may be this string's own text, which
// clearing (Format) or growing the block would change under the formatting.
// Short texts, nearly all of them, need no block of their own.
class FormattedText {
 public:
  FormattedText(const char* format, va_list args) {
    va_list copy;
    va_copy(copy, args);
    length = FormatInto(local, sizeof local, format, copy);
    va_end(copy);
    if (length >= static_cast<int>(sizeof local)) {
      heap = AllocateBlock(length);
      FormatInto(heap, static_cast<std::size_t>(length) + 1, format, args);
    }
  }
  ~FormattedText() { std::free(heap); }
  FormattedText(const FormattedText&) = delete;
  FormattedText& operator=(const FormattedText&) = delete;

  const char* Text() const { return heap ? heap : local; }
  int length = 0;  // negative when the format is bad

 private:
  char local[256];
  char* heap = nullptr;
};

}  // namespace

void TextString::AppendFormatV(const char* format, va_list args) {
  FormattedText text(format, args);
  if (text.length > 0) Append(text.Text(), text.length);
}

void TextString::Format(const char* format, ...) {
  va_list args;
  va_start(args, format);
  FormattedText text(format, args);
  va_end(args);
  if (text.length > 0) {
    Assign(text.Text(), text.length);
  } else {
    Clear();
  }
}

void TextString::AppendFormat(const char* format, ...) {
  va_list args;
  va_start(args, format);
  AppendFormatV(format, args);
  va_end(args);
}

int TextString::Length() const { return static_cast<int>(std::strlen(data)); }

char TextString::CharAt(int p) const { return (p >= 0 && p <= capacity) ? data[p] : '\0'; }

int TextString::SetCharAt(int p, char c) {
  if (p >= 0 && p < capacity) data[p] = c;
  return p;
}

int TextString::Compare(const char* text) const { return platform::CompareText(data, text); }
int TextString::CompareNoCase(const char* text) const { return platform::CompareTextNoCase(data, text); }

int TextString::Find(int start, char c) const {
  if (start < 0 || start > Length()) return -1;
  for (const char* p = data + start; *p; p += CharBytes(p)) {
    if (*p == c && CharBytes(p) == 1) return static_cast<int>(p - data);
  }
  return -1;
}

int TextString::FindLast(char c) const {
  int found = -1;
  for (const char* p = data; *p; p += CharBytes(p)) {
    if (*p == c && CharBytes(p) == 1) found = static_cast<int>(p - data);
  }
  return found;
}

void TextString::Substring(TextString& target, int start, int count) const {
  int length = Length();
  if (start < 0) start = 0;
  if (start > length) start = length;
  if (count < 0 || count > length - start) count = length - start;
  target.Assign(data + start, count);
}

void TextString::ReplaceChar(char c, char r) {
  // Walk the text as it stood before the call: r may be NUL.
  char* end = data + Length();
  for (char* p = data; p < end;) {
    int bytes = CharBytes(p);
    if (bytes == 1 && *p == c) *p = r;
    p += bytes;
  }
}

void TextString::ReplaceAll(const char* search, const char* replacement) {
  size_t searchLength = std::strlen(search);
  if (searchLength == 0) return;
  TextString result(capacity);
  const char* p = data;
  while (*p) {
    if (std::strncmp(p, search, searchLength) == 0) {
      result.Append(replacement);
      p += searchLength;
    } else {
      int bytes = CharBytes(p);
      result.Append(p, bytes);
      p += bytes;
    }
  }
  Assign(result.CStr());
}

void TextString::TruncateBytes(int n) {
  int count = 0;
  for (char* p = data; *p;) {
    int bytes = CharBytes(p);
    if (count + bytes > n) {
      *p = '\0';
      return;
    }
    count += bytes;
    p += bytes;
  }
}

const char* TextString::Field(int index, char separator) {
  if (separator != '\0') ReplaceChar(separator, '\0');
  const char* p = data;
  const char* last = data + capacity;  // always NUL: the walk never leaves the block
  for (int i = 0; i < index; ++i) {
    if (*p == '\0' || p >= last) return p;
    p += std::strlen(p) + 1;
    if (p > last) return last;
  }
  return p;
}

void TextString::LoadResourceString(unsigned id) { platform::LoadResourceString(id, data, BufferSize()); }

void TextString::RemoveFileName() {
  int cut = FindLast('\\');
  if (cut < 0) cut = FindLast('/');
  data[cut < 0 ? 0 : cut] = '\0';
}

void TextString::GetExtension(TextString& target) const {
  int dot = FindLast('.');
  if (dot < 0) {
    target.Clear();
    return;
  }
  target.Assign(data + dot + 1);
}

void TextString::GetBaseName(TextString& target) const {
  int separator = FindLast('\\');
  if (separator < 0) separator = FindLast('/');
  int start = separator + 1;
  int end = Length();
  int dot = Find(start, '.');
  while (dot >= 0) {
    end = dot;
    dot = Find(dot + 1, '.');
  }
  target.Assign(data + start, end - start);
}

void TextString::ChangeExtension(const char* extension) {
  int dot = FindLast('.');
  if (dot < 0) return;
  data[dot + 1] = '\0';
  Append(extension);
}

void TextString::SetToExeDirectory(const char* fileName) {
  Reserve(511);
  if (platform::ExecutablePath(data, BufferSize()) == 0) return;
  RemoveFileName();
  if (fileName) {
    Append("\\");
    Append(fileName);
  }
}
