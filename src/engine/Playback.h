// Everything one playback touches, owned by its play thread: connection,
// buffers, decoder, wave ring, events and the stop flag. The player and the
// thread each hold a reference; whoever lets go last deletes it. So a thread
// that the player had to abandon (in a name look-up, which nothing cancels)
// finishes on its own objects and can never touch the next playback's.
// Windows only.
#pragma once

#include <windows.h>

#include <atomic>

#include "engine/AcmCodec.h"
#include "engine/PlayerMessages.h"
#include "engine/StreamDecoder.h"
#include "engine/StreamSession.h"
#include "engine/WaveRing.h"

class Playback final : private SessionEvents {
 public:
  Playback();
  Playback(const Playback&) = delete;
  Playback& operator=(const Playback&) = delete;

  // Buffers and events; false when any of it fails.
  bool Allocate();
  // Main thread, before the play thread starts: the playback to run. Sets
  // the connecting state so that a Stop right after Start already finds
  // something to stop.
  void Prepare(HWND window, const char* url, int blocks, int volume, bool hardwareVolume, bool mute);
  // The thread's entry point; takes over one reference.
  static unsigned __stdcall ThreadMain(void* self);

  // Main thread.
  void RequestStop() { session.RequestStop(); }
  void AddRef() { refs.fetch_add(1, std::memory_order_relaxed); }
  void Release();
  bool SoleOwner() const { return refs.load(std::memory_order_acquire) == 1; }
  PlayerState State() const { return state.load(); }
  // Set while the play thread is in a call that nothing can cancel.
  HANDLE UncancellableEvent() { return session.LookupEvent().Native(); }
  // Set once the playback is over for the user (the sound cut, the state
  // idle); closing the device, the codec and the connection goes on after.
  HANDLE QuietEvent() { return quiet.Native(); }
  void SetVolume(int volume) { ring.SetVolume(volume); }
  void SetHardwareVolume(bool on) { ring.SetHardwareVolume(on); }
  // The thread could not be started: nothing runs.
  void CancelStart() { state.store(kPlayerIdle); }
  void SetMuted(bool on) { muted.store(on ? 1 : 0); }
  // Set once the stream plays; unchanged from then on.
  bool InfoReady() const { return infoReady.load(std::memory_order_acquire); }
  const StreamInfo& Info() const { return session.Info(); }
  const PcmFormat& Format() const { return decoder.Format(); }

 private:
  ~Playback() = default;

  void Run();
  bool StartSequence();
  void PlayLoop();
  bool Fill(int k, bool watchRing);
  void TearDown();

  void ShowStatus(const char* text, bool error) override;
  std::int64_t PlayedBytes() override { return ring.PlayedBytes(); }
  bool BlockFinished(int k) override { return ring.Finished(k); }

  std::atomic<int> refs{1};
  std::atomic<PlayerState> state{kPlayerIdle};
  std::atomic<int> muted{0};
  std::atomic<bool> infoReady{false};
  HANDLE events[2] = {nullptr, nullptr};  // block done, stop
  Event quiet;
  HWND notifyWindow = nullptr;
  int blockCount = 2;
  StreamSession session;
  AcmCodec codec;
  StreamDecoder decoder;
  WaveRing ring;
};
