#include "ui/main/SearchSettingsPage.h"

#include "shell/SettingRanges.h"
#include "shell/Settings.h"
#include "ui/main/SettingsDialogRes.h"

bool SearchSettingsPage::OnInitDialog(LRESULT*) {
  SetItemInt(IDC_SEARCH_COUNT, static_cast<UINT>(gSettings.searchCnt), false);
  SetSpinRange(IDC_SEARCH_COUNT_SPIN, kSearchCountRange.minimum, kSearchCountRange.maximum);
  CheckItem(IDC_MP3_ONLY, (gSettings.optFlag & kOptMp3Only) ? BST_CHECKED : BST_UNCHECKED);
  CheckItem(IDC_CLEAR_ON_CLOSE, (gSettings.optFlag & kOptClearOnClose) ? BST_CHECKED : BST_UNCHECKED);
  return true;
}

void SearchSettingsPage::Apply() {
  gSettings.searchCnt =
      GetItemIntClamped(IDC_SEARCH_COUNT, false, kSearchCountRange.minimum, kSearchCountRange.maximum);
  gSettings.optFlag &= ~(kOptMp3Only | kOptClearOnClose);
  if (IsItemChecked(IDC_MP3_ONLY)) gSettings.optFlag |= kOptMp3Only;
  if (IsItemChecked(IDC_CLEAR_ON_CLOSE)) gSettings.optFlag |= kOptClearOnClose;
}
