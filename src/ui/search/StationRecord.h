// One station of a directory result page, packed into one RecordList record:
// four signed 32-bit numbers, then five counted texts. A counted text is a
// 16-bit count (text length + 1), the text bytes and a NUL; the n-th text is
// found by stepping over the earlier ones. The record never changes once
// built.
#pragma once

#include <cstdint>

#include "toolkit/RecordList.h"

enum StationNumber { kStationId = 0, kStationListeners, kStationBitrate, kStationOrdinal, kStationNumbers };
enum StationText { kStationName = 0, kStationTags, kStationSite, kStationRecent, kStationType, kStationTexts };

// A text longer than this is cut (at a character boundary) so that its count
// still fits in 16 bits.
constexpr int kStationTextMax = 0xFFFF - 1;

struct StationFields {
  std::int32_t numbers[kStationNumbers] = {};
  const char* texts[kStationTexts] = {"", "", "", "", ""};
};

// Appends the packed record to list; null when it cannot be allocated (the
// list is then unchanged).
Record* AddStationRecord(RecordList& list, const StationFields& fields);

std::int32_t ReadStationNumber(const Record* record, StationNumber which);
// The NUL-terminated text inside the record.
const char* ReadStationText(const Record* record, StationText which);
