// Stream titles and directory texts come in Shift-JIS or UTF-8 without saying
// which. Both readings are scored; text that reads better as UTF-8 is
// converted to the ANSI code page, anything else is kept as it came.
#pragma once

class TextString;

// Scores of the two readings: weight x 100 / (bytes x 2), so text of
// single-byte characters scores 50 and text of double-byte characters 100;
// -1 when the text is not valid in that encoding. Both stop at the NUL.
int ScoreShiftJis(const char* text);
int ScoreUtf8(const char* text);

// Writes the text for display into output. True when it was converted from
// UTF-8, false when it was copied as it was.
bool DecodeStreamText(const char* input, TextString& output);
