#include "toolkit/Clipboard.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>

#include "support/TestWindows.h"
#include "toolkit/TextString.h"

namespace {

// Puts one block in the given format on the clipboard, as another program would.
bool PutOnClipboard(UINT format, HANDLE data) {
  if (!OpenClipboard(nullptr)) return false;
  EmptyClipboard();
  bool set = SetClipboardData(format, data) != nullptr;
  CloseClipboard();
  return set;
}

}  // namespace

TEST(Clipboard, TextRoundTrips) {
  HostWindow owner;
  const char url[] = "http://radio.test:8000/\x83\x8d\x83\x62\x83\x4e";
  ASSERT_TRUE(CopyTextToClipboard(url, owner.Get()));
  EXPECT_EQ(owner.Get(), GetClipboardOwner());
  TextString text;
  ASSERT_TRUE(GetClipboardText(text));
  EXPECT_STREQ(url, text.CStr());

  std::string longText(3000, 'x');
  ASSERT_TRUE(CopyTextToClipboard(longText.c_str(), owner.Get()));
  ASSERT_TRUE(GetClipboardText(text));
  EXPECT_EQ(longText, text.CStr()) << "the string grows to the whole text";
}

TEST(Clipboard, WithoutTextGivesFalseAndLeavesTheStringAlone) {
  HDC screen = GetDC(nullptr);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, 4, 4);
  ReleaseDC(nullptr, screen);
  ASSERT_TRUE(PutOnClipboard(CF_BITMAP, bitmap));
  TextString text;
  text.Assign("unchanged");
  EXPECT_FALSE(GetClipboardText(text));
  EXPECT_STREQ("unchanged", text.CStr());
}

// Windows hands the block over as it is; other implementations may copy it
// and end it with a NUL of their own. Either way nothing beyond the block is
// read.
TEST(Clipboard, TextWithoutItsNulIsReadOnlyAsFarAsTheBlock) {
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, 5);
  ASSERT_NE(nullptr, block);
  std::memcpy(GlobalLock(block), "abcde", 5);
  GlobalUnlock(block);
  SIZE_T size = GlobalSize(block);
  ASSERT_TRUE(PutOnClipboard(CF_TEXT, block));
  TextString text;
  ASSERT_TRUE(GetClipboardText(text));
  EXPECT_LE(static_cast<SIZE_T>(text.Length()), size);
  EXPECT_EQ(0, std::strncmp("abcde", text.CStr(), static_cast<size_t>(text.Length())));
  EXPECT_GE(text.Length(), 4);
}
