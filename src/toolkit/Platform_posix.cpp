#include "toolkit/Platform.h"

#include <iconv.h>
#include <pthread.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace platform {

bool IsLeadByte(unsigned char c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }

const char* NextChar(const char* p) {
  if (*p == '\0') return p;
  if (IsLeadByte(static_cast<unsigned char>(*p)) && p[1] != '\0') return p + 2;
  return p + 1;
}

namespace {
int FoldAscii(unsigned char c) { return (c >= 'A' && c <= 'Z') ? c + ('a' - 'A') : c; }
int Sign(int v) { return (v > 0) - (v < 0); }
}  // namespace

int CompareText(const char* a, const char* b) { return Sign(std::strcmp(a, b)); }

int CompareTextNoCase(const char* a, const char* b) {
  for (;; ++a, ++b) {
    int ca = FoldAscii(static_cast<unsigned char>(*a));
    int cb = FoldAscii(static_cast<unsigned char>(*b));
    if (ca != cb || ca == 0) return Sign(ca - cb);
  }
}

bool EqualNoCaseN(const char* a, const char* b, int n) {
  for (int i = 0; i < n; ++i) {
    if (FoldAscii(static_cast<unsigned char>(a[i])) != FoldAscii(static_cast<unsigned char>(b[i]))) return false;
  }
  return true;
}

void NameCurrentThread(const char* name) {
  char cut[16];  // Linux keeps 15 bytes
  std::strncpy(cut, name, sizeof cut - 1);
  cut[sizeof cut - 1] = '\0';
  pthread_setname_np(pthread_self(), cut);
}

std::uint32_t TickCount() {
  timespec ts{};
  clock_gettime(CLOCK_MONOTONIC, &ts);
  return static_cast<std::uint32_t>(static_cast<std::uint64_t>(ts.tv_sec) * 1000u + ts.tv_nsec / 1000000);
}

void SleepMs(std::uint32_t ms) {
  timespec ts{static_cast<time_t>(ms / 1000), static_cast<long>(ms % 1000) * 1000000L};
  while (nanosleep(&ts, &ts) != 0 && errno == EINTR) {
  }
}

int Utf8ToAnsi(const char* text, char* out, int outSize) {
  size_t length = std::strlen(text);
  // Transliteration may write several bytes for one character ("(C)" for the
  // copyright sign): grow the scratch block until the whole text fits.
  for (size_t room = length + 16; room < (length + 16) * 64; room *= 2) {
    iconv_t cd = iconv_open("CP932//TRANSLIT", "UTF-8");
    if (cd == reinterpret_cast<iconv_t>(-1)) return 0;
    char* tmp = static_cast<char*>(std::malloc(room + 1));
    if (!tmp) {
      iconv_close(cd);
      return 0;
    }
    char* in = const_cast<char*>(text);
    size_t inLeft = length;
    char* dst = tmp;
    size_t dstLeft = room;
    bool converted = iconv(cd, &in, &inLeft, &dst, &dstLeft) != static_cast<size_t>(-1);
    bool tooSmall = !converted && errno == E2BIG;
    iconv_close(cd);
    int result = 0;
    if (converted) {
      *dst++ = '\0';  // the block has one byte beyond room for it
      int needed = static_cast<int>(dst - tmp);
      if (!out) {
        result = needed;
      } else if (needed <= outSize) {
        std::memcpy(out, tmp, static_cast<size_t>(needed));
        result = needed;
      }
    }
    std::free(tmp);
    if (!tooSmall) return result;
  }
  return 0;
}

namespace {

struct ProgramPath {
  char text[4096];
  int length;
};

ProgramPath LookUpProgramPath() {
  ProgramPath path;
  ssize_t n = readlink("/proc/self/exe", path.text, sizeof path.text - 1);
  path.length = n > 0 ? static_cast<int>(n) : 0;
  path.text[path.length] = '\0';
  return path;
}

}  // namespace

int ExecutablePath(char* out, int size) {
  // The program does not move while it runs: looked up once.
  static const ProgramPath program = LookUpProgramPath();
  if (size <= 0) return 0;
  int n = program.length < size - 1 ? program.length : size - 1;
  std::memcpy(out, program.text, static_cast<size_t>(n));
  out[n] = '\0';
  return n;
}

namespace {

struct ResourceString {
  unsigned id;
  const char* text;
};

// A handful of entries: a short table searched from the start is enough.
constexpr int kMaxResourceStrings = 16;
ResourceString gResourceStrings[kMaxResourceStrings];
int gResourceStringCount = 0;

ResourceString* FindResourceString(unsigned id) {
  for (int i = 0; i < gResourceStringCount; ++i) {
    if (gResourceStrings[i].id == id) return &gResourceStrings[i];
  }
  return nullptr;
}

}  // namespace

void RegisterResourceString(unsigned id, const char* text) {
  if (ResourceString* known = FindResourceString(id)) {
    known->text = text;
  } else if (gResourceStringCount < kMaxResourceStrings) {
    gResourceStrings[gResourceStringCount++] = {id, text};
  }
}

int LoadResourceString(unsigned id, char* out, int size) {
  if (size <= 0) return 0;
  const ResourceString* found = FindResourceString(id);
  const char* text = found ? found->text : nullptr;
  if (!text) {
    out[0] = '\0';
    return 0;
  }
  int n = static_cast<int>(std::strlen(text));
  if (n > size - 1) n = size - 1;
  std::memcpy(out, text, n);
  out[n] = '\0';
  return n;
}

}  // namespace platform
