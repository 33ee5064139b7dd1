#include "toolkit/Dialog.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <string>

#include "WindowTestResources.h"
#include "support/TestWindows.h"
#include "toolkit/TextString.h"

namespace {

// Ends itself from its first message loop turn with the value 42.
class SelfClosingDialog : public Dialog {
 public:
  bool OnInitDialog(LRESULT* result) override {
    handleAtInit = hwnd;
    storedObject = GetWindowLongPtrA(hwnd, DWLP_USER);
    Post(WM_COMMAND, IDOK, 0);
    *result = TRUE;
    return true;
  }
  bool OnCommand(WORD id, WORD, LPARAM) override {
    if (id != IDOK) return false;
    EndModal(42);
    return true;
  }
  HWND handleAtInit = nullptr;
  LONG_PTR storedObject = 0;
};

class FocusDialog : public Dialog {
 public:
  bool OnInitDialog(LRESULT* result) override {
    *result = 1;
    return true;
  }
  bool OnCommand(WORD id, WORD, LPARAM) override { return id == 7; }
};

}  // namespace

TEST(Dialog, ModalDialogReturnsTheValueGivenToEndModal) {
  InitTestControls();
  HostWindow owner;
  SelfClosingDialog dialog;
  EXPECT_EQ(42, dialog.RunModal(IDD_ITEMS, owner.Get()));
  EXPECT_NE(nullptr, dialog.handleAtInit);
  EXPECT_EQ(reinterpret_cast<LONG_PTR>(&dialog), dialog.storedObject);
  EXPECT_EQ(nullptr, dialog.hwnd) << "EndModal clears the handle";
  EXPECT_FALSE(IsWindow(dialog.handleAtInit));

  Dialog missing;
  EXPECT_EQ(-1, missing.RunModal(4242, owner.Get()));
}

TEST(Dialog, InitDialogAnswersWhatTheSlotStores) {
  InitTestControls();
  HostWindow owner;
  Dialog plain;
  ASSERT_TRUE(plain.CreateModeless(IDD_PAGE, owner.Get()));
  ASSERT_NE(nullptr, plain.hwnd);
  // Without an OnInitDialog the dialog manager is told to set no focus.
  EXPECT_EQ(0, Dialog::DialogProc(plain.hwnd, WM_INITDIALOG, 0, reinterpret_cast<LPARAM>(&plain)));

  FocusDialog focus;
  ASSERT_TRUE(focus.CreateModeless(IDD_PAGE, owner.Get()));
  EXPECT_EQ(1, Dialog::DialogProc(focus.hwnd, WM_INITDIALOG, 0, reinterpret_cast<LPARAM>(&focus)));
  // Everything else: 1 when handled, 0 for the dialog manager's default work.
  EXPECT_EQ(1, Dialog::DialogProc(focus.hwnd, WM_COMMAND, 7, 0));
  EXPECT_EQ(0, Dialog::DialogProc(focus.hwnd, WM_COMMAND, 8, 0));
  EXPECT_EQ(0, Dialog::DialogProc(focus.hwnd, WM_TIMER, 1, 0));
  EXPECT_EQ(1, Dialog::DialogProc(focus.hwnd, WM_DESTROY, 0, 0)) << "WM_DESTROY is handled by default";
  DestroyWindow(plain.hwnd);
  DestroyWindow(focus.hwnd);
}

TEST(Dialog, MessagesWithoutAnObjectAnswerZero) {
  InitTestControls();
  HostWindow owner;
  // A dialog made with the common procedure but no object.
  HWND orphan = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_PAGE), owner.Get(),
                                   &Dialog::DialogProc, 0);
  ASSERT_NE(nullptr, orphan);
  EXPECT_EQ(0, GetWindowLongPtrA(orphan, DWLP_USER));
  EXPECT_EQ(0, Dialog::DialogProc(orphan, WM_COMMAND, IDOK, 0));
  DestroyWindow(orphan);

  // A dialog whose object ended first no longer reaches it.
  HWND window;
  {
    Dialog shortLived;
    ASSERT_TRUE(shortLived.CreateModeless(IDD_PAGE, owner.Get()));
    window = shortLived.hwnd;
  }
  EXPECT_EQ(0, GetWindowLongPtrA(window, DWLP_USER));
  EXPECT_EQ(0, Dialog::DialogProc(window, WM_COMMAND, IDOK, 0));
  DestroyWindow(window);
}

TEST(Dialog, ItemOperations) {
  InitTestControls();
  HostWindow owner;
  Dialog dialog;
  ASSERT_TRUE(dialog.CreateModeless(IDD_ITEMS, owner.Get()));

  EXPECT_TRUE(dialog.SetItemInt(IDC_NUMBER, 1234, false));
  EXPECT_EQ(1234u, dialog.GetItemInt(IDC_NUMBER, false));
  const struct {
    const char* text;
    int expected;
  } clamps[] = {{"1", 5}, {"5000", 2000}, {"", 5}, {"x", 5}, {"160", 160}, {"3000000000", 2000}};
  for (const auto& c : clamps) {
    dialog.SetItemText(IDC_TEXT, c.text);
    EXPECT_EQ(c.expected, dialog.GetItemIntClamped(IDC_TEXT, false, 5, 2000)) << c.text;
  }
  dialog.SetItemText(IDC_TEXT, "-7");
  EXPECT_EQ(-5, dialog.GetItemIntClamped(IDC_TEXT, true, -5, 5));

  // The string takes what fits its block and does not grow.
  std::string longText(100, 'u');
  dialog.SetItemText(IDC_TEXT, longText.c_str());
  TextString text;
  EXPECT_EQ(63u, dialog.GetItemText(IDC_TEXT, text));
  EXPECT_EQ(std::string(63, 'u'), text.CStr());
  EXPECT_EQ(63, text.Capacity());

  EXPECT_FALSE(dialog.IsItemChecked(IDC_CHECK));
  dialog.CheckItem(IDC_CHECK, BST_CHECKED);
  EXPECT_TRUE(dialog.IsItemChecked(IDC_CHECK));
  dialog.CheckItem(IDC_CHECK, BST_UNCHECKED);
  EXPECT_FALSE(dialog.IsItemChecked(IDC_CHECK));

  dialog.SetSpinRange(IDC_SPIN, 5, 2000);
  int low = 0, high = 0;
  dialog.SendItemMessage(IDC_SPIN, UDM_GETRANGE32, reinterpret_cast<WPARAM>(&low), reinterpret_cast<LPARAM>(&high));
  EXPECT_EQ(5, low);
  EXPECT_EQ(2000, high);
  EXPECT_EQ(GetDlgItem(dialog.hwnd, IDC_SLIDER), dialog.GetItem(IDC_SLIDER));
  DestroyWindow(dialog.hwnd);
}
