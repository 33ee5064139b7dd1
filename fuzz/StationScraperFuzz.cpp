// Any bytes as a directory answer: the scan reads nothing outside the
// answer, and every record it makes reads back whole and in order.
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "toolkit/TextString.h"
#include "ui/search/FetchRequest.h"
#include "ui/search/StationRecord.h"
#include "ui/search/StationScraper.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const int start = 30, searchCount = 200;
  RecordList records;
  int taken = ScrapeAnswer(data, static_cast<std::uint32_t>(size), start, searchCount, records);
  if (taken < 0 || taken > searchCount) __builtin_trap();
  int n = 0;
  for (Record* r = records.first; r; r = r->next, ++n) {
    if (ReadStationNumber(r, kStationOrdinal) != start + n + 1) __builtin_trap();
    for (int t = 0; t < kStationTexts; ++t) {
      const char* text = ReadStationText(r, static_cast<StationText>(t));
      if (std::strlen(text) > static_cast<std::size_t>(kStationTextMax)) __builtin_trap();
      if (t != kStationRecent && std::strpbrk(text, "\t\r\n")) __builtin_trap();
    }
    if (std::strlen(ReadStationText(r, kStationType)) > 6) __builtin_trap();
    const char* recent = ReadStationText(r, kStationRecent);
    if (recent[0] && std::strncmp(recent, "Recent: ", 8) != 0) __builtin_trap();
  }
  if (n != taken) __builtin_trap();

  TextString failure;
  if (CheckAnswer(data, static_cast<std::uint32_t>(size), failure) && std::memcmp(data, "HTTP", 4) != 0)
    __builtin_trap();
  return 0;
}
