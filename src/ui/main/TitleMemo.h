// The title memo, "memo.txt" beside the program: one title a line, in the
// program's code page, as the user asked for them.
#pragma once

// Appends title to the memo at path, ended by CR LF. A line break inside the
// title (a station may send one) becomes one space and one at either end is
// dropped, so that every line of the memo stays one title. False when the
// file cannot be opened or nothing is left to write.
bool AppendToTitleMemo(const char* path, const char* title);
