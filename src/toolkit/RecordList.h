// Doubly linked list of variable-size records, each one heap block: the link
// header followed directly by the caller's payload. Payloads looked up by key
// begin with a 16-bit key.
#pragma once

#include <cstdint>

struct Record {
  Record* next;
  Record* prev;
  std::uint8_t* Payload() { return reinterpret_cast<std::uint8_t*>(this + 1); }
};

class RecordList {
 public:
  RecordList() = default;
  ~RecordList() { Clear(); }
  RecordList(const RecordList&) = delete;
  RecordList& operator=(const RecordList&) = delete;

  Record* AddRecord(std::uint32_t payloadSize);
  void RemoveRecord(Record* record);
  Record* FindByKey(std::uint16_t key) const;
  void Clear();
  bool IsEmpty() const { return first == nullptr; }

  Record* first = nullptr;
  Record* last = nullptr;
};
