// The portable half of one playback: from the URL the user chose to an open
// ICY connection (through a PLS playlist when the URL names one), and from
// that connection to blocks of PCM, with the stream's titles kept for the
// block whose audio they came with. The play thread (Playback) drives it and
// gives it the platform's side through SessionEvents.
#pragma once

#include <atomic>
#include <cstdint>

#include "engine/HttpClient.h"
#include "engine/MetadataSplitter.h"
#include "toolkit/ByteBuffer.h"
#include "toolkit/TextString.h"

class StreamDecoder;

class SessionEvents {
 public:
  // A status text or title for the bar; error selects the error colour.
  virtual void ShowStatus(const char* text, bool error) = 0;
  // Takes the block-done signal without waiting: true when a block finished.
  virtual bool PollBlockDone() = 0;

 protected:
  ~SessionEvents() = default;
};

class StreamSession {
 public:
  explicit StreamSession(SessionEvents& events);
  StreamSession(const StreamSession&) = delete;
  StreamSession& operator=(const StreamSession&) = delete;

  // The two byte buffers; false when memory is short.
  bool Allocate();
  // Takes the URL of the next playback and clears the stop flag.
  void Begin(const char* playUrl);

  // Connects url (a stream, or a playlist by its "pls" extension); on
  // success the connection is open, streamInfo filled, the first audio bytes
  // wait in the decode buffer and ConnectedUrl names the stream.
  bool ConnectAny();
  bool ConnectStream(const char* streamUrl);
  bool PrimeStream(int headerCount);
  bool TryPlaylist();
  // The answer's byte count with the body's offset, or -1.
  int FetchPlaylist(const char* playlistUrl, int* bodyOffset);

  // Decodes block k of the ring into destination (the decoder's blockBytes),
  // receiving and splitting as needed; block-done signals that arrive while
  // data is short are counted in *counter when it is given. False on a stop
  // (no text), a disconnect ("Disconnect") or a receive error ("Recv error").
  // Titles whose audio lies in the block are filed under k: a title is
  // shown when its own audio sounds, also when the connect burst brought it
  // seconds ahead of the block being filled.
  bool ReadBlock(StreamDecoder& decoder, int k, std::uint8_t* destination, int* counter);

  bool ShowPendingTitle(int blockIndex);
  void ShowFirstTitle();
  // A status text, unless a stop was asked for: a stopped playback is silent.
  void Status(const char* text, bool error);

  // Files the titles whose audio begins within block k just taken.
  void FileTitles(const StreamDecoder& decoder, int k);
  // Closes the connection and forgets pending titles.
  void Close();

  // Main thread: asks the play thread to end at its next check point.
  void RequestStop() { stopFlag.store(1); }
  bool StopRequested() const { return stopFlag.load() != 0; }

  const char* ConnectedUrl() const { return connectedUrl.CStr(); }

  HttpClient client;
  StreamInfo streamInfo;
  StreamBuffers buffers;
  MetadataSplitter splitter;

 private:
  SessionEvents& events;
  MemoryBlock receiveBlock;
  MemoryBlock decodeBlock;
  TextString url;
  TextString connectedUrl;
  std::atomic<int> stopFlag{0};
};
