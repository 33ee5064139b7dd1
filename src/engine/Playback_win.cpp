#include "engine/Playback.h"

#include "toolkit/Platform.h"

Playback::Playback() : session(*this), decoder(codec) {}

bool Playback::Allocate() {
  if (!session.Allocate() || (!quiet.IsValid() && !quiet.Create(true))) return false;
  events[0] = session.BlockDoneEvent().Native();
  events[1] = session.StopEvent().Native();
  return true;
}

void Playback::Prepare(HWND window, const char* url, int blocks, int volume, bool hardwareVolume, bool mute) {
  notifyWindow = window;
  blockCount = blocks;
  session.Begin(url);
  quiet.Reset();
  infoReady.store(false);
  ring.SetHardwareVolume(hardwareVolume);
  ring.SetVolume(volume);
  muted.store(mute ? 1 : 0);
  state.store(kPlayerConnecting);
}

unsigned __stdcall Playback::ThreadMain(void* self) {
  platform::NameCurrentThread("Velmorin play");
  Playback* playback = static_cast<Playback*>(self);
  playback->Run();
  playback->Release();
  return 0;
}

void Playback::Release() {
  if (refs.fetch_sub(1, std::memory_order_acq_rel) == 1) delete this;
}

void Playback::Run() {
  if (!StartSequence()) {
    TearDown();
    return;
  }
  state.store(kPlayerPlaying);
  PlayLoop();
  TearDown();
}

bool Playback::StartSequence() {
  if (!session.ConnectAny()) return false;
  if (!session.InitDecoder(decoder, 2)) {
    session.Status("Decode Init error", true);
    return false;
  }
  if (!ring.Open(events, decoder.Format(), decoder.BlockBytes(), blockCount)) {
    session.Status("WaveOut Init error", true);
    return false;
  }
  session.Status("Set Sound ...", false);
  // Playback begins with the whole ring in reserve.
  for (int k = 0; k < blockCount; ++k) {
    if (session.StopRequested() || !Fill(k, false)) return false;
  }
  session.ShowFirstTitle();
  if (session.StopRequested()) return false;
  infoReady.store(true, std::memory_order_release);
  SendMessageA(notifyWindow, kStartedMessage, 0, reinterpret_cast<LPARAM>(session.ConnectedUrl()));
  for (int k = 0; k < blockCount; ++k) ring.Write(k);
  session.StartRing(blockCount);
  return true;
}

void Playback::PlayLoop() {
  for (;;) {
    // Every block the device has finished, oldest first; after a network
    // pause that is several in a row.
    for (int k = session.BlockToRefill(); k >= 0; k = session.BlockToRefill()) {
      if (session.StopRequested() || !Fill(k, true)) return;
      ring.Write(k);
      session.BlockRequeued();
    }
    // Sleeps until a block is done, a stop comes or a title is due.
    std::uint32_t due = session.ShowDueTitle();
    DWORD woke = WaitForMultipleObjects(2, events, FALSE, due == kNoTitleDue ? INFINITE : due);
    if (woke != WAIT_OBJECT_0 && woke != WAIT_TIMEOUT) return;  // the stop, or a failed wait
  }
}

bool Playback::Fill(int k, bool watchRing) {
  if (!session.ReadBlock(decoder, k, ring.Block(k), watchRing)) return false;
  if (muted.load(std::memory_order_relaxed)) {
    ring.Silence(k);
  } else {
    ring.ApplyVolume(k);
  }
  return true;
}

void Playback::TearDown() {
  ring.CutOff();  // the sound ends here
  state.store(kPlayerIdle);
  // The bar is free now; the device (the slow part under some systems), the
  // connection and the codec close on this thread, on this playback's own
  // objects, and the next Start waits for that.
  quiet.Set();
  ring.Close();
  session.Close();
  decoder.Close();
}

void Playback::ShowStatus(const char* text, bool error) {
  SendMessageA(notifyWindow, kStatusMessage, error ? 1 : 0, reinterpret_cast<LPARAM>(text));
}
