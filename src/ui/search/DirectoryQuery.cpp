#include "ui/search/DirectoryQuery.h"

#include <cstdint>

#include "ui/search/DirectoryHosts.h"
#include "ui/search/StationRecord.h"

namespace {

// Hand-edited settings may hold any count: the arithmetic must not overflow.
int ClampToInt(std::int64_t value) {
  if (value > INT32_MAX) return INT32_MAX;
  return value < INT32_MIN ? INT32_MIN : static_cast<int>(value);
}

}  // namespace

int QueryStartIndex(QueryKind kind, int pageStart, int pageCount, int searchCount) {
  switch (kind) {
    case kNextPage:
      return ClampToInt(static_cast<std::int64_t>(pageStart) + pageCount);
    case kPreviousPage: {
      std::int64_t back = static_cast<std::int64_t>(pageStart) - searchCount;
      return back < 0 ? 0 : ClampToInt(back);
    }
    case kNewSearch:
    default:
      return 0;
  }
}

void BuildQueryUrl(const char* query, int start, int searchCount, bool mp3Only, TextString& url) {
  TextString words;
  words.Assign(query[0] ? query : "top");
  words.ReplaceAll(" ", "%20");
  words.ReplaceAll("&", "%26");
  url.Format("http://%s/search-ajax/%s?order=desc&mode=listenershead2&ajax=true&count=%d&strIndex=%d%s",
             kDirectoryHost, words.CStr(), searchCount, start, mp3Only ? "&filter=mp3" : "");
}

void TuneInUrl(const Record* station, TextString& url) {
  url.Format("http://%s/sbin/tunein-station.pls?id=%d", kTuneInHost, ReadStationNumber(station, kStationId));
}
