// The settings dialog (dialog 501, "設定"): a tab control with the general
// and search pages. Modal; OK stores every page's values in the settings,
// Cancel changes nothing. RunModal gives 1 after OK and 0 after Cancel.
#pragma once

#include "toolkit/Dialog.h"
#include "toolkit/TabControl.h"
#include "ui/main/GeneralSettingsPage.h"
#include "ui/main/SearchSettingsPage.h"

class SettingsDialog : public Dialog {
 public:
  bool OnInitDialog(LRESULT* result) override;
  bool OnCommand(WORD id, WORD code, LPARAM control) override;
  bool OnNotify(WPARAM id, LPARAM header, LRESULT* result) override;

  GeneralSettingsPage& General() { return general; }
  SearchSettingsPage& Search() { return search; }
  TabControl& Tabs() { return tabs; }

 private:
  void ShowPage(int index);

  TabControl tabs;
  GeneralSettingsPage general;
  SearchSettingsPage search;
};
