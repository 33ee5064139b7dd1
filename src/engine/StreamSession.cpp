#include "engine/StreamSession.h"

#include <cstring>

#include "engine/Playlist.h"
#include "engine/StreamDecoder.h"
#include "toolkit/Platform.h"

namespace {

constexpr int kStreamPort = 8000;
constexpr int kPlaylistPort = 80;
constexpr int kHeaderBytes = 3000;
constexpr int kPrimeBytes = 4096;
constexpr std::uint32_t kDataShortSleepMs = 2;

}  // namespace

StreamSession::StreamSession(SessionEvents& sessionEvents) : events(sessionEvents) {
  client.SetAbortFlag(&stopFlag);
}

bool StreamSession::Allocate() {
  if (!receiveBlock.data && !receiveBlock.Allocate(kReceiveBufferBytes, false)) return false;
  if (!decodeBlock.data && !decodeBlock.Allocate(kDecodeBufferBytes, false)) return false;
  buffers.receive = static_cast<std::uint8_t*>(receiveBlock.data);
  buffers.decode = static_cast<std::uint8_t*>(decodeBlock.data);
  return true;
}

void StreamSession::Begin(const char* playUrl) {
  url.Assign(playUrl);
  connectedUrl.Clear();
  stopFlag.store(0);
  buffers.receiveEnd = buffers.decodeCursor = buffers.decodeEnd = 0;
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
  switch (HttpClient::ParseIcyResponse(reinterpret_cast<const char*>(buffers.receive), streamInfo)) {
    case kIcyStream:
      if (streamInfo.format == 1) return PrimeStream(count);
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
  fetch.SetAbortFlag(&stopFlag);
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
    if (ConnectStream(entries.files[i].CStr())) {
      connectedUrl.Assign(entries.files[i].CStr());
      return true;
    }
    client.Close();
    if (StopRequested()) return false;
  }
  return false;
}

bool StreamSession::ReadBlock(StreamDecoder& decoder, int k, std::uint8_t* destination, int* counter) {
  StreamBuffers& b = buffers;
  for (;;) {
    const std::uint8_t* cursor = b.decode + b.decodeCursor;
    int result = decoder.DecodeBlock(cursor, b.decode + b.decodeEnd);
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
        if (StopRequested()) return false;
        // The poll consumes the auto-reset signal: count it, or the ring
        // would stay one block short.
        if (events.PollBlockDone() && counter) ++*counter;
        platform::SleepMs(kDataShortSleepMs);
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
  FileTitles(decoder, k);
  return true;
}

void StreamSession::FileTitles(const StreamDecoder& decoder, int k) {
  // Where in the audio bytes this block ends: what the decoder consumed,
  // less the audio of the PCM it staged beyond the block.
  const StreamBuffers& b = buffers;
  std::int64_t consumed = splitter.audioTotal - (b.decodeEnd - b.decodeCursor);
  std::int64_t pcmPerSecond = decoder.Format().avgBytesPerSec;
  std::int64_t audioPerSecond = decoder.SourceFormat().avgBytesPerSec;
  std::int64_t staged = pcmPerSecond > 0 ? decoder.StagedBytes() * audioPerSecond / pcmPerSecond : 0;
  splitter.FileTitles(k, consumed - staged);
}

bool StreamSession::ShowPendingTitle(int blockIndex) {
  TextString title;
  if (!splitter.TakeTitle(blockIndex, title)) return false;
  Status(title.CStr(), false);
  return true;
}

void StreamSession::ShowFirstTitle() {
  TextString title;
  if (splitter.TakeNewestTitle(title)) {
    Status(title.CStr(), false);
  } else {
    Status("Playing ...", false);
  }
}

void StreamSession::Close() {
  client.Close();
  splitter.ClearTitles();
}
