// Reads the directory's HTML answer into station records by walking a fixed
// sequence of text markers. Nothing of the page is decoded but the
// now-playing text; markup inside a taken text stays in it.
#pragma once

#include <cstdint>

#include "toolkit/RecordList.h"

class MemoryBlock;

// Copies the answer into a new block of length + 1 bytes without its TAB, CR
// and LF bytes (so that texts spanning lines come out joined), with a NUL
// behind. The copy reads as text up to its first NUL. False when the block
// cannot be allocated.
bool StripAnswer(const std::uint8_t* bytes, std::uint32_t length, MemoryBlock& copy);

// Appends the stations of the stripped text to records, at most
// searchCount, numbering them from start + 1. A station whose markers run
// out ends the scan; the stations before it stay. Returns the number taken.
int ScrapeStations(const char* text, int start, int searchCount, RecordList& records);

// Both steps over a raw answer. Returns the number taken, or -1 when the
// copy cannot be allocated (records untouched).
int ScrapeAnswer(const std::uint8_t* bytes, std::uint32_t length, int start, int searchCount, RecordList& records);
