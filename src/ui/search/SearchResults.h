// The search window's result list without its window: the station records
// of the page shown, the words of the last new search and the paging state,
// and which paging rows the list shows below the stations. The window runs
// the fetch between PrepareQuery and TakeAnswer and builds its rows from
// here: one per record (the record's address as item value), then
// "NEXT >>" and "<< BACK" as HasNextRow and HasBackRow say.
#pragma once

#include <cstdint>

#include "toolkit/ByteBuffer.h"
#include "toolkit/RecordList.h"
#include "toolkit/TextString.h"
#include "ui/search/DirectoryQuery.h"

// Item values of the paging rows; any other value is a station record.
constexpr std::uintptr_t kNextRowValue = 1;
constexpr std::uintptr_t kBackRowValue = 2;
constexpr char kNextRowText[] = "NEXT >>";
constexpr char kBackRowText[] = "<< BACK";

// The directory query's answer buffer: initial size and growth step.
constexpr std::uint32_t kAnswerInitialBytes = 204800;
constexpr std::uint32_t kAnswerGrowthBytes = 102400;

enum SearchRowKind { kNoRow, kNextRow, kBackRow, kStationRow };
// What a list row is, from the list's selection (-1: none) and its item value.
SearchRowKind ClassifyRow(int selection, std::uintptr_t itemValue);

class SearchResults {
 public:
  SearchResults() = default;
  SearchResults(const SearchResults&) = delete;
  SearchResults& operator=(const SearchResults&) = delete;

  // Before the fetch: words (null for paging) become the query, even when
  // empty; url is the query's address. Returns the start index to hand to
  // TakeAnswer.
  int PrepareQuery(const char* words, QueryKind kind, int searchCount, bool mp3Only, TextString& url);
  // After a fetch that returned 0 or more: replaces the page with the
  // stations of the answer and releases the answer. False, with nothing
  // changed, when the scan's copy cannot be allocated.
  bool TakeAnswer(ByteBuffer& answer, int start, int searchCount);
  // The list emptied on hiding: records and rows go, the query and the
  // paging state stay.
  void ClearRecords();

  bool HasNextRow() const { return nextRow; }
  bool HasBackRow() const { return backRow; }

  RecordList records;
  TextString query;
  std::int32_t pageStart = 0;
  std::int32_t pageCount = 0;

 private:
  bool nextRow = false;
  bool backRow = false;
};
