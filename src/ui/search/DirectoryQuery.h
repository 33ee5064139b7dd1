// The requests made of the station directory: the search query, POSTed to
// the web site's "/search-ajax/" endpoint (the HTTP client sends the part of
// the URL after its first "?" as the form body), and a station's tune-in
// playlist.
#pragma once

#include "toolkit/RecordList.h"
#include "toolkit/TextString.h"

enum QueryKind { kNewSearch = 0, kNextPage = 1, kPreviousPage = 2 };

// The "strIndex" of the page a query asks for: 0 for a new search; the
// station after the page shown for the next page; searchCount stations
// back, never below 0, for the previous page.
int QueryStartIndex(QueryKind kind, int pageStart, int pageCount, int searchCount);

// The search URL for query (the word "top" when it is empty). Blanks go out
// as "%20" and ampersands as "%26"; every other byte as it is, so a "?" in
// the words moves the rest of them into the form body.
void BuildQueryUrl(const char* query, int start, int searchCount, bool mp3Only, TextString& url);

// The tune-in playlist URL of a station record.
void TuneInUrl(const Record* station, TextString& url);
