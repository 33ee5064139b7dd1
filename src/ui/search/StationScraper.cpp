#include "ui/search/StationScraper.h"

#include <algorithm>
#include <cstring>

#include "engine/StreamText.h"
#include "toolkit/ByteBuffer.h"
#include "toolkit/Numbers.h"
#include "toolkit/TextString.h"
#include "ui/search/StationRecord.h"

namespace {

constexpr char kTuneInMarker[] = "tunein-station.pls";
// The id follows "tunein-station.pls?id=".
constexpr std::ptrdiff_t kIdOffset = 22;
constexpr int kTypeBytes = 6;

// The first occurrence of marker in [from, end), or null.
const char* Find(const char* from, const char* end, const char* marker) {
  const char* markerEnd = marker + std::strlen(marker);
  const char* found = std::search(from, end, marker, markerEnd);
  return found == end ? nullptr : found;
}

// The text from `from` to the next double quote before end; false when
// there is none.
bool TakeQuoted(const char* from, const char* end, TextString& out, const char*& quote) {
  const void* found = std::memchr(from, '"', static_cast<size_t>(end - from));
  if (!found) return false;
  quote = static_cast<const char*>(found);
  out.Assign(from, static_cast<int>(quote - from));
  return true;
}

struct ScrapedStation {
  std::int32_t id = 0, listeners = 0, bitrate = 0;
  TextString name, tags, site, recent, type;
};

// Tags past a record's longest text change nothing it keeps; link texts may
// overlap, so without a cut they could grow with the square of the block.
constexpr int kTagsKept = kStationTextMax + 2;

void PutTagText(TextString& tags, int& length, const char* text, int count) {
  length = tags.AppendAt(length, text, std::min(count, kTagsKept - length));
}

// Every link text of the tag block [from, blockEnd), each followed by a
// blank. Returns the position right after the '>' of the last link taken,
// or from when there was none.
const char* CollectTags(const char* from, const char* blockEnd, TextString& tags) {
  const char* pos = from;
  const char* close = nullptr;
  int length = tags.Length();
  for (const char* p = from;;) {
    const char* link = Find(p, blockEnd, "<a ");
    if (!link) break;
    const void* found = std::memchr(link, '>', static_cast<size_t>(blockEnd - link));
    if (!found) break;
    const char* textStart = static_cast<const char*>(found) + 1;
    // One "</" may end the text of many nested links: look again only
    // once it lies behind, or the walk is quadratic.
    if (!close || close < textStart) close = Find(textStart, blockEnd, "</");
    if (!close) break;
    PutTagText(tags, length, textStart, static_cast<int>(close - textStart));
    PutTagText(tags, length, " ", 1);
    pos = p = textStart;
  }
  return pos;
}

// Takes one station from pos on and moves pos behind it; false when a
// marker is missing.
bool TakeStation(const char*& pos, const char* end, ScrapedStation& s) {
  const char* m = Find(pos, end, kTuneInMarker);
  if (!m) return false;
  // A marker at the very end has no room for "?id=": read nothing past the text.
  pos = end - m >= kIdOffset ? m + kIdOffset : end;
  s.id = ReadDecimal(pos);

  if (!(m = Find(pos, end, "clickabletitle"))) return false;
  pos = m;
  if (!(m = Find(pos, end, "title=\"")) || !TakeQuoted(m + 7, end, s.name, pos)) return false;

  if (!(m = Find(pos, end, "Tags:"))) return false;
  pos = m;
  const char* tagBlockEnd = Find(pos, end, "</div>");
  if (!tagBlockEnd) return false;
  pos = CollectTags(pos, tagBlockEnd, s.tags);

  if (!(m = Find(pos, end, "Site:"))) return false;
  pos = m;
  if (!(m = Find(pos, end, "href=\"")) || !TakeQuoted(m + 6, end, s.site, pos)) return false;

  // The now-playing text is optional: look for it only up to the next
  // station, or a station without one would take the next one's title and
  // numbers, and that station would vanish.
  const char* stationEnd = Find(pos, end, kTuneInMarker);
  if (!stationEnd) stationEnd = end;
  if ((m = Find(pos, stationEnd, "playingtext"))) {
    TextString raw, decoded;
    if (!(m = Find(m, stationEnd, "title=\"")) || !TakeQuoted(m + 7, stationEnd, raw, pos)) return false;
    DecodeStreamText(raw.CStr(), decoded);
    s.recent.Assign("Recent: ");
    s.recent.Append(decoded.CStr());
  }

  if (!(m = Find(pos, end, "dirlistners\">"))) return false;
  s.listeners = ReadDecimal(m + 13);
  pos = m;
  if (!(m = Find(pos, end, "dirbitrate\">"))) return false;
  s.bitrate = ReadDecimal(m + 12);
  pos = m;
  if (!(m = Find(pos, end, "dirtype\">"))) return false;
  const char* typeStart = m + 9;
  pos = typeStart;
  while (pos < end && *pos != '<' && *pos != ' ') ++pos;
  s.type.Assign(typeStart, static_cast<int>(pos - typeStart));
  s.type.TruncateBytes(kTypeBytes);
  return true;
}

}  // namespace

bool StripAnswer(const std::uint8_t* bytes, std::uint32_t length, MemoryBlock& copy) {
  if (length == UINT32_MAX || !copy.Allocate(length + 1, false)) return false;
  char* out = static_cast<char*>(copy.data);
  for (std::uint32_t i = 0; i < length; ++i) {
    std::uint8_t b = bytes[i];
    if (b != '\t' && b != '\r' && b != '\n') *out++ = static_cast<char>(b);
  }
  *out = '\0';
  return true;
}

int ScrapeStations(const char* text, int start, int searchCount, RecordList& records) {
  int taken = 0;
  if (searchCount < 1) return 0;
  const char* pos = text;
  const char* end = text + std::strlen(text);
  while (taken < searchCount) {
    ScrapedStation s;
    if (!TakeStation(pos, end, s)) break;
    StationFields fields;
    fields.numbers[kStationId] = s.id;
    fields.numbers[kStationListeners] = s.listeners;
    fields.numbers[kStationBitrate] = s.bitrate;
    // Wraps rather than overflows for a start index near the top.
    fields.numbers[kStationOrdinal] =
        static_cast<std::int32_t>(static_cast<std::uint32_t>(start) + static_cast<std::uint32_t>(taken) + 1u);
    fields.texts[kStationName] = s.name.CStr();
    fields.texts[kStationTags] = s.tags.CStr();
    fields.texts[kStationSite] = s.site.CStr();
    fields.texts[kStationRecent] = s.recent.CStr();
    fields.texts[kStationType] = s.type.CStr();
    if (!AddStationRecord(records, fields)) break;
    ++taken;
  }
  return taken;
}

int ScrapeAnswer(const std::uint8_t* bytes, std::uint32_t length, int start, int searchCount, RecordList& records) {
  MemoryBlock copy;
  if (!StripAnswer(bytes, length, copy)) return -1;
  return ScrapeStations(static_cast<const char*>(copy.data), start, searchCount, records);
}
