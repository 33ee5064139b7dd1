#include "ui/favorites/StationEditor.h"

#include "ui/favorites/FavoritesFile.h"
#include "ui/favorites/StationEditorRes.h"

namespace {

/* 編集 */
const char kEditTitle[] = "\x95\xd2\x8fW";

// The edit box of each field, in field order.
const int kFieldControls[kFavoriteFields] = {IDC_STATION_NAME, IDC_STATION_INFO, IDC_STATION_URL, IDC_STATION_HOME};

}  // namespace

bool StationEditor::OnInitDialog(LRESULT* result) {
  if (mode == kEditorEdit) {
    SetText(kEditTitle);
    for (int field = 0; field < kFavoriteFields; ++field) {
      SetItemText(kFieldControls[field], FavoriteField(station, field).CStr());
    }
  }
  *result = TRUE;
  return true;
}

bool StationEditor::OnCommand(WORD id, WORD, LPARAM) {
  switch (id) {
    case IDOK:
      for (int field = 0; field < kFavoriteFields; ++field) {
        ReadField(kFieldControls[field], FavoriteField(station, field));
      }
      EndModal(1);
      return true;
    case IDCANCEL:
      EndModal(0);
      return true;
    default:
      return false;
  }
}

// The whole text: a field is never cut, so a long stream URL comes back as
// it went in when the user left it alone.
void StationEditor::ReadField(int id, TextString& text) {
  text.Reserve(GetWindowTextLengthA(GetItem(id)));
  GetItemText(id, text);
}
