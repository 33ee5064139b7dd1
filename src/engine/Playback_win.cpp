#include "engine/Playback.h"

#include "engine/StreamPlayer.h"

Playback::Playback() : session(*this), decoder(codec) {}

bool Playback::Allocate() {
  if (!session.Allocate()) return false;
  // Auto-reset, unnamed, not signalled.
  if (!blockDoneEvent.IsValid()) blockDoneEvent.Reset(CreateEventA(nullptr, FALSE, FALSE, nullptr));
  if (!stopEvent.IsValid()) stopEvent.Reset(CreateEventA(nullptr, FALSE, FALSE, nullptr));
  events[0] = blockDoneEvent.Get();
  events[1] = stopEvent.Get();
  return events[0] && events[1];
}

void Playback::Prepare(HWND window, const char* url, int blocks, int volume, bool hardwareVolume, bool mute) {
  notifyWindow = window;
  blockCount = blocks;
  session.Begin(url);
  infoReady.store(false);
  ring.SetHardwareVolume(hardwareVolume);
  ring.SetVolume(volume);
  muted.store(mute ? 1 : 0);
  // Reset here, not on the thread: a stop asked for before the thread runs
  // must not be lost.
  ResetEvent(events[0]);
  ResetEvent(events[1]);
  state.store(kPlayerConnecting);
}

unsigned __stdcall Playback::ThreadMain(void* self) {
  Playback* playback = static_cast<Playback*>(self);
  playback->Run();
  playback->Release();
  return 0;
}

void Playback::RequestStop() {
  session.RequestStop();
  SetEvent(events[1]);
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
  StreamBuffers& b = session.buffers;
  const std::uint8_t* cursor = b.decode + b.decodeCursor;
  bool decoding = decoder.Init(cursor, b.decode + b.decodeEnd, 2);
  b.decodeCursor = static_cast<int>(cursor - b.decode);
  if (!decoding) {
    session.Status("Decode Init error", true);
    return false;
  }
  // The frame's bit rate replaces what the icy-br header said.
  session.streamInfo.bitrate = decoder.Bitrate();
  if (!ring.Open(events, decoder.Format(), decoder.BlockBytes(), blockCount)) {
    session.Status("WaveOut Init error", true);
    return false;
  }
  session.Status("Set Sound ...", false);
  // Playback begins with the whole ring in reserve.
  for (int k = 0; k < blockCount; ++k) {
    if (session.StopRequested() || !Fill(k, nullptr)) return false;
  }
  session.ShowFirstTitle();
  if (session.StopRequested()) return false;
  infoReady.store(true, std::memory_order_release);
  if (!session.StopRequested()) {
    SendMessageA(notifyWindow, kStartedMessage, 0, reinterpret_cast<LPARAM>(session.ConnectedUrl()));
  }
  for (int k = 0; k < blockCount; ++k) ring.Write(k);
  return true;
}

void Playback::PlayLoop() {
  int next = 0;      // the block to refill: it has just finished playing
  int catchUp = 0;   // block-done signals taken while data was short
  for (;;) {
    if (WaitForMultipleObjects(2, events, FALSE, INFINITE) != WAIT_OBJECT_0) return;
    for (;;) {
      if (session.StopRequested()) return;
      // The block after the finished one is the one that sounds now.
      session.ShowPendingTitle((next + 1) % blockCount);
      if (!Fill(next, &catchUp)) return;
      ring.Write(next);
      next = (next + 1) % blockCount;
      if (catchUp == 0) break;
      --catchUp;
    }
  }
}

bool Playback::Fill(int k, int* counter) {
  if (!session.ReadBlock(decoder, k, ring.Block(k), counter)) return false;
  if (muted.load(std::memory_order_relaxed)) {
    ring.Silence(k);
  } else {
    ring.ApplyVolume(k);
  }
  return true;
}

void Playback::TearDown() {
  ring.Close();  // cuts off what is still queued
  session.Close();
  decoder.Close();
  state.store(kPlayerIdle);
}

void Playback::ShowStatus(const char* text, bool error) {
  SendMessageA(notifyWindow, kStatusMessage, error ? 1 : 0, reinterpret_cast<LPARAM>(text));
}

bool Playback::PollBlockDone() { return WaitForSingleObject(events[0], 0) == WAIT_OBJECT_0; }
