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
  Stop();
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

void StreamPlayer::Stop() {
  if (busy || !thread.IsValid()) return;
  busy = true;
  if (current->State() != kPlayerIdle) current->RequestStop();
  if (!WaitForThread(kStopLimitMs)) {
    // In a name look-up, or stuck in a call to a busy window: forget it. It
    // finishes on its own playback, which it then deletes.
    current->RequestStop();
    current->Release();
    current = nullptr;
  }
  thread.Close();
  busy = false;
}

bool StreamPlayer::WaitForThread(DWORD limitMs) {
  HANDLE handles[2] = {thread.Get(), current->UncancellableEvent()};
  DWORD start = GetTickCount();
  for (;;) {
    DWORD elapsed = GetTickCount() - start;
    if (elapsed >= limitMs) return WaitForSingleObject(handles[0], 0) == WAIT_OBJECT_0;
    // The thread may be inside SendMessage to a window of this thread:
    // take those calls (only sent messages, nothing posted) so it can end.
    DWORD result = MsgWaitForMultipleObjects(2, handles, FALSE, limitMs - elapsed, QS_SENDMESSAGE);
    if (result == WAIT_OBJECT_0) return true;
    if (result == WAIT_OBJECT_0 + 1) return WaitForSingleObject(handles[0], 0) == WAIT_OBJECT_0;
    if (result != WAIT_OBJECT_0 + 2) return WaitForSingleObject(handles[0], 0) == WAIT_OBJECT_0;
    MSG message;
    PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
  }
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
  Stop();
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
