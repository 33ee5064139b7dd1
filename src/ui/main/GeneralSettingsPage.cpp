#include "ui/main/GeneralSettingsPage.h"

#include "shell/SettingRanges.h"
#include "shell/Settings.h"
#include "toolkit/TextString.h"
#include "ui/main/SettingsDialogRes.h"

bool GeneralSettingsPage::OnInitDialog(LRESULT*) {
  // Shown unsigned, as the edit boxes take digits only.
  SetItemInt(IDC_TITLE_SCROLL, static_cast<UINT>(gSettings.titleScroll), false);
  SetItemInt(IDC_TITLE_SCROLL_ADD, static_cast<UINT>(gSettings.titleScrollAdd), false);
  SetItemInt(IDC_WHEEL_ADD, static_cast<UINT>(gSettings.wheelAdd), false);
  SetSpinRange(IDC_TITLE_SCROLL_SPIN, kTitleScrollRange.minimum, kTitleScrollRange.maximum);
  SetSpinRange(IDC_TITLE_SCROLL_ADD_SPIN, kTitleScrollAddRange.minimum, kTitleScrollAddRange.maximum);
  SetSpinRange(IDC_WHEEL_ADD_SPIN, kWheelAddRange.minimum, kWheelAddRange.maximum);
  CheckItem(IDC_DEVICE_VOLUME, (gSettings.optFlag & kOptDeviceVolume) ? BST_CHECKED : BST_UNCHECKED);
  playBuffer.AttachItem(hwnd, IDC_PLAY_BUFFER);
  playBuffer.SetRange(kPlayBufferPositions.minimum, kPlayBufferPositions.maximum, false);
  playBuffer.SetPos(PlayBufferToTrackPosition(gSettings.playBuf), true);
  // The stored length, even one between the trackbar's steps.
  ShowPlayBuffer(gSettings.playBuf);
  return true;
}

bool GeneralSettingsPage::OnHScroll(WORD code, WORD position, LPARAM control) {
  int at = playBuffer.TrackScroll(code, position, control);
  if (at == -1) return false;
  ShowPlayBuffer(TrackPositionToPlayBuffer(at));
  return true;
}

void GeneralSettingsPage::ShowPlayBuffer(int milliseconds) {
  TextString label;
  label.Format("%dms", milliseconds);
  SetItemText(IDC_PLAY_BUFFER_LABEL, label.CStr());
}

void GeneralSettingsPage::Apply() {
  gSettings.titleScroll =
      GetItemIntClamped(IDC_TITLE_SCROLL, false, kTitleScrollRange.minimum, kTitleScrollRange.maximum);
  gSettings.titleScrollAdd =
      GetItemIntClamped(IDC_TITLE_SCROLL_ADD, false, kTitleScrollAddRange.minimum, kTitleScrollAddRange.maximum);
  gSettings.wheelAdd = GetItemIntClamped(IDC_WHEEL_ADD, false, kWheelAddRange.minimum, kWheelAddRange.maximum);
  gSettings.playBuf = TrackPositionToPlayBuffer(playBuffer.GetPos());
  gSettings.optFlag &= ~kOptDeviceVolume;
  if (IsItemChecked(IDC_DEVICE_VOLUME)) gSettings.optFlag |= kOptDeviceVolume;
}
