#include "ui/main/SettingsDialog.h"

#include <commctrl.h>

#include "ui/main/SettingsDialogRes.h"

namespace {

/* 全般 */
const char kGeneralTab[] = "\x91S\x94\xca";
/* 検索 */
const char kSearchTab[] = "\x8c\x9f\x8d\xf5";

}  // namespace

bool SettingsDialog::OnInitDialog(LRESULT* result) {
  tabs.AttachItem(hwnd, IDC_SETTINGS_TABS);
  tabs.InsertTab(0, kGeneralTab, -1, 0);
  tabs.InsertTab(1, kSearchTab, -1, 0);
  // The pages are the tab control's children: the Tab key reaches their
  // controls only through a control parent.
  SetWindowLongA(tabs.hwnd, GWL_EXSTYLE, GetWindowLongA(tabs.hwnd, GWL_EXSTYLE) | WS_EX_CONTROLPARENT);
  general.CreateModeless(IDD_SETTINGS_GENERAL, tabs.hwnd);
  search.CreateModeless(IDD_SETTINGS_SEARCH, tabs.hwnd);
  tabs.FitPage(general.hwnd);
  tabs.FitPage(search.hwnd);
  ShowPage(0);
  *result = 1;  // the dialog manager sets the default focus
  return true;
}

void SettingsDialog::ShowPage(int index) {
  general.Show(index == 0 ? SW_SHOW : SW_HIDE);
  search.Show(index == 1 ? SW_SHOW : SW_HIDE);
}

bool SettingsDialog::OnNotify(WPARAM, LPARAM header, LRESULT*) {
  const NMHDR* notification = reinterpret_cast<const NMHDR*>(header);
  if (!notification || notification->idFrom != IDC_SETTINGS_TABS || notification->code != TCN_SELCHANGE) {
    return false;
  }
  ShowPage(tabs.GetSelection());
  return true;
}

bool SettingsDialog::OnCommand(WORD id, WORD, LPARAM) {
  switch (id) {
    case IDOK:
      general.Apply();
      search.Apply();
      EndModal(1);
      return true;
    case IDCANCEL:
      EndModal(0);
      return true;
    default:
      return false;
  }
}
