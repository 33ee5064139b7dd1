#include "toolkit/Platform.h"

#include <windows.h>

namespace platform {

bool IsLeadByte(unsigned char c) { return IsDBCSLeadByte(c) != FALSE; }

const char* NextChar(const char* p) { return CharNextA(p); }

int CompareText(const char* a, const char* b) { return lstrcmpA(a, b); }
int CompareTextNoCase(const char* a, const char* b) { return lstrcmpiA(a, b); }

bool EqualNoCaseN(const char* a, const char* b, int n) {
  return CompareStringA(LOCALE_SYSTEM_DEFAULT, NORM_IGNORECASE, a, n, b, n) == CSTR_EQUAL;
}

void NameCurrentThread(const char* name) {
  // Windows 10 1607 and later, and Wine; looked up so that older systems and
  // older MinGW headers do without.
  using SetDescription = HRESULT(WINAPI*)(HANDLE, PCWSTR);
  HMODULE kernel = GetModuleHandleA("kernel32.dll");
  FARPROC found = kernel ? GetProcAddress(kernel, "SetThreadDescription") : nullptr;
  if (!found) return;
  wchar_t wide[64];
  int n = 0;
  for (; name[n] && n < 63; ++n) wide[n] = static_cast<unsigned char>(name[n]);
  wide[n] = 0;
  reinterpret_cast<SetDescription>(reinterpret_cast<void (*)()>(found))(GetCurrentThread(), wide);
}

std::uint32_t TickCount() { return GetTickCount(); }
void SleepMs(std::uint32_t ms) { Sleep(ms); }

int Utf8ToAnsi(const char* text, char* out, int outSize) {
  int wideCount = MultiByteToWideChar(CP_UTF8, 0, text, -1, nullptr, 0);
  if (wideCount <= 0) return 0;
  wchar_t* wide = static_cast<wchar_t*>(HeapAlloc(GetProcessHeap(), 0, sizeof(wchar_t) * wideCount));
  if (!wide) return 0;
  int result = 0;
  if (MultiByteToWideChar(CP_UTF8, 0, text, -1, wide, wideCount) > 0) {
    result = WideCharToMultiByte(CP_ACP, 0, wide, -1, out, out ? outSize : 0, nullptr, nullptr);
  }
  HeapFree(GetProcessHeap(), 0, wide);
  return result > 0 ? result : 0;
}

int ExecutablePath(char* out, int size) {
  if (size <= 0) return 0;
  DWORD n = GetModuleFileNameA(nullptr, out, static_cast<DWORD>(size));
  // A full buffer means the path was cut; it is still NUL-terminated from Vista on.
  if (n == 0) return 0;
  if (n >= static_cast<DWORD>(size)) n = static_cast<DWORD>(size - 1);
  out[n] = '\0';
  return static_cast<int>(n);
}

int LoadResourceString(unsigned id, char* out, int size) {
  if (size <= 0) return 0;
  int n = LoadStringA(GetModuleHandleA(nullptr), id, out, size);
  if (n <= 0) {
    out[0] = '\0';
    return 0;
  }
  return n;
}

}  // namespace platform
