#include "engine/StreamSession.h"

#include <cstring>

#include "engine/Playlist.h"
#include "engine/StreamDecoder.h"
#include "toolkit/Platform.h"
#include "toolkit/UrlText.h"

namespace {

constexpr int kStreamPort = 8000;
constexpr int kPlaylistPort = 80;
constexpr int kHeaderBytes = 3000;
constexpr int kPrimeBytes = 4096;
// A title is never more than a minute ahead of the device: a wait for it
// ends by then at the latest and looks again.
constexpr std::int64_t kLongestTitleWaitMs = 60000;

}  // namespace

StreamSession::StreamSession(SessionEvents& sessionEvents) : events(sessionEvents) {
  client.SetStopEvent(&stopEvent);
  client.SetLookupEvent(&lookupEvent);
}

bool StreamSession::Allocate() {
  if (!receiveBlock.data && !receiveBlock.Allocate(kReceiveBufferBytes, false)) return false;
  if (!decodeBlock.data && !decodeBlock.Allocate(kDecodeBufferBytes, false)) return false;
  buffers.receive = static_cast<std::uint8_t*>(receiveBlock.data);
  buffers.decode = static_cast<std::uint8_t*>(decodeBlock.data);
  if (!stopEvent.IsValid() && !stopEvent.Create(true)) return false;
  if (!lookupEvent.IsValid() && !lookupEvent.Create(true)) return false;
  return blockDoneEvent.IsValid() || blockDoneEvent.Create(false);
}

void StreamSession::Begin(const char* playUrl) {
  url.Assign(playUrl);
  connectedUrl.Clear();
  stopFlag.store(0);
  // Reset here, on the main thread before the play thread runs: a stop asked
  // for right after the start must not be lost.
  stopEvent.Reset();
  lookupEvent.Reset();
  blockDoneEvent.Reset();
  buffers.receiveEnd = buffers.decodeCursor = buffers.decodeEnd = 0;
  pcmPerSecond = pcmTaken = 0;
  ringBlocks = 0;
  queuedBlocks = finishedBlocks = armedBlocks = dueBlock = 0;
  titleDue = false;
  splitter.ClearTitles();
}

void StreamSession::RequestStop() {
  stopFlag.store(1);
  stopEvent.Set();
}

void StreamSession::Status(const char* text, bool error) {
  if (StopRequested()) return;
  events.ShowStatus(text, error);
}

bool StreamSession::ConnectAny() {
  if (IsPlaylistUrl(url.CStr())) return TryPlaylist();
  if (!ConnectStream(url.CStr())) return false;
  connectedUrl.Assign(url.CStr());
  return true;
}

bool StreamSession::ConnectStream(const char* streamUrl) {
  Status("Connect ...", false);
  if (!client.Open(streamUrl, kStreamPort)) {
    Status("Connect error", true);
    return false;
  }
  client.SendIcyRequest();
  int count = client.ReceiveHeader(reinterpret_cast<char*>(buffers.receive), kHeaderBytes);
  if (count < 0) {
    Status("Recv error", true);
    return false;
  }
  const char* header = reinterpret_cast<const char*>(buffers.receive);
  switch (ParseIcyResponse(header, static_cast<int>(std::strlen(header)), streamInfo)) {
    case kIcyStream:
      if (streamInfo.format == kStreamMpeg) return PrimeStream(count);
      Status("Not supported format", true);
      return false;
    case kIcyNotShoutcast:
      Status("Not shoutcast server", true);
      return false;
    case kIcyServerFull:
      Status("Listener Max", true);
      return false;
    default:
      Status("Can't use server", true);
      return false;
  }
}

bool StreamSession::PrimeStream(int headerCount) {
  std::uint8_t* receive = buffers.receive;
  int headerLength = static_cast<int>(std::strlen(reinterpret_cast<const char*>(receive)));
  int body = headerCount - (headerLength + 4);
  if (body > 0) std::memmove(receive, receive + headerLength + 4, static_cast<size_t>(body));
  if (body < 0) body = 0;
  buffers.receiveEnd = body;
  int n = client.ReceiveAtLeast(reinterpret_cast<char*>(receive + body), kPrimeBytes, kReceiveBufferBytes - body);
  if (n < 0) {
    Status("Recv error", true);
    return false;
  }
  buffers.receiveEnd += n;
  splitter.Start(streamInfo.metaInterval);
  buffers.decodeCursor = buffers.decodeEnd = 0;
  splitter.SplitReceived(MetadataSplitter::kUnfiled, buffers);
  return true;
}

int StreamSession::FetchPlaylist(const char* playlistUrl, int* bodyOffset) {
  HttpClient fetch;
  fetch.SetStopEvent(&stopEvent);
  fetch.SetLookupEvent(&lookupEvent);
  if (!fetch.Open(playlistUrl, kPlaylistPort)) return -1;
  fetch.SendRequest(false);
  char* answer = reinterpret_cast<char*>(buffers.receive);
  int count = fetch.ReceiveAll(answer, kReceiveBufferBytes);
  fetch.Close();
  if (count < 0) return -1;
  int body = FindPlaylistBody(answer, count);
  if (body < 0) return -1;
  *bodyOffset = body;
  return count;
}

bool StreamSession::TryPlaylist() {
  Status("Recv pls ...", false);
  int bodyOffset = 0;
  int count = FetchPlaylist(url.CStr(), &bodyOffset);
  if (count < 0) {
    Status("Recv error", true);
    return false;
  }
  PlaylistEntries entries;
  int found = ReadPlaylist(reinterpret_cast<const char*>(buffers.receive) + bodyOffset, count - bodyOffset, entries);
  if (found == kPlaylistNone) {
    Status("pls none", true);
    return false;
  }
  for (int i = 0; i < found; ++i) {
    CutUrlAtLineBreak(entries.files[i]);
    if (ConnectStream(entries.files[i].CStr())) {
      connectedUrl.Assign(entries.files[i].CStr());
      return true;
    }
    client.Close();
    if (StopRequested()) return false;
  }
  return false;
}

bool StreamSession::InitDecoder(StreamDecoder& decoder, int blocksPerSecond) {
  StreamBuffers& b = buffers;
  const std::uint8_t* cursor = b.decode + b.decodeCursor;
  bool opened = decoder.Init(cursor, b.decode + b.decodeEnd, blocksPerSecond);
  b.decodeCursor = static_cast<int>(cursor - b.decode);
  if (!opened) return false;
  // The frame's bit rate replaces what the icy-br header said.
  streamInfo.bitrate = decoder.Bitrate();
  pcmPerSecond = decoder.Format().avgBytesPerSec;
  pcmTaken = 0;
  return true;
}

bool StreamSession::ReadBlock(StreamDecoder& decoder, int k, std::uint8_t* destination, bool watchRing) {
  StreamBuffers& b = buffers;
  for (;;) {
    const std::uint8_t* cursor = b.decode + b.decodeCursor;
    int result = decoder.DecodeBlock(cursor, b.decode + b.decodeEnd, splitter.HasUnresolvedTitles() ? &resolver : nullptr);
    b.decodeCursor = static_cast<int>(cursor - b.decode);
    if (result == kBlockReady) break;

    // Less than one frame is left: move it to the front.
    int left = b.decodeEnd - b.decodeCursor;
    std::memmove(b.decode, b.decode + b.decodeCursor, static_cast<size_t>(left));
    b.decodeCursor = 0;
    b.decodeEnd = left;

    if (splitter.HasUnsplitAudio(b)) {  // the decode buffer was full last time
      splitter.SplitReceived(MetadataSplitter::kUnfiled, b);
      continue;
    }
    for (;;) {
      int n = client.ReceiveSome(b.receive + b.receiveEnd, kReceiveBufferBytes - b.receiveEnd);
      if (n > 0) {
        b.receiveEnd += n;
        splitter.SplitReceived(MetadataSplitter::kUnfiled, b);
        if (!splitter.BlockIncomplete()) break;
      } else if (n == kReceiveWouldBlock) {
        // Data, a stop, a finished block or the time of a title, whichever
        // comes first: the titles of the blocks that play meanwhile cannot
        // wait for this block's data.
        DataWait woke = client.WaitForData(watchRing ? &blockDoneEvent : nullptr, ShowDueTitle());
        if (woke == DataWait::Stopped) return false;
        if (woke == DataWait::Other) NoteFinishedBlocks();
      } else if (n == kReceiveClosed) {
        Status("Disconnect", true);
        return false;
      } else {
        Status("Recv error", true);
        return false;
      }
    }
  }
  decoder.TakeBlock(destination);
  pcmTaken += decoder.BlockBytes();
  splitter.FileTitles(k, pcmTaken);
  return true;
}

void StreamSession::TitleResolver::FrameConverted(const std::uint8_t* frame, std::int64_t pcmBefore) {
  // The decode buffer holds the last decodeEnd audio bytes split so far.
  const StreamBuffers& b = session.buffers;
  std::int64_t audioAt = session.splitter.audioTotal - b.decodeEnd + (frame - b.decode);
  session.splitter.ResolveTitles(audioAt, pcmBefore);
}

void StreamSession::StartRing(int blocks) {
  ringBlocks = blocks;
  queuedBlocks = blocks;
  finishedBlocks = armedBlocks = dueBlock = 0;
  ShowDueTitle();
}

void StreamSession::NoteFinishedBlocks() {
  if (ringBlocks <= 0) return;
  // Counting signals would lose a block whenever two finish before the play
  // thread looks (the event keeps one signal): the device's own word counts.
  std::int64_t before = finishedBlocks;
  while (finishedBlocks < queuedBlocks && events.BlockFinished(static_cast<int>(finishedBlocks % ringBlocks))) {
    ++finishedBlocks;
  }
  if (finishedBlocks != before) ShowDueTitle();
}

int StreamSession::BlockToRefill() {
  NoteFinishedBlocks();
  // The next block to queue takes the place of the one queued a ring ago.
  if (ringBlocks <= 0 || queuedBlocks - finishedBlocks >= ringBlocks) return -1;
  return static_cast<int>(queuedBlocks % ringBlocks);
}

void StreamSession::BlockRequeued() { ++queuedBlocks; }

bool StreamSession::TakeTitleOf(int blockIndex) {
  TextString title;
  std::int64_t position = 0;
  if (!splitter.TakeTitle(blockIndex, title, &position)) return false;
  if (titleDue) Status(dueTitle.CStr(), false);  // the device never told us it got there
  dueTitle.Assign(title.CStr());
  duePosition = position;
  titleDue = true;
  return true;
}

bool StreamSession::ArmNextTitle() {
  // Every queued block is filled, and its title filed: the next one can
  // wait for its sample before its block starts to sound.
  for (; ringBlocks > 0 && armedBlocks < queuedBlocks; ++armedBlocks) {
    if (TakeTitleOf(static_cast<int>(armedBlocks % ringBlocks))) {
      dueBlock = armedBlocks++;
      return true;
    }
  }
  return false;
}

bool StreamSession::ShowPendingTitle(int blockIndex) {
  if (!TakeTitleOf(blockIndex)) return false;
  dueBlock = finishedBlocks;  // it sounds now
  ShowDueTitle();
  return true;
}

std::uint32_t StreamSession::ShowDueTitle() {
  for (;;) {
    if (!titleDue && !ArmNextTitle()) return kNoTitleDue;
    // Due once the device has played its first sample; where the device
    // cannot tell, once its block sounds; and whatever the device says, once
    // its whole block has played.
    std::int64_t played = events.PlayedBytes();
    bool due = dueBlock < finishedBlocks || (played < 0 ? dueBlock <= finishedBlocks : played >= duePosition);
    if (!due) {
      if (played < 0 || pcmPerSecond <= 0) return kNoTitleDue;  // the block's start wakes the player
      std::int64_t ms = ((duePosition - played) * 1000 + pcmPerSecond - 1) / pcmPerSecond;
      return static_cast<std::uint32_t>(ms < kLongestTitleWaitMs ? ms : kLongestTitleWaitMs);
    }
    titleDue = false;
    Status(dueTitle.CStr(), false);
  }
}

void StreamSession::ShowFirstTitle() {
  TextString title;
  if (splitter.TakeNewestTitle(title, 0)) {
    Status(title.CStr(), false);
  } else {
    Status("Playing ...", false);
  }
}

void StreamSession::Close() {
  client.Close();
  splitter.ClearTitles();
  ringBlocks = 0;
  titleDue = false;
}
