#include "engine/MetadataSplitter.h"

#include <cstring>

#include "engine/StreamText.h"
#include "toolkit/TextString.h"

namespace {

const char kTitleTag[] = "StreamTitle='";

constexpr int kPositionAt = 2;
constexpr int kTextAt = 10;

const char* TitleText(Record* record) { return MetadataSplitter::TitleOf(record); }

std::uint16_t KeyOf(Record* record) {
  std::uint16_t key;
  std::memcpy(&key, record->Payload(), sizeof key);
  return key;
}

std::int64_t PositionOf(Record* record) {
  std::int64_t position;
  std::memcpy(&position, record->Payload() + kPositionAt, sizeof position);
  return position;
}

void Place(Record* record, std::uint16_t key, std::int64_t position) {
  std::memcpy(record->Payload(), &key, sizeof key);
  std::memcpy(record->Payload() + kPositionAt, &position, sizeof position);
}

}  // namespace

const char* MetadataSplitter::TitleOf(Record* record) {
  return reinterpret_cast<const char*>(record->Payload()) + kTextAt;
}

void MetadataSplitter::Start(int interval) {
  metaInterval = interval > 0 ? interval : 0;
  metaCountdown = metaInterval;
  audioTotal = 0;
  unresolved = 0;
  titleSeen = false;
}

void MetadataSplitter::SplitReceived(int blockIndex, StreamBuffers& b) {
  int room = kDecodeBufferBytes - b.decodeEnd;
  if (metaInterval == 0) {
    int n = b.receiveEnd < room ? b.receiveEnd : room;
    std::memcpy(b.decode + b.decodeEnd, b.receive, static_cast<size_t>(n));
    b.decodeEnd += n;
    audioTotal += n;
    std::memmove(b.receive, b.receive + n, static_cast<size_t>(b.receiveEnd - n));
    b.receiveEnd -= n;
    return;
  }
  int p = 0;
  while (p < b.receiveEnd) {
    int left = b.receiveEnd - p;
    if (metaCountdown > 0) {
      int n = metaCountdown < left ? metaCountdown : left;
      if (n > room) n = room;
      if (n == 0) break;  // the decode buffer is full: keep the rest for later
      std::memcpy(b.decode + b.decodeEnd, b.receive + p, static_cast<size_t>(n));
      b.decodeEnd += n;
      audioTotal += n;
      room -= n;
      metaCountdown -= n;
      p += n;
    } else if (metaCountdown == 0) {
      int size = 16 * b.receive[p++];  // 16 x L bytes follow the length byte
      metaCountdown = metaInterval;
      if (size == 0) continue;
      if (size > b.receiveEnd - p) {
        metaCountdown = -size;
        break;
      }
      HandleMetadata(blockIndex, b.receive + p, size);
      p += size;
    } else {
      int size = -metaCountdown;
      if (size > left) break;
      HandleMetadata(blockIndex, b.receive + p, size);
      metaCountdown = metaInterval;
      p += size;
    }
  }
  // What is left (an incomplete block, or audio that found no room) moves to
  // the start of the receive buffer.
  std::memmove(b.receive, b.receive + p, static_cast<size_t>(b.receiveEnd - p));
  b.receiveEnd -= p;
}

void MetadataSplitter::HandleMetadata(int blockIndex, const std::uint8_t* bytes, int size) {
  if (size >= kMaxMetadataBytes) return;
  char text[kMaxMetadataBytes];
  std::memcpy(text, bytes, static_cast<size_t>(size));
  text[size] = '\0';
  const char* title = text;
  if (char* tag = std::strstr(text, kTitleTag)) {
    title = tag + sizeof kTitleTag - 1;
    if (char* close = std::strstr(tag + sizeof kTitleTag - 1, "';")) *close = '\0';
  }
  TextString converted;
  DecodeStreamText(title, converted);

  std::uint16_t key = static_cast<std::uint16_t>(blockIndex);
  std::int64_t position = 0;
  if (key == kUnfiled && !titleSeen) {
    // The station's first title names the song that was already playing
    // when we joined: it holds from the first sample on.
    key = kResolved;
  } else if (key == kUnfiled) {
    position = audioTotal;
  } else if (Record* old = pendingTitles.FindByKey(key)) {
    pendingTitles.RemoveRecord(old);
  }
  titleSeen = true;
  int length = converted.Length();
  Record* record = pendingTitles.AddRecord(static_cast<std::uint32_t>(kTextAt + length + 1));
  if (!record) return;  // the title is lost, the stream goes on
  Place(record, key, position);
  std::memcpy(record->Payload() + kTextAt, converted.CStr(), static_cast<size_t>(length + 1));
  if (key == kUnfiled) ++unresolved;
}

void MetadataSplitter::ResolveTitles(std::int64_t audioPosition, std::int64_t pcmPosition) {
  for (Record* r = pendingTitles.first; r && unresolved > 0; r = r->next) {
    if (KeyOf(r) == kUnfiled && PositionOf(r) <= audioPosition) {
      Place(r, kResolved, pcmPosition);
      --unresolved;
    }
  }
}

void MetadataSplitter::FileTitles(int blockIndex, std::int64_t pcmEnd) {
  std::uint16_t key = static_cast<std::uint16_t>(blockIndex);
  for (Record* r = pendingTitles.first; r;) {
    Record* next = r->next;
    if (KeyOf(r) == kResolved && PositionOf(r) < pcmEnd) {
      // Records stay in arrival order, so the last one filed is the newest.
      if (Record* old = pendingTitles.FindByKey(key)) {
        if (old == next) next = next->next;
        pendingTitles.RemoveRecord(old);
      }
      std::memcpy(r->Payload(), &key, sizeof key);
    }
    r = next;
  }
}

bool MetadataSplitter::TakeTitle(int blockIndex, TextString& title, std::int64_t* pcmPosition) {
  Record* record = pendingTitles.FindByKey(static_cast<std::uint16_t>(blockIndex));
  if (!record) return false;
  title.Assign(TitleText(record));
  if (pcmPosition) *pcmPosition = PositionOf(record);
  pendingTitles.RemoveRecord(record);
  return true;
}

bool MetadataSplitter::TakeNewestTitle(TextString& title, std::int64_t pcmUpTo) {
  bool found = false;
  for (Record* r = pendingTitles.first; r;) {
    Record* next = r->next;
    std::uint16_t key = KeyOf(r);
    if (key != kUnfiled && key != kResolved && PositionOf(r) <= pcmUpTo) {
      title.Assign(TitleText(r));
      found = true;
      pendingTitles.RemoveRecord(r);
    }
    r = next;
  }
  return found;
}
