#include "toolkit/TextString.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

// 表 (0x95 0x5C): its trail byte is the backslash.
static const char kOmote[] = "\x95\x5c";
// あいう: three double-byte characters.
static const char kAiu[] = "\x82\xa0\x82\xa2\x82\xa4";

TEST(TextString, CapacityFollowsConstructionAndReserveRules) {
  EXPECT_EQ(63, TextString().Capacity());
  EXPECT_EQ(64, TextString().BufferSize());
  EXPECT_EQ(63, TextString(10).Capacity());
  EXPECT_EQ(127, TextString(64).Capacity());
  EXPECT_EQ(255, TextString(128).Capacity());
  EXPECT_EQ(511, TextString(511).Capacity());
  TextString big(600);
  EXPECT_EQ(600, big.Capacity());
  big.Reserve(600);
  EXPECT_EQ(600, big.Capacity());
  big.Reserve(601);
  EXPECT_EQ(1023, big.Capacity());

  TextString s;
  s.Reserve(1024);
  EXPECT_EQ(2047, s.Capacity());
  s.Reserve(2048);
  EXPECT_EQ(2048, s.Capacity());
}

TEST(TextString, AssignAndAppendGrowAndKeepText) {
  TextString s;
  s.Assign(std::string(100, 'x').c_str());
  EXPECT_EQ(127, s.Capacity());
  EXPECT_EQ(100, s.Length());
  s.Assign(std::string(3000, 'y').c_str());
  EXPECT_EQ(3000, s.Capacity());
  s.Assign("ab");
  s.Append("cd");
  s.AppendChar('e');
  EXPECT_STREQ("abcde", s.CStr());
  EXPECT_EQ(3000, s.Capacity()) << "capacity never shrinks";
  // Appending a piece of itself survives the block moving.
  TextString t;
  t.Assign(std::string(60, 'a').c_str());
  t.Append(t.CStr() + 50);
  EXPECT_EQ(70, t.Length());
}

TEST(TextString, AppendAtTrustsOnlyAnEndThatIsTheTextsEnd) {
  TextString s;
  int end = 0;
  std::string expected;
  for (int i = 0; i < 5000; ++i) {
    const char* piece = (i % 3) ? "ab" : "xyz";
    end = s.AppendAt(end, piece, static_cast<int>(std::strlen(piece)));
    expected += piece;
  }
  EXPECT_EQ(expected, s.CStr());
  EXPECT_EQ(static_cast<int>(expected.size()), end);
  // A stale or wild end is measured instead: the text stays whole and the
  // block is never written outside.
  s.Assign("abc");
  EXPECT_EQ(5, s.AppendAt(1, "de", 2));
  EXPECT_STREQ("abcde", s.CStr());
  EXPECT_EQ(7, s.AppendAt(1 << 30, "fg", 2));
  EXPECT_EQ(8, s.AppendAt(-4, "h", 1));
  EXPECT_STREQ("abcdefgh", s.CStr());
  // Its own text as the source, while the block moves.
  TextString t;
  t.Assign(std::string(60, 'a').c_str());
  EXPECT_EQ(120, t.AppendAt(60, t.CStr(), 60));
  EXPECT_EQ(std::string(120, 'a'), t.CStr());
}

TEST(TextString, CharAtAndSetCharAtStayInsideTheBlock) {
  TextString s;
  s.Assign("abc");
  EXPECT_EQ('b', s.CharAt(1));
  EXPECT_EQ('\0', s.CharAt(63));
  EXPECT_EQ('\0', s.CharAt(64));
  EXPECT_EQ('\0', s.CharAt(100000));
  EXPECT_EQ(63, s.SetCharAt(63, 'z'));
  EXPECT_EQ('\0', s.CharAt(63));
  EXPECT_EQ(1, s.SetCharAt(1, '\0'));
  EXPECT_STREQ("a", s.CStr());
}

TEST(TextString, FindStepsOverDoubleByteCharacters) {
  TextString path;
  path.Assign((std::string("dir\\") + kOmote + "x.ini").c_str());
  EXPECT_EQ(3, path.FindLast('\\'));
  EXPECT_EQ(-1, path.Find(4, '\\'));
  EXPECT_EQ(7, path.Find(0, '.'));

  TextString base;
  path.GetBaseName(base);
  EXPECT_EQ(std::string(kOmote) + "x", base.CStr());
  path.RemoveFileName();
  EXPECT_STREQ("dir", path.CStr());

  TextString empty;
  EXPECT_EQ(-1, empty.Find(0, 'a'));
  EXPECT_EQ(-1, empty.FindLast('a'));
}

TEST(TextString, FileNameOperations) {
  TextString s, out;
  s.Assign("blue.ini");
  s.GetBaseName(out);
  EXPECT_STREQ("blue", out.CStr());
  s.Assign("x\\y");
  s.GetBaseName(out);
  EXPECT_STREQ("y", out.CStr());
  s.Assign("x.d\\y");
  s.GetBaseName(out);
  EXPECT_STREQ("y", out.CStr());
  s.Assign("a/my.dark.ini");
  s.GetBaseName(out);
  EXPECT_STREQ("my.dark", out.CStr());

  out.Assign("old");
  s.Assign("noext");
  s.GetExtension(out);
  EXPECT_TRUE(out.IsEmpty());
  s.Assign("a.b.PLS");
  s.GetExtension(out);
  EXPECT_STREQ("PLS", out.CStr());

  s.Assign("dir\\blue.ini");
  s.ChangeExtension("bmp");
  EXPECT_STREQ("dir\\blue.bmp", s.CStr());
  s.Assign("dir\\blue");
  s.ChangeExtension("bmp");
  EXPECT_STREQ("dir\\blue", s.CStr());

  s.Assign("name-only");
  s.RemoveFileName();
  EXPECT_TRUE(s.IsEmpty());
  s.Assign("a/b/c");
  s.RemoveFileName();
  EXPECT_STREQ("a/b", s.CStr());
}

TEST(TextString, SubstringClampsItsCount) {
  TextString s, out;
  s.Assign("station");
  s.Substring(out, 2, -1);
  EXPECT_STREQ("ation", out.CStr());
  s.Substring(out, 2, 100);
  EXPECT_STREQ("ation", out.CStr());
  s.Substring(out, 0, 4);
  EXPECT_STREQ("stat", out.CStr());
  s.Substring(out, 7, -1);
  EXPECT_STREQ("", out.CStr());
}

TEST(TextString, ReplaceCharMakesPiecesAndFieldWalksThem) {
  TextString s;
  s.Assign("1,2,,3");
  s.ReplaceChar(',', '\0');
  const char* p = s.CStr();
  EXPECT_STREQ("1", p);
  EXPECT_STREQ("2", p + 2);
  EXPECT_STREQ("", p + 4);
  EXPECT_STREQ("3", p + 5);
  const char* third = s.Field(3, '\0');
  EXPECT_EQ(p + 4, third) << "the walk stops at the empty piece";

  TextString keys;
  keys.Assign("a/bb/ccc/");
  EXPECT_STREQ("ccc", keys.Field(2, '/'));
  EXPECT_STREQ("a", keys.Field(0, '\0'));

  // A trail byte equal to the separator is not a separator.
  TextString dbcs;
  dbcs.Assign((std::string(kOmote) + "\\x").c_str());
  dbcs.ReplaceChar('\\', '/');
  EXPECT_EQ(std::string(kOmote) + "/x", dbcs.CStr());
}

TEST(TextString, FieldNeverWalksOutOfTheBlock) {
  TextString s;
  s.Assign("a,b");
  for (int i = 0; i < 200; ++i) {
    const char* piece = s.Field(i, ',');
    ASSERT_GE(piece, s.CStr());
    ASSERT_LE(piece, s.CStr() + s.Capacity());
  }
}

TEST(TextString, TruncateBytesKeepsWholeCharacters) {
  TextString s;
  s.Assign((std::string(kAiu) + "x").c_str());
  s.TruncateBytes(6);
  EXPECT_STREQ(kAiu, s.CStr());
  s.TruncateBytes(5);
  EXPECT_EQ(std::string(kAiu, 4), s.CStr());
  s.Assign("abcdefg");
  s.TruncateBytes(6);
  EXPECT_STREQ("abcdef", s.CStr());
  s.TruncateBytes(0);
  EXPECT_STREQ("", s.CStr());
}

TEST(TextString, ReplaceAllDoesNotRescanReplacements) {
  TextString s;
  s.Assign("a b  c");
  s.ReplaceAll(" ", "%20");
  EXPECT_STREQ("a%20b%20%20c", s.CStr());
  s.Assign("x&y");
  s.ReplaceAll("&", "&&");
  EXPECT_STREQ("x&&y", s.CStr());
  s.Assign("aaa");
  s.ReplaceAll("aa", "b");
  EXPECT_STREQ("ba", s.CStr());
  // The second byte of a double-byte character never starts a match.
  s.Assign((std::string(kOmote) + "\\").c_str());
  s.ReplaceAll("\\", "/");
  EXPECT_EQ(std::string(kOmote) + "/", s.CStr());
}

TEST(TextString, CompareFollowsSignConventions) {
  TextString s;
  s.Assign("Skin");
  EXPECT_EQ(0, s.CompareNoCase("sKIN"));
  EXPECT_NE(0, s.Compare("skin"));
  EXPECT_LT(s.CompareNoCase("tan"), 0);
  EXPECT_GT(s.CompareNoCase("abc"), 0);
}

TEST(TextString, FormatGrowsToHoldTheResult) {
  TextString s;
  s.Format("%s=%d", std::string(200, 'k').c_str(), -10000);
  EXPECT_EQ(207, s.Length());
  EXPECT_EQ(std::string(200, 'k') + "=-10000", s.CStr());
  s.AppendFormat("|%02d", 7);
  EXPECT_EQ(std::string(200, 'k') + "=-10000|07", s.CStr());
}

TEST(TextString, FormatMayReadItsOwnText) {
  TextString s;
  s.Assign("abc");
  s.Format("[%s]", s.CStr());
  EXPECT_STREQ("[abc]", s.CStr());
  // Growing moves the block while the argument still points into it.
  s.Assign(std::string(60, 'x').c_str());
  s.AppendFormat("%s%s", s.CStr(), s.CStr());
  EXPECT_EQ(std::string(180, 'x'), s.CStr());
}

TEST(TextString, SetToExeDirectoryGivesTheProgramsFolder) {
  TextString dir, file;
  dir.SetToExeDirectory(nullptr);
  ASSERT_FALSE(dir.IsEmpty());
  char last = dir.CharAt(dir.Length() - 1);
  EXPECT_NE('\\', last);
  EXPECT_NE('/', last);
  file.SetToExeDirectory("skin\\*.ini");
  EXPECT_EQ(std::string(dir.CStr()) + "\\skin\\*.ini", file.CStr());
}

TEST(TextString, LoadResourceStringIsCutToTheBlock) {
  TextString small;
  small.LoadResourceString(30000);
  EXPECT_EQ(63, small.Length()) << "a default string does not grow for a resource";
  TextString room(127);
  room.LoadResourceString(30000);
  EXPECT_EQ(103, room.Length());
  EXPECT_EQ(0, std::string(room.CStr()).rfind("main_rc/title_rc/", 0));
}
