#include "engine/StreamText.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>

#include "toolkit/TextString.h"

namespace {

std::string Decode(const char* input, bool* converted = nullptr) {
  TextString out;
  bool c = DecodeStreamText(input, out);
  if (converted) *converted = c;
  return out.CStr();
}

}  // namespace

TEST(StreamText, ConvertsUtf8JapaneseToTheAnsiCodePage) {
  bool converted = false;
  // 日本語の歌 in UTF-8 becomes its code page 932 bytes.
  EXPECT_EQ("\x93\xFA\x96\x7B\x8C\xEA\x82\xCC\x89\xCC",
            Decode("\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E\xE3\x81\xAE\xE6\xAD\x8C", &converted));
  EXPECT_TRUE(converted);
  // Half-width katakana (3 UTF-8 bytes each) become single bytes: ｱｲｳ.
  EXPECT_EQ("\xB1\xB2\xB3", Decode("\xEF\xBD\xB1\xEF\xBD\xB2\xEF\xBD\xB3"));
  EXPECT_EQ("Artist - \x93\xFA\x96\x7B", Decode("Artist - \xE6\x97\xA5\xE6\x9C\xAC"));
}

TEST(StreamText, KeepsShiftJisAsItCame) {
  // Lead bytes across 0x81-0x9F and 0xE0-0xFC, trails on both sides of 0x7F.
  const char* texts[] = {
      "\x93\xFA\x96\x7B\x8C\xEA\x82\xCC\x89\xCC",  // 日本語の歌
      "\x88\x9F\x83\x41\x8A\xBF",                  // 亜ア漢
      "\x81\x40\x9F\xFC",
      "\xE0\x40\x8A\x5E",                          // 漾蛙
      "\xEA\xA4",                                  // 熙
      "\xEE\xE0\xED\x95",                          // 髙﨑 (NEC selection)
      "\xFA\x40\xFB\xFC\xFC\x4B",                  // IBM extension area
      "Song \x83\x5E\x83\x43\x83\x67\x83\x8B (Live)",
  };
  for (const char* t : texts) {
    bool converted = true;
    EXPECT_EQ(t, Decode(t, &converted));
    EXPECT_FALSE(converted) << t;
  }
}

TEST(StreamText, PlainAsciiGoesThroughTheConversionUnchanged) {
  bool converted = false;
  EXPECT_EQ("Artist - Title (2024 Remix)", Decode("Artist - Title (2024 Remix)", &converted));
  EXPECT_TRUE(converted) << "ASCII scores 50 in both readings; a tie goes to UTF-8";
  EXPECT_EQ(50, ScoreShiftJis("abc"));
  EXPECT_EQ(50, ScoreUtf8("abc"));
  converted = true;
  EXPECT_EQ("", Decode("", &converted));
  EXPECT_FALSE(converted);
}

TEST(StreamText, ScoresBothReadings) {
  EXPECT_EQ(100, ScoreShiftJis("\x93\xFA\x96\x7B"));
  EXPECT_EQ(-1, ScoreUtf8("\x93\xFA\x96\x7B"));
  // 日本 in UTF-8 also reads as Shift-JIS, but worse: 10 x 100 / 12 against 100.
  EXPECT_EQ(83, ScoreShiftJis("\xE6\x97\xA5\xE6\x9C\xAC"));
  EXPECT_EQ(100, ScoreUtf8("\xE6\x97\xA5\xE6\x9C\xAC"));
  EXPECT_EQ(-1, ScoreShiftJis("\x80"));
  EXPECT_EQ(-1, ScoreShiftJis("\xA0"));
  EXPECT_EQ(-1, ScoreShiftJis("\xFD"));
  EXPECT_EQ(-1, ScoreShiftJis("\x81\x7F"));
  EXPECT_EQ(-1, ScoreUtf8("\xF8\x80\x80\x80\x80"));
  EXPECT_EQ(-1, ScoreUtf8("\xC3"));
  // Neither reading: kept as it came (the conversion may not be able to).
  EXPECT_EQ(-1, ScoreShiftJis("\xFF\xFE"));
  EXPECT_EQ(-1, ScoreUtf8("\xFF\xFE"));
}

TEST(StreamText, NeverReadsPastTheNul) {
  // Each text is copied into a heap block of exactly its length plus the NUL,
  // so that AddressSanitizer sees a read behind it.
  const char* texts[] = {"\xE6", "\xE6\x97", "\xF0\x9F\x98", "\x93", "a\xC3", "\xE0"};
  for (const char* t : texts) {
    size_t n = std::strlen(t) + 1;
    std::unique_ptr<char[]> exact(new char[n]);
    std::memcpy(exact.get(), t, n);
    EXPECT_EQ(-1, ScoreUtf8(exact.get()));
    TextString out;
    DecodeStreamText(exact.get(), out);
  }
  EXPECT_EQ(-1, ScoreShiftJis("\x93"));
}

TEST(StreamText, LongTitlesConvertWhole) {
  // 170 three-byte characters: 510 bytes in, 340 out.
  std::string utf8, expected;
  for (int i = 0; i < 170; ++i) {
    utf8 += "\xE3\x81\x82";  // あ
    expected += "\x82\xA0";
  }
  EXPECT_EQ(expected, Decode(utf8.c_str()));
}

TEST(StreamText, ConversionThatGrowsTheTextStaysInItsBuffer) {
  // Characters that the code page lacks may come out as several bytes each
  // (a transliteration, or a default character); the output is sized by the
  // conversion itself.
  std::string text = "E\xD3\xB5-~\x05 \x17?";
  for (int i = 0; i < 40; ++i) text += "\xC2\xA9\xE2\x80\xA6";  // copyright sign, ellipsis
  TextString out;
  EXPECT_TRUE(DecodeStreamText(text.c_str(), out));
  // The sanitizer build sees any write past the block; the text itself survives.
  EXPECT_EQ(0, std::strncmp(out.CStr(), "E", 1));
  EXPECT_GT(out.Length(), 40);
}
