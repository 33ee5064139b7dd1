// The settings dialog with its two pages, run modally and driven from inside
// its own message loop.
#include "ui/main/SettingsDialog.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <string>

#include "BarTestSupport.h"
#include "shell/Settings.h"
#include "support/TestWindows.h"
#include "ui/main/SettingsDialogRes.h"

namespace {

class SettingsDialogTest : public testing::Test {
 protected:
  void SetUp() override {
    InitTestControls();
    gSettings.SetDefaults();
  }
  void TearDown() override { gSettings.SetDefaults(); }

  // Runs the dialog; edit(dialog) changes its controls, then the button ends it.
  INT_PTR Run(const std::function<void()>& edit, int button) {
    INT_PTR result = -2;
    bool answered = AnswerModalBox([&] { result = dialog.RunModal(IDD_SETTINGS, nullptr); },
                                   [&](HWND box) {
                                     edit();
                                     PostMessageA(box, WM_COMMAND, static_cast<WPARAM>(button), 0);
                                   });
    EXPECT_TRUE(answered);
    return result;
  }
  HWND General() { return dialog.General().hwnd; }
  HWND Search() { return dialog.Search().hwnd; }
  std::string Label() {
    char text[32] = {};
    GetDlgItemTextA(General(), IDC_PLAY_BUFFER_LABEL, text, sizeof text);
    return text;
  }
  int TrackPosition() {
    return static_cast<int>(SendDlgItemMessageA(General(), IDC_PLAY_BUFFER, TBM_GETPOS, 0, 0));
  }
  void Scroll(WORD code) {
    SendMessageA(General(), WM_HSCROLL, MAKEWPARAM(code, 0),
                 reinterpret_cast<LPARAM>(GetDlgItem(General(), IDC_PLAY_BUFFER)));
  }

  SettingsDialog dialog;
};

}  // namespace

TEST_F(SettingsDialogTest, OpensWithTheStoredValues) {
  gSettings.titleScroll = 321;
  gSettings.titleScrollAdd = 9;
  gSettings.wheelAdd = 15;
  gSettings.searchCnt = 120;
  gSettings.optFlag = kOptDeviceVolume | kOptClearOnClose;
  gSettings.playBuf = 1700;  // between two steps: edited by hand
  int position = -1;
  std::string label;
  UINT checks[3] = {};
  BOOL ok = FALSE;
  Run(
      [&] {
        EXPECT_EQ(321u, GetDlgItemInt(General(), IDC_TITLE_SCROLL, &ok, FALSE));
        EXPECT_EQ(9u, GetDlgItemInt(General(), IDC_TITLE_SCROLL_ADD, &ok, FALSE));
        EXPECT_EQ(15u, GetDlgItemInt(General(), IDC_WHEEL_ADD, &ok, FALSE));
        EXPECT_EQ(120u, GetDlgItemInt(Search(), IDC_SEARCH_COUNT, &ok, FALSE));
        checks[0] = IsDlgButtonChecked(General(), IDC_DEVICE_VOLUME);
        checks[1] = IsDlgButtonChecked(Search(), IDC_MP3_ONLY);
        checks[2] = IsDlgButtonChecked(Search(), IDC_CLEAR_ON_CLOSE);
        position = TrackPosition();
        label = Label();
      },
      IDOK);
  EXPECT_EQ(static_cast<UINT>(BST_CHECKED), checks[0]);
  EXPECT_EQ(static_cast<UINT>(BST_UNCHECKED), checks[1]);
  EXPECT_EQ(static_cast<UINT>(BST_CHECKED), checks[2]);
  EXPECT_EQ(1, position);
  EXPECT_EQ("1700ms", label) << "the stored length, not the step it stands on";
  EXPECT_EQ(1500, gSettings.playBuf) << "OK without touching the trackbar stores its step";
  EXPECT_EQ(321, gSettings.titleScroll);
  EXPECT_EQ(kOptDeviceVolume | kOptClearOnClose, gSettings.optFlag);
}

TEST_F(SettingsDialogTest, OkClampsEveryEntryToItsRange) {
  EXPECT_EQ(1, Run(
                   [&] {
                     SetDlgItemTextA(General(), IDC_TITLE_SCROLL, "1");
                     SetDlgItemTextA(General(), IDC_TITLE_SCROLL_ADD, "");
                     SetDlgItemTextA(General(), IDC_WHEEL_ADD, "5000");
                     SetDlgItemTextA(Search(), IDC_SEARCH_COUNT, "300");
                   },
                   IDOK));
  EXPECT_EQ(5, gSettings.titleScroll);
  EXPECT_EQ(1, gSettings.titleScrollAdd);
  EXPECT_EQ(100, gSettings.wheelAdd);
  EXPECT_EQ(200, gSettings.searchCnt);

  Run(
      [&] {
        SetDlgItemTextA(General(), IDC_TITLE_SCROLL, "5000");
        SetDlgItemTextA(General(), IDC_TITLE_SCROLL_ADD, "4294967295");
        SetDlgItemTextA(Search(), IDC_SEARCH_COUNT, "0");
      },
      IDOK);
  EXPECT_EQ(2000, gSettings.titleScroll);
  EXPECT_EQ(50, gSettings.titleScrollAdd) << "a huge number is not a negative one";
  EXPECT_EQ(10, gSettings.searchCnt);
}

TEST_F(SettingsDialogTest, TrackbarShowsAndStoresTheBufferLength) {
  std::string right, left;
  Run(
      [&] {
        Scroll(TB_BOTTOM);
        right = Label();
        Scroll(TB_TOP);
        left = Label();
        SendDlgItemMessageA(General(), IDC_PLAY_BUFFER, TBM_SETPOS, TRUE, 3);
        Scroll(TB_ENDTRACK);
      },
      IDOK);
  EXPECT_EQ("5000ms", right);
  EXPECT_EQ("1000ms", left);
  EXPECT_EQ(2500, gSettings.playBuf);
}

TEST_F(SettingsDialogTest, CheckBoxesSetAndClearTheirBits) {
  gSettings.optFlag = kOptMp3Only | kOptTopmost | kOptMuted;
  Run(
      [&] {
        CheckDlgButton(General(), IDC_DEVICE_VOLUME, BST_CHECKED);
        CheckDlgButton(Search(), IDC_MP3_ONLY, BST_UNCHECKED);
        CheckDlgButton(Search(), IDC_CLEAR_ON_CLOSE, BST_CHECKED);
      },
      IDOK);
  EXPECT_EQ(kOptTopmost | kOptMuted | kOptDeviceVolume | kOptClearOnClose, gSettings.optFlag)
      << "the bits of the bar are left as they were";
}

TEST_F(SettingsDialogTest, CancelChangesNothing) {
  gSettings.playBuf = 1700;
  Settings before;
  before.playBuf = 1700;
  EXPECT_EQ(0, Run(
                   [&] {
                     SetDlgItemTextA(General(), IDC_TITLE_SCROLL, "1");
                     SetDlgItemTextA(General(), IDC_TITLE_SCROLL_ADD, "50");
                     SetDlgItemTextA(General(), IDC_WHEEL_ADD, "1");
                     SetDlgItemTextA(Search(), IDC_SEARCH_COUNT, "10");
                     CheckDlgButton(General(), IDC_DEVICE_VOLUME, BST_CHECKED);
                     CheckDlgButton(Search(), IDC_MP3_ONLY, BST_UNCHECKED);
                     CheckDlgButton(Search(), IDC_CLEAR_ON_CLOSE, BST_CHECKED);
                     Scroll(TB_BOTTOM);
                   },
                   IDCANCEL));
  EXPECT_EQ(before.titleScroll, gSettings.titleScroll);
  EXPECT_EQ(before.titleScrollAdd, gSettings.titleScrollAdd);
  EXPECT_EQ(before.wheelAdd, gSettings.wheelAdd);
  EXPECT_EQ(before.searchCnt, gSettings.searchCnt);
  EXPECT_EQ(before.optFlag, gSettings.optFlag);
  EXPECT_EQ(1700, gSettings.playBuf);
}

TEST_F(SettingsDialogTest, TabsShowExactlyOnePage) {
  bool shown[3][2] = {};
  Run(
      [&] {
        HWND tabs = GetDlgItem(dialog.hwnd, IDC_SETTINGS_TABS);
        EXPECT_EQ(2, TabCtrl_GetItemCount(tabs));
        EXPECT_EQ(tabs, GetParent(General())) << "the pages live inside the tab control";
        auto select = [&](int index, bool* out) {
          TabCtrl_SetCurSel(tabs, index);
          NMHDR header = {tabs, IDC_SETTINGS_TABS, static_cast<UINT>(TCN_SELCHANGE)};
          SendMessageA(dialog.hwnd, WM_NOTIFY, IDC_SETTINGS_TABS, reinterpret_cast<LPARAM>(&header));
          out[0] = IsWindowVisible(General()) != FALSE;
          out[1] = IsWindowVisible(Search()) != FALSE;
        };
        shown[0][0] = IsWindowVisible(General()) != FALSE;
        shown[0][1] = IsWindowVisible(Search()) != FALSE;
        select(1, shown[1]);
        select(0, shown[2]);
      },
      IDCANCEL);
  EXPECT_TRUE(shown[0][0] && !shown[0][1]) << "the general page first";
  EXPECT_TRUE(!shown[1][0] && shown[1][1]);
  EXPECT_TRUE(shown[2][0] && !shown[2][1]);
}
