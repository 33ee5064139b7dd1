#include "ui/main/AboutBox.h"

#include <shellapi.h>

#include "ui/main/AboutBoxRes.h"
#include "ui/main/WebPages.h"

bool AboutBox::OnCommand(WORD id, WORD, LPARAM) {
  switch (id) {
    case IDOK:
    case IDCANCEL:
      EndModal(1);
      return true;
    case IDC_HOME_PAGE:
      ShellExecuteA(nullptr, "open", kHomePageUrl, nullptr, nullptr, SW_SHOWNORMAL);
      return true;
    default:
      return false;
  }
}
