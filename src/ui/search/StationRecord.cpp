#include "ui/search/StationRecord.h"

#include <cstring>

#include "toolkit/Platform.h"

namespace {

constexpr std::uint32_t kNumbersBytes = kStationNumbers * sizeof(std::int32_t);

// The longest run of whole characters of at most kStationTextMax bytes.
std::uint32_t KeptLength(const char* text) {
  const char* p = text;
  while (*p) {
    const char* next = platform::NextChar(p);
    if (next - text > kStationTextMax) break;
    p = next;
  }
  return static_cast<std::uint32_t>(p - text);
}

const std::uint8_t* Payload(const Record* record) {
  return const_cast<Record*>(record)->Payload();
}

}  // namespace

Record* AddStationRecord(RecordList& list, const StationFields& fields) {
  std::uint32_t lengths[kStationTexts];
  std::uint32_t size = kNumbersBytes;
  for (int i = 0; i < kStationTexts; ++i) {
    lengths[i] = KeptLength(fields.texts[i]);
    size += 2 + lengths[i] + 1;
  }
  Record* record = list.AddRecord(size);
  if (!record) return nullptr;
  std::uint8_t* p = record->Payload();
  std::memcpy(p, fields.numbers, kNumbersBytes);
  p += kNumbersBytes;
  for (int i = 0; i < kStationTexts; ++i) {
    std::uint16_t count = static_cast<std::uint16_t>(lengths[i] + 1);
    std::memcpy(p, &count, 2);
    std::memcpy(p + 2, fields.texts[i], lengths[i]);
    p[2 + lengths[i]] = '\0';
    p += 2 + count;
  }
  return record;
}

std::int32_t ReadStationNumber(const Record* record, StationNumber which) {
  std::int32_t value;
  std::memcpy(&value, Payload(record) + which * sizeof(std::int32_t), sizeof value);
  return value;
}

const char* ReadStationText(const Record* record, StationText which) {
  const std::uint8_t* p = Payload(record) + kNumbersBytes;
  for (int i = 0; i < which; ++i) {
    std::uint16_t count;
    std::memcpy(&count, p, 2);
    p += 2 + count;
  }
  return reinterpret_cast<const char*>(p + 2);
}
