#include "engine/StreamPlayer.h"

#include <process.h>

#include <new>

#include "engine/Playback.h"
#include "engine/WaveRing.h"

namespace {

constexpr DWORD kStopLimitMs = 2000;

Playback* NewPlayback() {
  Playback* playback = new (std::nothrow) Playback;
  if (playback && !playback->Allocate()) {
    playback->Release();
    return nullptr;
  }
  return playback;
}

}  // namespace

bool StreamPlayer::Allocate() {
  if (!current) current = NewPlayback();
  return current != nullptr;
}

bool StreamPlayer::Start(HWND window, const char* url, int playBufferMs) {
  if (busy) return false;
  EndPlayback(true);
  // A playback whose thread has ended is used again; one that an abandoned
  // thread still holds is left to it.
  if (current && !current->SoleOwner()) {
    current->Release();
    current = nullptr;
  }
  if (!current) current = NewPlayback();
  if (!current) return false;
  current->Prepare(window, url, BlockCountFor(playBufferMs), volume, hardwareVolume, muted);

  current->AddRef();  // the thread's reference
  uintptr_t handle = _beginthreadex(nullptr, 0, &Playback::ThreadMain, current, CREATE_SUSPENDED, nullptr);
  if (!handle) {
    current->Release();
    current->CancelStart();
    return false;
  }
  thread.Reset(reinterpret_cast<HANDLE>(handle));
  SetThreadPriority(thread.Get(), THREAD_PRIORITY_ABOVE_NORMAL);
  ResumeThread(thread.Get());
  return true;
}

void StreamPlayer::Stop() { EndPlayback(false); }

void StreamPlayer::EndPlayback(bool wholly) {
  if (busy || !thread.IsValid()) return;
  busy = true;
  if (current->State() != kPlayerIdle) current->RequestStop();
  switch (WaitForThread(kStopLimitMs, wholly)) {
    case ThreadEnd::Ended:
      thread.Close();
      break;
    case ThreadEnd::Quiet:
      break;  // the handle stays: the next Start or Destroy waits for the rest
    case ThreadEnd::Stuck:
      // In a name look-up, or stuck in a call to a busy window: forget it. It
      // finishes on its own playback, which it then deletes.
      current->RequestStop();
      current->Release();
      current = nullptr;
      thread.Close();
      break;
  }
  busy = false;
}

StreamPlayer::ThreadEnd StreamPlayer::WaitForThread(DWORD limitMs, bool wholly) {
  HANDLE handles[3] = {thread.Get(), current->UncancellableEvent(), current->QuietEvent()};
  DWORD count = wholly ? 2 : 3;
  DWORD start = GetTickCount();
  for (;;) {
    DWORD elapsed = GetTickCount() - start;
    if (elapsed >= limitMs) break;
    // The thread may be inside SendMessage to a window of this thread:
    // take those calls (only sent messages, nothing posted) so it can end.
    DWORD result = MsgWaitForMultipleObjects(count, handles, FALSE, limitMs - elapsed, QS_SENDMESSAGE);
    if (result == WAIT_OBJECT_0) return ThreadEnd::Ended;
    if (!wholly && result == WAIT_OBJECT_0 + 2) return ThreadEnd::Quiet;
    if (result != WAIT_OBJECT_0 + count) break;  // a look-up, or the wait failed
    MSG message;
    PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
  }
  return WaitForSingleObject(handles[0], 0) == WAIT_OBJECT_0 ? ThreadEnd::Ended : ThreadEnd::Stuck;
}

void StreamPlayer::SetVolume(int percent) {
  volume = VolumeFromPercent(percent);
  if (current) current->SetVolume(volume);
}

void StreamPlayer::SetHardwareVolume(bool on) {
  hardwareVolume = on;
  if (current) current->SetHardwareVolume(on);
}

void StreamPlayer::SetMuted(bool on) {
  muted = on;
  if (current) current->SetMuted(on);
}

void StreamPlayer::Destroy() {
  EndPlayback(true);
  if (current) current->Release();
  current = nullptr;
}

PlayerState StreamPlayer::State() const { return current ? current->State() : kPlayerIdle; }

const StreamInfo* StreamPlayer::Info() const {
  return current && current->InfoReady() ? &current->Info() : nullptr;
}

const PcmFormat* StreamPlayer::Format() const {
  return current && current->InfoReady() ? &current->Format() : nullptr;
}
