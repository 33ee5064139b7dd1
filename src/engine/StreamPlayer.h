// The one player of the program. The main window starts and stops stations
// with it and hears back through the two messages of PlayerMessages.h, sent
// to its window from the play thread. Every operation here is for the main
// thread; none may be called from inside the handling of those messages.
//
// Windows only.
#pragma once

#include <windows.h>

#include "engine/FrameCodec.h"
#include "engine/HttpText.h"
#include "engine/PlayerMessages.h"
#include "toolkit/KernelHandle.h"

class Playback;

class StreamPlayer {
 public:
  StreamPlayer() = default;
  ~StreamPlayer() { Destroy(); }
  StreamPlayer(const StreamPlayer&) = delete;
  StreamPlayer& operator=(const StreamPlayer&) = delete;

  // At start-up: the first playback's buffers and events. False when memory
  // is short.
  bool Allocate();
  // Stops what plays, then plays url on a new thread; playBufferMs sets the
  // ring (half a second a block, 2 to 16 blocks). False only when the thread
  // or its memory could not be had; the player is then idle.
  bool Start(HWND window, const char* url, int playBufferMs);
  // Ends the playback: returns once the sound is cut and the player idle,
  // at most 2000 ms, while still taking the messages that the thread sends
  // meanwhile. The thread closes the device and the connection after that,
  // on its own objects; the next Start waits for it. A thread that does not
  // end in time, or that is in a call nothing can cancel (a name look-up),
  // is left to finish on its own objects: Stop returns at once.
  void Stop();
  // 0-100 %.
  void SetVolume(int percent);
  // Volume through the device's own level instead of scaling the samples;
  // set once at start-up.
  void SetHardwareVolume(bool on);
  // Silence instead of the stream; decoding goes on.
  void SetMuted(bool on);
  bool Muted() const { return muted; }
  // At shutdown.
  void Destroy();

  PlayerState State() const;
  // The connected stream (name, url, bitrate from its first frame) and the
  // PCM it plays as, from the started message on; null before.
  const StreamInfo* Info() const;
  const PcmFormat* Format() const;

 private:
  enum class ThreadEnd { Ended, Quiet, Stuck };
  // Stops what plays; wholly: until the thread has ended (or is let go).
  void EndPlayback(bool wholly);
  ThreadEnd WaitForThread(DWORD limitMs, bool wholly);

  Playback* current = nullptr;
  KernelHandle thread;
  int volume = 256;
  bool hardwareVolume = false;
  bool muted = false;
  bool busy = false;
};
