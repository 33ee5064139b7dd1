#include "toolkit/KeyValueDocument.h"

#include <gtest/gtest.h>

#include <string>

#include "support/TempDir.h"
#include "toolkit/TextString.h"

namespace {
void Load(KeyValueDocument& doc, const std::string& text) { ASSERT_TRUE(doc.LoadText(text.data(), static_cast<std::uint32_t>(text.size()))); }
}  // namespace

TEST(KeyValueDocument, SplitsLinesOnCrLfAndCrLf) {
  KeyValueDocument doc;
  Load(doc, "a\rb\nc\r\nd\n\re");
  EXPECT_EQ(6, doc.LineCount()) << "LF CR is two line ends";
  Load(doc, "");
  EXPECT_EQ(1, doc.LineCount());
  Load(doc, "x\r\n");
  EXPECT_EQ(2, doc.LineCount());
  // A trail byte never ends a line, and text stops at an embedded NUL.
  Load(doc, std::string("[s]\r\nk=\x95\x5c\r\nz=1\0q=2", 19));
  doc.SelectSection("s");
  EXPECT_STREQ("\x95\x5c", doc.FindValue("k"));
  EXPECT_STREQ("1", doc.FindValue("z"));
  EXPECT_EQ(nullptr, doc.FindValue("q"));
}

TEST(KeyValueDocument, SectionHeadersMatchExactlyIgnoringCase) {
  KeyValueDocument doc;
  Load(doc, "[Korimba3]\r\nVol=80\r\n");
  doc.SelectSection("Korimba3");
  EXPECT_EQ(0, doc.Section());
  doc.SelectSection("KORIMBA3");
  EXPECT_EQ(0, doc.Section());
  doc.SelectSection("korimba");
  EXPECT_EQ(-1, doc.Section()) << "the byte after the name must be ]";

  Load(doc, "x\r\n[playlist] ; note\r\nFile1=a\r\n");
  doc.SelectSection("playlist");
  EXPECT_STREQ("a", doc.FindValue("File1"));
  Load(doc, " [playlist]\r\nFile1=a\r\n");
  doc.SelectSection("playlist");
  EXPECT_EQ(-1, doc.Section());
  Load(doc, "\xEF\xBB\xBF[playlist]\r\nFile1=a\r\n");
  doc.SelectSection("playlist");
  EXPECT_EQ(-1, doc.Section()) << "a byte-order mark hides the header";
}

TEST(KeyValueDocument, KeysStartInTheFirstColumnAndMatchWholly) {
  KeyValueDocument doc;
  Load(doc, "[k]\r\nvol=80\r\nVol = 70\r\n WheelAdd=5\r\nFile10=x\r\nEmpty=\r\nN=12abc\r\n;c=1\r\n");
  doc.SelectSection("k");
  EXPECT_EQ(80, doc.GetInt("VOL", -1));
  EXPECT_EQ(-1, doc.GetInt("WheelAdd", -1));
  EXPECT_EQ(nullptr, doc.FindValue("File1"));
  EXPECT_EQ(0, doc.GetInt("Empty", 9));
  EXPECT_EQ(0u, doc.GetHex("Empty", 9));
  TextString text;
  text.Assign("unchanged");
  doc.GetText("Empty", text, "default");
  EXPECT_STREQ("", text.CStr());
  doc.GetText("Missing", text, "default");
  EXPECT_STREQ("default", text.CStr());
  EXPECT_EQ(12, doc.GetInt("N", 0));
  EXPECT_STREQ("1", doc.FindValue(";c"));
}

TEST(KeyValueDocument, FirstKeyAndFirstSectionWin) {
  KeyValueDocument doc;
  Load(doc, "[a]\r\nFile1=a\r\nFile1=b\r\n[not a header\r\nLate=1\r\n[a]\r\nOther=2\r\n");
  doc.SelectSection("a");
  EXPECT_STREQ("a", doc.FindValue("File1"));
  EXPECT_EQ(nullptr, doc.FindValue("Late")) << "any line starting with [ ends the section";
  EXPECT_EQ(nullptr, doc.FindValue("Other")) << "only the first section of a name is searched";
}

TEST(KeyValueDocument, LookupsWithoutASectionGiveDefaults) {
  KeyValueDocument doc;
  EXPECT_EQ(7, doc.GetInt("x", 7));
  Load(doc, "[s]\r\nx=1\r\n");
  EXPECT_EQ(7, doc.GetInt("x", 7));
  doc.SelectSection("s");
  EXPECT_EQ(1, doc.GetInt("x", 7));
  doc.SelectSection("missing");
  EXPECT_EQ(7, doc.GetInt("x", 7));
}

TEST(KeyValueDocument, GetHexTakesTheWholeAlphabetAndEightCharacters) {
  KeyValueDocument doc;
  Load(doc, "[c]\r\na=ffffff\r\nb=ff9999\r\nc=123456789\r\nd=zz\r\ne=12 34\r\nf=FF\r\n");
  doc.SelectSection("c");
  EXPECT_EQ(0xFFFFFFu, doc.GetHex("a", 0));
  EXPECT_EQ(0xFF9999u, doc.GetHex("b", 0));
  EXPECT_EQ(0x12345678u, doc.GetHex("c", 0));
  EXPECT_EQ(0x233u, doc.GetHex("d", 0));
  EXPECT_EQ(0x12u, doc.GetHex("e", 0));
  EXPECT_EQ(0xFFu, doc.GetHex("f", 0));
  EXPECT_EQ(0xABCu, doc.GetHex("none", 0xABC));
}

TEST(KeyValueDocument, GetStringCutsToTheBuffer) {
  KeyValueDocument doc;
  Load(doc, "[s]\r\nfont=" + std::string(40, 'f') + "\r\n");
  doc.SelectSection("s");
  char buffer[32];
  doc.GetString("font", buffer, sizeof buffer, "x");
  EXPECT_EQ(std::string(31, 'f'), buffer);
  doc.GetString("missing", buffer, sizeof buffer, "dflt");
  EXPECT_STREQ("dflt", buffer);
}

TEST(KeyValueDocument, LoadFileRefusesMissingAndEmptyFiles) {
  TempDir dir;
  KeyValueDocument doc;
  EXPECT_FALSE(doc.LoadFile(dir.File("missing.ini").c_str()));
  dir.Write("empty.ini", "");
  EXPECT_FALSE(doc.LoadFile(dir.File("empty.ini").c_str()));
  EXPECT_EQ(0, doc.LineCount());
  dir.Write("ok.ini", "[skin]\r\nmain_rc=0,0,342,19");
  ASSERT_TRUE(doc.LoadFile(dir.File("ok.ini").c_str()));
  doc.SelectSection("SKIN");
  EXPECT_STREQ("0,0,342,19", doc.FindValue("main_rc"));
  ASSERT_TRUE(doc.LoadText("", 0));
  EXPECT_EQ(1, doc.LineCount());
}
