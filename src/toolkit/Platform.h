// The few operating-system services that the portable core needs. Each has a
// Win32 implementation (Platform_win.cpp) and a POSIX one (Platform_posix.cpp);
// nothing else in the core talks to the system directly.
#pragma once

#include <cstdint>

namespace platform {

// Text is 8-bit in the ANSI code page, 932 in the program's setting.
bool IsLeadByte(unsigned char c);
// Steps over one character: two bytes for a lead byte followed by a non-NUL
// byte, one otherwise, none at the terminating NUL.
const char* NextChar(const char* p);

// Sign as lstrcmpA / lstrcmpiA.
int CompareText(const char* a, const char* b);
int CompareTextNoCase(const char* a, const char* b);
// True when the first n bytes of a and b are equal ignoring letter case
// (CompareStringA with NORM_IGNORECASE on Windows). Both must hold n bytes.
bool EqualNoCaseN(const char* a, const char* b, int n);

// Names the calling thread for debuggers and profilers, so that its time can
// be told apart (SetThreadDescription where the system has it); does nothing
// where it has not. ASCII names.
void NameCurrentThread(const char* name);

// Milliseconds since an arbitrary start; wraps like GetTickCount.
std::uint32_t TickCount();
void SleepMs(std::uint32_t ms);

// Converts NUL-terminated UTF-8 text to the ANSI code page. With out null it
// returns the bytes needed (NUL included); otherwise it writes at most outSize
// bytes and returns the bytes written (NUL included). 0 on failure or when the
// text yields no characters.
int Utf8ToAnsi(const char* text, char* out, int outSize);

// Full path of the running executable, NUL-terminated and cut to size - 1
// bytes. Returns its length, 0 on failure.
int ExecutablePath(char* out, int size);

// String-table entry of the program's own module, cut to size - 1 bytes.
// Returns the length copied, 0 when there is none.
int LoadResourceString(unsigned id, char* out, int size);

#ifndef _WIN32
// A POSIX build has no module resources: whoever needs a string-table entry
// registers its text first (a text that lives as long as the program, such
// as a literal). A second text for the same id replaces the first.
void RegisterResourceString(unsigned id, const char* text);
#endif

}  // namespace platform
