#include "toolkit/SubclassedControl.h"

#include <gtest/gtest.h>

#include "support/TestWindows.h"
#include "toolkit/EditBox.h"
#include "toolkit/TextString.h"

namespace {

// Takes Enter for itself, as the search text box does.
class EnterBox : public EditBox {
 public:
  bool OnKeyDown(WPARAM key, LPARAM) override {
    if (key != VK_RETURN) return false;
    ++enterKeys;
    return true;
  }
  bool OnChar(WPARAM code, LPARAM) override { return code == '\r'; }
  int enterKeys = 0;
};

std::string TextOf(HWND window) {
  char text[64] = {};
  GetWindowTextA(window, text, sizeof text);
  return text;
}

}  // namespace

TEST(SubclassedControl, SeesEnterBeforeTheControl) {
  HostWindow host;
  EnterBox box;
  ASSERT_TRUE(box.Create(0, WS_CHILD | ES_MULTILINE | ES_WANTRETURN, 2, 2, 100, 40, host.Get(), 10));
  HWND control = box.hwnd;
  LONG_PTR ownProc = GetWindowLongPtrA(control, GWLP_WNDPROC);
  box.Subclass();
  EXPECT_NE(ownProc, GetWindowLongPtrA(control, GWLP_WNDPROC));

  SendMessageA(control, WM_CHAR, 'a', 1);
  EXPECT_EQ("a", TextOf(control)) << "what the object leaves goes on to the edit control";
  SendMessageA(control, WM_KEYDOWN, VK_RETURN, 1);
  SendMessageA(control, WM_CHAR, '\r', 1);
  EXPECT_EQ(1, box.enterKeys);
  EXPECT_EQ("a", TextOf(control)) << "the control never saw the Enter";

  box.Unsubclass();
  EXPECT_EQ(nullptr, box.hwnd);
  EXPECT_EQ(ownProc, GetWindowLongPtrA(control, GWLP_WNDPROC));
  SendMessageA(control, WM_CHAR, '\r', 1);
  EXPECT_EQ("a\r\n", TextOf(control));
  EXPECT_EQ(1, box.enterKeys);
}

TEST(SubclassedControl, UnhandledMessagesReachTheControlsOwnProcedure) {
  HostWindow host;
  EditBox box;
  ASSERT_TRUE(box.Create(0, WS_CHILD, 2, 2, 100, 20, host.Get(), 10));
  box.Send(EM_SETLIMITTEXT, 33, 0);
  box.Subclass();
  box.Subclass();  // a second call changes nothing
  // DefWindowProcA would answer 0; only the edit control knows its limit.
  EXPECT_EQ(33, box.Send(EM_GETLIMITTEXT, 0, 0));
  box.SetText("abc");
  TextString text;
  EXPECT_EQ(3, box.GetText(text));
  EXPECT_STREQ("abc", text.CStr());
  box.Unsubclass();
}

TEST(SubclassedControl, ControlThatOutlivesItsObjectGetsItsProcedureBack) {
  HostWindow host;
  HWND control;
  LONG_PTR ownProc;
  {
    EnterBox box;
    ASSERT_TRUE(box.Create(0, WS_CHILD | ES_MULTILINE | ES_WANTRETURN, 2, 2, 100, 40, host.Get(), 10));
    control = box.hwnd;
    ownProc = GetWindowLongPtrA(control, GWLP_WNDPROC);
    box.Subclass();
  }
  EXPECT_EQ(ownProc, GetWindowLongPtrA(control, GWLP_WNDPROC));
  SendMessageA(control, WM_CHAR, '\r', 1);
  EXPECT_EQ("\r\n", TextOf(control));
}
