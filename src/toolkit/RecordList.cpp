#include "toolkit/RecordList.h"

#include <cstdlib>
#include <cstring>

Record* RecordList::AddRecord(std::uint32_t payloadSize) {
  // FindByKey reads a key from every record: a shorter payload still has one,
  // zero until the caller writes it.
  std::uint32_t room = payloadSize < sizeof(std::uint16_t) ? sizeof(std::uint16_t) : payloadSize;
  Record* record = static_cast<Record*>(std::malloc(sizeof(Record) + room));
  if (!record) return nullptr;
  if (payloadSize < sizeof(std::uint16_t)) std::memset(record->Payload(), 0, sizeof(std::uint16_t));
  record->next = nullptr;
  record->prev = last;
  if (last) {
    last->next = record;
  } else {
    first = record;
  }
  last = record;
  return record;
}

void RecordList::RemoveRecord(Record* record) {
  if (record->prev) {
    record->prev->next = record->next;
  } else {
    first = record->next;
  }
  if (record->next) {
    record->next->prev = record->prev;
  } else {
    last = record->prev;
  }
  std::free(record);
}

Record* RecordList::FindByKey(std::uint16_t key) const {
  for (Record* r = first; r; r = r->next) {
    std::uint16_t k;
    std::memcpy(&k, r->Payload(), sizeof k);
    if (k == key) return r;
  }
  return nullptr;
}

void RecordList::Clear() {
  Record* r = first;
  while (r) {
    Record* next = r->next;
    std::free(r);
    r = next;
  }
  first = nullptr;
  last = nullptr;
}
