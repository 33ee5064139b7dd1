// The player as the bar uses it, timed from the calling thread; driven by
// bench/player_timing.py, which serves the stations, listens to the sink and
// runs the baselines.
//
//   bench_player_timing stops STATE URL COUNT [PLAYBUF]
//       COUNT rounds of Start, wait until the player is in STATE, Stop; each
//       Stop's duration (until the player is idle and the bar free) is
//       printed as "stop STATE <ms>". STATE is one of
//         resolving  "Connect ..." shown, the host name being looked up
//         connecting "Connect ..." shown, the connect under way
//         header     connected, the answer's header awaited
//         prefill    "Set Sound ..." shown, the ring being filled
//         playing    the started message came, the ring plays
//   bench_player_timing play URL SECONDS PLAYBUF
//       "ready" (the harness notes the threads), "start" right before Start,
//       "started <ms>" with the started message, then after SECONDS of
//       playback "cpu <play thread ms> <process ms> <played s>" (from
//       GetThreadTimes, in scheduler ticks), and "end".
//
// Every line is flushed at once: the harness stamps lines on arrival.
#include <windows.h>
#include <tlhelp32.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "BenchLine.h"
#include "engine/EventSocket.h"
#include "engine/StreamPlayer.h"

namespace {

StreamPlayer gPlayer;
bool gStarted = false;
std::string gLastStatus;
LARGE_INTEGER gFrequency;

double NowMs() {
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  return static_cast<double>(now.QuadPart) * 1000.0 / static_cast<double>(gFrequency.QuadPart);
}

LRESULT CALLBACK BenchProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == kStartedMessage) {
    gStarted = true;
    return 0;
  }
  if (message == kStatusMessage) {
    gLastStatus = reinterpret_cast<const char*>(lParam);
    if (wParam) Line("status %s", gLastStatus.c_str());
    return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

// Takes messages until done() holds or ms have passed, looking at done()
// every checkMs at least.
template <class Done>
bool PumpUntil(double ms, Done done, DWORD checkMs = 5) {
  double start = NowMs();
  while (!done()) {
    double left = ms - (NowMs() - start);
    if (left <= 0) return false;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, left < checkMs ? static_cast<DWORD>(left) + 1 : checkMs,
                              QS_ALLINPUT);
    MSG m;
    while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&m);
  }
  return true;
}

double Ms(const FILETIME& kernel, const FILETIME& user) {
  ULARGE_INTEGER k{{kernel.dwLowDateTime, kernel.dwHighDateTime}}, u{{user.dwLowDateTime, user.dwHighDateTime}};
  return static_cast<double>(k.QuadPart + u.QuadPart) / 1e4;
}

// The play thread is the process's one thread above normal priority.
double PlayThreadCpuMs() {
  double found = -1;
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
  THREADENTRY32 entry;
  entry.dwSize = sizeof entry;
  for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry)) {
    if (entry.th32OwnerProcessID != GetCurrentProcessId()) continue;
    HANDLE thread = OpenThread(THREAD_QUERY_INFORMATION, FALSE, entry.th32ThreadID);
    if (!thread) continue;
    FILETIME created, exited, kernel, user;
    if (GetThreadPriority(thread) == THREAD_PRIORITY_ABOVE_NORMAL &&
        GetThreadTimes(thread, &created, &exited, &kernel, &user)) {
      found = Ms(kernel, user);
    }
    CloseHandle(thread);
  }
  CloseHandle(snapshot);
  return found;
}

double ProcessCpuMs() {
  FILETIME created, exited, kernel, user;
  GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
  return Ms(kernel, user);
}

bool ReachState(const std::string& state) {
  if (state == "resolving" || state == "connecting" || state == "header") {
    if (!PumpUntil(10000, [] { return gLastStatus == "Connect ..."; })) return false;
    // Inside the look-up or the connect; a loopback connect to a silent
    // server is made at once, and the header wait follows.
    PumpUntil(state == "header" ? 150 : 50, [] { return false; });
    return gPlayer.State() != kPlayerIdle;
  }
  if (state == "prefill") {
    if (!PumpUntil(10000, [] { return gLastStatus == "Set Sound ..."; })) return false;
    PumpUntil(20, [] { return false; });
    return !gStarted && gPlayer.State() != kPlayerIdle;
  }
  if (state == "playing") {
    if (!PumpUntil(10000, [] { return gStarted; })) return false;
    PumpUntil(100 + std::rand() % 400, [] { return false; });
    return gPlayer.State() == kPlayerPlaying;
  }
  return false;
}

int Stops(HWND window, const std::string& state, const char* url, int count, int playBufferMs) {
  for (int i = 0; i < count; ++i) {
    gStarted = false;
    gLastStatus.clear();
    gPlayer.Start(window, url, playBufferMs);
    if (!ReachState(state)) {
      Line("missed %s (last status \"%s\")", state.c_str(), gLastStatus.c_str());
      gPlayer.Stop();
      return 1;
    }
    double t = NowMs();
    gPlayer.Stop();
    double took = NowMs() - t;
    Line("stop %s %.2f %s", state.c_str(), took, gPlayer.State() == kPlayerIdle ? "idle" : "NOT-IDLE");
  }
  return 0;
}

int Play(HWND window, const char* url, int seconds, int playBufferMs) {
  // The harness notes the process's threads now: the play thread is the
  // first one made after this.
  Line("ready");
  Sleep(300);
  Line("start");
  double t = NowMs();
  gPlayer.Start(window, url, playBufferMs);
  if (!PumpUntil(20000, [] { return gStarted; })) {
    Line("no started message");
    return 1;
  }
  Line("started %.1f", NowMs() - t);
  double cpuStart = PlayThreadCpuMs();
  double processStart = ProcessCpuMs();
  double playStart = NowMs();
  // Seldom looks: the process's own figure is not the bench's loop.
  PumpUntil(seconds * 1000.0, [] { return gPlayer.State() == kPlayerIdle; }, 250);
  double played = (NowMs() - playStart) / 1000.0;
  Line("cpu %.1f %.1f %.2f", PlayThreadCpuMs() - cpuStart, ProcessCpuMs() - processStart, played);
  Line("end");
  // The harness reads the threads' run times before the stop.
  Sleep(500);
  gPlayer.Stop();
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 4) {
    std::fprintf(stderr, "usage: bench_player_timing stops STATE URL COUNT [PLAYBUF] | play URL SECONDS PLAYBUF\n");
    return 2;
  }
  QueryPerformanceFrequency(&gFrequency);
  if (!StartWinSock(2, 2)) return 2;
  WNDCLASSA wc{};
  wc.lpfnWndProc = BenchProc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = "velmorin_bench";
  RegisterClassA(&wc);
  HWND window = CreateWindowA("velmorin_bench", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, nullptr);
  if (!window || !gPlayer.Allocate()) return 2;
  std::string mode = argv[1];
  int result = 2;
  if (mode == "stops" && argc >= 5) {
    result = Stops(window, argv[2], argv[3], std::atoi(argv[4]), argc > 5 ? std::atoi(argv[5]) : 1500);
  } else if (mode == "play" && argc >= 5) {
    result = Play(window, argv[2], std::atoi(argv[3]), std::atoi(argv[4]));
  }
  // Threads left in a name look-up end with the process.
  gPlayer.Destroy();
  DestroyWindow(window);
  CleanupWinSock();
  std::fflush(stdout);
  ExitProcess(static_cast<UINT>(result));
}
