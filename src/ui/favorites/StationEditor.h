// The station editor (dialog 502): a new favorite ("追加", empty fields) or
// the one being edited ("編集"). It lives in its caller's frame for one
// RunModal: the caller fills station and mode first and reads station back
// after OK (RunModal's 1). Fields come and go whole, whatever their length.
#pragma once

#include "engine/Playlist.h"
#include "toolkit/Dialog.h"

constexpr int kEditorNew = 0;
constexpr int kEditorEdit = 1;

class StationEditor : public Dialog {
 public:
  bool OnInitDialog(LRESULT* result) override;
  bool OnCommand(WORD id, WORD code, LPARAM control) override;

  PlaylistEntry station;  // name, info, URL and home page
  int mode = kEditorNew;

 private:
  void ReadField(int id, TextString& text);
};
