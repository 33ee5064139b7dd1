#include "ui/search/SearchResults.h"

#include "ui/search/StationScraper.h"

SearchRowKind ClassifyRow(int selection, std::uintptr_t itemValue) {
  if (selection < 0) return kNoRow;
  if (itemValue == kNextRowValue) return kNextRow;
  if (itemValue == kBackRowValue) return kBackRow;
  return kStationRow;
}

int SearchResults::PrepareQuery(const char* words, QueryKind kind, int searchCount, bool mp3Only, TextString& url) {
  if (words) query.Assign(words);
  int start = QueryStartIndex(kind, pageStart, pageCount, searchCount);
  BuildQueryUrl(query.CStr(), start, searchCount, mp3Only, url);
  return start;
}

bool SearchResults::TakeAnswer(ByteBuffer& answer, int start, int searchCount) {
  // The answer goes as soon as its copy exists, and the old page before the
  // new one is read: at most the answer and its copy are held at once.
  MemoryBlock copy;
  if (!StripAnswer(answer.data, answer.length, copy)) return false;
  answer.Release();
  ClearRecords();
  int taken = ScrapeStations(static_cast<const char*>(copy.data), start, searchCount, records);
  nextRow = taken > 0;
  backRow = start > 0;
  pageStart = start;
  pageCount = taken;
  return true;
}

void SearchResults::ClearRecords() {
  records.Clear();
  nextRow = false;
  backRow = false;
}
