// The player on a local station, as the bar uses it:
//   - time from Start to the first block queued (the started message is sent
//     right before the ring is queued), against the ring's own length;
//   - time from Stop to idle while a stream plays, over several stops;
//   - the play thread's CPU time per minute of audio, against the minute.
//
//   bench_player_timing URL [SECONDS]     (bench/player_timing.py runs it)
#include <windows.h>
#include <tlhelp32.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "engine/EventSocket.h"
#include "engine/StreamPlayer.h"

namespace {

StreamPlayer gPlayer;
bool gStarted = false;
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
    if (wParam) std::printf("status: %s\n", reinterpret_cast<const char*>(lParam));
    return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

template <class Done>
bool PumpUntil(double ms, Done done) {
  double start = NowMs();
  while (!done()) {
    if (NowMs() - start >= ms) return false;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 2, QS_ALLINPUT);
    MSG m;
    while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&m);
  }
  return true;
}

// The play thread is the process's one thread above normal priority.
double PlayThreadCpuMs() {
  double best = -1;
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
      ULARGE_INTEGER k{{kernel.dwLowDateTime, kernel.dwHighDateTime}}, u{{user.dwLowDateTime, user.dwHighDateTime}};
      best = static_cast<double>(k.QuadPart + u.QuadPart) / 1e4;
    }
    CloseHandle(thread);
  }
  CloseHandle(snapshot);
  return best;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: bench_player_timing URL [SECONDS]\n");
    return 2;
  }
  const char* url = argv[1];
  int seconds = argc > 2 ? std::atoi(argv[2]) : 60;
  QueryPerformanceFrequency(&gFrequency);
  if (!StartWinSock(2, 2)) return 2;
  WNDCLASSA wc{};
  wc.lpfnWndProc = BenchProc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = "velmorin_bench";
  RegisterClassA(&wc);
  HWND window = CreateWindowA("velmorin_bench", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, nullptr);
  if (!window || !gPlayer.Allocate()) return 2;
  const int playBufferMs = 1500;

  // A first playback loads the codec and the audio driver; it is not counted.
  gPlayer.Start(window, url, playBufferMs);
  PumpUntil(30000, [] { return gStarted; });
  gPlayer.Stop();

  std::vector<double> starts, stops;
  for (int i = 0; i < 5; ++i) {
    gStarted = false;
    double t = NowMs();
    gPlayer.Start(window, url, playBufferMs);
    if (!PumpUntil(10000, [] { return gStarted; })) {
      std::printf("no started message\n");
      return 1;
    }
    starts.push_back(NowMs() - t);
    PumpUntil(1000, [] { return false; });
    t = NowMs();
    gPlayer.Stop();
    stops.push_back(NowMs() - t);
  }

  gStarted = false;
  gPlayer.Start(window, url, playBufferMs);
  PumpUntil(10000, [] { return gStarted; });
  double cpuStart = PlayThreadCpuMs();
  double playStart = NowMs();
  PumpUntil(seconds * 1000.0, [] { return gPlayer.State() == kPlayerIdle; });
  double played = NowMs() - playStart;
  double cpu = PlayThreadCpuMs() - cpuStart;
  double t = NowMs();
  gPlayer.Stop();
  stops.push_back(NowMs() - t);

  std::sort(starts.begin(), starts.end());
  std::sort(stops.begin(), stops.end());
  std::printf("Start to first block queued: median %.1f ms, max %.1f ms (the ring holds %d ms of audio)\n",
              starts[starts.size() / 2], starts.back(), playBufferMs);
  std::printf("Stop to idle while playing:  median %.1f ms, max %.1f ms (limit 2000 ms)\n", stops[stops.size() / 2],
              stops.back());
  std::printf("play thread CPU: %.1f ms over %.1f s of audio = %.1f ms per minute (%.3f %% of one core)\n", cpu,
              played / 1000, cpu * 60000 / played, cpu * 100 / played);
  gPlayer.Destroy();
  DestroyWindow(window);
  CleanupWinSock();
  return 0;
}
