// engine_probe: plays one URL through StreamPlayer with a hidden window and
// prints every notification, one line each, for the end-to-end tests:
//
//   <ms> status <0|1> <text>     message 1034
//   <ms> started <url>           message 1035, then "<ms> format <Hz> <channels> <kbit/s>"
//   <ms> stop <elapsed ms>       after a Stop the probe asked for
//   <ms> idle                    the player went idle by itself
//   <ms> cycles <handles before> <handles after> <threads before> <threads after>
//               <ms the counts took to settle> <threads right after the last Stop>
//
// <ms> counts from the probe's start. Options:
//   --playbuf MS        play-buffer length (1500)
//   --run-ms MS         Stop MS after the started message
//   --stop-after-ms MS  Stop MS after Start, whatever happens
//   --stop-on TEXT      Stop as soon as this status text arrives
//   --busy-ms MS        sleep MS on the main thread (no messages) right after Start
//   --cycles N          N rounds of Start, wait for "Set Sound ..." or an error, Stop
//   --then URL2         after the first Stop, play URL2 ...
//   --then-run-ms MS    ... and Stop it MS after its started message
//   --volume PERCENT, --mute, --timeout MS (30000)
#include <windows.h>
#include <tlhelp32.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "engine/EventSocket.h"
#include "engine/StreamPlayer.h"

namespace {

StreamPlayer gPlayer;
LARGE_INTEGER gFrequency, gStart;
std::string gStopOn;
bool gStopNow = false;
bool gStarted = false;
DWORD gStartedAt = 0;
std::string gLastStatus;

long long NowMs() {
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  return (now.QuadPart - gStart.QuadPart) * 1000 / gFrequency.QuadPart;
}

void Print(const char* format, ...) {
  va_list args;
  va_start(args, format);
  std::printf("%lld ", NowMs());
  std::vprintf(format, args);
  std::printf("\n");
  std::fflush(stdout);
  va_end(args);
}

LRESULT CALLBACK ProbeProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == kStatusMessage) {
    const char* text = reinterpret_cast<const char*>(lParam);
    Print("status %d %s", static_cast<int>(wParam), text);
    gLastStatus = text;
    if (!gStopOn.empty() && gStopOn == text) gStopNow = true;
    return 0;
  }
  if (message == kStartedMessage) {
    Print("started %s", reinterpret_cast<const char*>(lParam));
    gStarted = true;
    gStartedAt = GetTickCount();
    return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

DWORD ThreadCount() {
  DWORD count = 0;
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return 0;
  THREADENTRY32 entry;
  entry.dwSize = sizeof entry;
  DWORD self = GetCurrentProcessId();
  for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry)) {
    if (entry.th32OwnerProcessID == self) ++count;
  }
  CloseHandle(snapshot);
  return count;
}

DWORD HandleCount() {
  DWORD count = 0;
  GetProcessHandleCount(GetCurrentProcess(), &count);
  return count;
}

// Pumps messages for up to ms, or until done() holds.
template <class Done>
bool PumpUntil(DWORD ms, Done done) {
  DWORD start = GetTickCount();
  while (!done()) {
    if (GetTickCount() - start >= ms) return false;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    MSG m;
    while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&m);
  }
  return true;
}

void StopAndReport() {
  long long before = NowMs();
  gPlayer.Stop();
  Print("stop %lld", NowMs() - before);
}

}  // namespace

int main(int argc, char** argv) {
  QueryPerformanceFrequency(&gFrequency);
  QueryPerformanceCounter(&gStart);
  const char* url = nullptr;
  const char* thenUrl = nullptr;
  int thenRunMs = 0;
  int playBuf = 1500, runMs = -1, stopAfterMs = -1, busyMs = 0, cycles = 0, volume = 100;
  DWORD timeoutMs = 30000;
  bool mute = false;
  for (int i = 1; i < argc; ++i) {
    std::string a = argv[i];
    auto next = [&]() -> const char* { return i + 1 < argc ? argv[++i] : ""; };
    if (a == "--playbuf") playBuf = std::atoi(next());
    else if (a == "--run-ms") runMs = std::atoi(next());
    else if (a == "--stop-after-ms") stopAfterMs = std::atoi(next());
    else if (a == "--stop-on") gStopOn = next();
    else if (a == "--busy-ms") busyMs = std::atoi(next());
    else if (a == "--cycles") cycles = std::atoi(next());
    else if (a == "--volume") volume = std::atoi(next());
    else if (a == "--mute") mute = true;
    else if (a == "--then") thenUrl = next();
    else if (a == "--then-run-ms") thenRunMs = std::atoi(next());
    else if (a == "--timeout") timeoutMs = static_cast<DWORD>(std::atoi(next()));
    else url = argv[i];
  }
  if (!url) {
    std::fprintf(stderr, "usage: engine_probe [options] URL\n");
    return 2;
  }
  if (!StartWinSock(2, 2)) return 2;
  WNDCLASSA wc{};
  wc.lpfnWndProc = ProbeProc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = "velmorin_probe";
  RegisterClassA(&wc);
  HWND window = CreateWindowA("velmorin_probe", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, nullptr);
  if (!window || !gPlayer.Allocate()) return 2;
  gPlayer.SetVolume(volume);
  gPlayer.SetMuted(mute);

  int exitCode = 0;
  if (cycles > 0) {
    DWORD handles = 0, threads = 0;
    for (int c = 0; c < cycles + 3; ++c) {
      if (c == 3) {  // after the one-time set-up of the audio and codec libraries
        handles = HandleCount();
        threads = ThreadCount();
      }
      gLastStatus.clear();
      gPlayer.Start(window, url, playBuf);
      PumpUntil(timeoutMs, [] { return gLastStatus == "Set Sound ..." || gPlayer.State() == kPlayerIdle; });
      gPlayer.Stop();
    }
    // Wine's sound and thread-pool helpers end a little after the device
    // closes, later on a busy machine: wait for the counts to come back,
    // which a leak of one thread or handle per round never does.
    DWORD settleStart = GetTickCount();
    DWORD threadsNow = ThreadCount();
    PumpUntil(10000, [&] { return ThreadCount() <= threads && HandleCount() <= handles; });
    Print("cycles %lu %lu %lu %lu %lu %lu", handles, HandleCount(), threads, ThreadCount(),
          GetTickCount() - settleStart, threadsNow);
  } else {
    DWORD startTick = GetTickCount();
    gPlayer.Start(window, url, playBuf);
    if (busyMs > 0) Sleep(static_cast<DWORD>(busyMs));
    bool formatShown = false;
    bool finished = PumpUntil(timeoutMs, [&] {
      if (gStarted && !formatShown) {
        formatShown = true;
        const StreamInfo* info = gPlayer.Info();
        const PcmFormat* format = gPlayer.Format();
        if (info && format) {
          Print("format %lu %u %d", static_cast<unsigned long>(format->samplesPerSec), format->channels, info->bitrate);
        }
      }
      if (gStopNow || (stopAfterMs >= 0 && GetTickCount() - startTick >= static_cast<DWORD>(stopAfterMs)) ||
          (runMs >= 0 && gStarted && GetTickCount() - gStartedAt >= static_cast<DWORD>(runMs))) {
        StopAndReport();
        return true;
      }
      if (gPlayer.State() == kPlayerIdle) {
        Print("idle");
        return true;
      }
      return false;
    });
    if (!finished) {
      Print("timeout");
      exitCode = 3;
    }
    if (thenUrl && finished) {
      gStarted = false;
      gPlayer.Start(window, thenUrl, playBuf);
      finished = PumpUntil(timeoutMs, [&] {
        if (gStarted && GetTickCount() - gStartedAt >= static_cast<DWORD>(thenRunMs)) {
          StopAndReport();
          return true;
        }
        if (gPlayer.State() == kPlayerIdle) {
          Print("idle");
          return true;
        }
        return false;
      });
      if (!finished) {
        Print("timeout");
        exitCode = 3;
      }
    }
    // Anything the thread still sends now is a fault the tests look for.
    PumpUntil(300, [] { return false; });
  }
  gPlayer.Destroy();
  DestroyWindow(window);
  CleanupWinSock();
  return exitCode;
}
