// The portable half of one playback: from the URL the user chose to an open
// ICY connection (through a PLS playlist when the URL names one), and from
// that connection to blocks of PCM, with the stream's titles kept until the
// device plays the first sample of the audio that came with them. The play
// thread (Playback) drives it and gives it the platform's side through
// SessionEvents. Every wait is a wait on the socket together with the stop
// event (and, while data is short, the block-done event): nothing polls.
#pragma once

#include <atomic>
#include <cstdint>

#include "engine/HttpClient.h"
#include "engine/MetadataSplitter.h"
#include "engine/StreamDecoder.h"
#include "toolkit/ByteBuffer.h"
#include "toolkit/Event.h"
#include "toolkit/TextString.h"

class SessionEvents {
 public:
  // A status text or title for the bar; error selects the error colour.
  virtual void ShowStatus(const char* text, bool error) = 0;
  // PCM bytes the output device has played since the ring was first queued,
  // or -1 when it cannot tell.
  virtual std::int64_t PlayedBytes() = 0;
  // Whether the device is done with block k of the ring (or never took it).
  virtual bool BlockFinished(int k) = 0;

 protected:
  ~SessionEvents() = default;
};

// ShowDueTitle: no title waits for its sample.
constexpr std::uint32_t kNoTitleDue = kWaitForever;

class StreamSession {
 public:
  explicit StreamSession(SessionEvents& events);
  StreamSession(const StreamSession&) = delete;
  StreamSession& operator=(const StreamSession&) = delete;

  // The two byte buffers and the events; false when the system is short.
  bool Allocate();
  // Takes the URL of the next playback; clears the stop flag and the events.
  void Begin(const char* playUrl);

  // Connects url (a stream, or a playlist by its "pls" extension); on
  // success the connection is open, the stream info filled, the first audio
  // bytes wait in the decode buffer and ConnectedUrl names the stream.
  bool ConnectAny();
  bool ConnectStream(const char* streamUrl);
  bool PrimeStream(int headerCount);
  bool TryPlaylist();
  // The answer's byte count with the body's offset, or -1.
  int FetchPlaylist(const char* playlistUrl, int* bodyOffset);
  // Finds the first frame in the audio received so far and opens the
  // decoder for it (blocksPerSecond blocks a second); the frame's bit rate
  // replaces the header's. False when there is no valid frame or the codec
  // refuses the stream.
  bool InitDecoder(StreamDecoder& decoder, int blocksPerSecond);

  // Decodes the next block of the ring (index k) into destination (the
  // decoder's blockBytes), receiving and splitting as needed. With
  // watchRing, a block that finishes while data is short is noted at once;
  // a title that comes due meanwhile is shown. False on a stop (no text), a
  // disconnect ("Disconnect") or a receive error ("Recv error").
  bool ReadBlock(StreamDecoder& decoder, int k, std::uint8_t* destination, bool watchRing);

  // The ring's bookkeeping once all its blocks are filled and queued. The
  // device finishes blocks in the order they were queued, and one block-done
  // signal may stand for several: each look asks the device which are done.
  // The titles filed with the queued blocks are shown in turn, each when the
  // device plays its first sample (ShowDueTitle).
  void StartRing(int blocks);
  // The ring index of the oldest block the device has finished that waits
  // to be refilled, or -1 when there is none.
  int BlockToRefill();
  // That block has been refilled and queued again.
  void BlockRequeued();

  // Block k starts to sound (without a ring): the title that came with its
  // audio is shown when the device plays its first sample (ShowDueTitle). A
  // title still waiting from the block before is shown now. True when one
  // was taken.
  bool ShowPendingTitle(int blockIndex);
  // Shows the waiting title once the device has played up to it, and takes
  // the next queued block's title to wait for; returns the milliseconds
  // until that one is due, or kNoTitleDue (none, or the device cannot tell:
  // a block-done signal comes first).
  std::uint32_t ShowDueTitle();
  // After the pre-fill: the newest title that holds from the first sample,
  // or "Playing ...".
  void ShowFirstTitle();
  // A status text, unless a stop was asked for: a stopped playback is silent.
  void Status(const char* text, bool error);
  // Closes the connection and forgets pending titles.
  void Close();

  // Main thread: asks the play thread to end; every wait ends at once.
  void RequestStop();
  bool StopRequested() const { return stopFlag.load() != 0; }
  Event& StopEvent() { return stopEvent; }
  // Set while a name is looked up: nothing can cancel that call.
  Event& LookupEvent() { return lookupEvent; }
  // Set by the wave device each time a block has played (auto-reset).
  Event& BlockDoneEvent() { return blockDoneEvent; }

  const char* ConnectedUrl() const { return connectedUrl.CStr(); }
  const StreamInfo& Info() const { return streamInfo; }

 private:
  // Gives each title the PCM position of its audio as the decoder converts
  // the frame that came with it.
  class TitleResolver final : public FrameObserver {
   public:
    explicit TitleResolver(StreamSession& owner) : session(owner) {}
    void FrameConverted(const std::uint8_t* frame, std::int64_t pcmBefore) override;

   private:
    StreamSession& session;
  };

  void NoteFinishedBlocks();
  bool TakeTitleOf(int blockIndex);
  bool ArmNextTitle();

  SessionEvents& events;
  TitleResolver resolver{*this};
  HttpClient client;
  StreamInfo streamInfo;
  StreamBuffers buffers;
  MetadataSplitter splitter;
  MemoryBlock receiveBlock;
  MemoryBlock decodeBlock;
  TextString url;
  TextString connectedUrl;
  std::atomic<int> stopFlag{0};
  Event stopEvent;
  Event lookupEvent;
  Event blockDoneEvent;
  // PCM bytes per second and those taken into the ring so far.
  std::int64_t pcmPerSecond = 0;
  std::int64_t pcmTaken = 0;
  // Blocks of the ring counted since it started: queued, finished by the
  // device, and those whose titles have been taken.
  int ringBlocks = 0;
  std::int64_t queuedBlocks = 0;
  std::int64_t finishedBlocks = 0;
  std::int64_t armedBlocks = 0;
  // The next title, waiting for its first sample, and its block.
  TextString dueTitle;
  std::int64_t duePosition = 0;
  std::int64_t dueBlock = 0;
  bool titleDue = false;
};
