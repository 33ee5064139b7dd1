// The search window's genre menu, read once at start-up from "genre.txt"
// beside the executable and packed into one block of records, each starting
// with a one-byte code.
#pragma once

#include <cstdint>

#include "toolkit/ByteBuffer.h"

enum GenreCode : std::uint8_t {
  kGenreEntry = 0,       // followed by the line, NUL-terminated; "shown|searched" or one text
  kGenreSeparator = 1,   // a line starting with '-'
  kGenreGroupStart = 2,  // a line starting with '<': followed by the title behind it, NUL-terminated
  kGenreGroupEnd = 3,    // a line starting with '>'
  kGenreListEnd = 100,
};

extern MemoryBlock gGenreList;

// Packs the text of a genre file into list: one record per line (lines are
// cut as File::ReadLine cuts them), blank lines left out, the end record
// last. A failed allocation leaves list without data.
void ParseGenreList(const void* bytes, std::uint32_t count, MemoryBlock& list);
// Reads the file at path into list. A missing or unreadable file, or a
// failed allocation, leaves list without data (no genre menu).
void LoadGenreList(MemoryBlock& list, const char* path);
// gGenreList from "genre.txt" beside the executable.
void LoadGenreList();

struct GenreRecord {
  GenreCode code;
  const char* text;  // for entries and group starts; "" otherwise
};

// Reads the record at offset and moves offset past it, stepping over bytes
// that are no known code. False at the end record, on a list without data,
// and on anything that does not fit the block, so a walk never leaves it.
bool NextGenreRecord(const MemoryBlock& list, std::uint32_t& offset, GenreRecord& record);
