// Ids and texts of the string table, shared by the resource script and by the
// POSIX build of the core (which has no resources of its own to load from).
#pragma once

#define IDS_SKIN_ELEMENT_KEYS 30000
#define TEXT_SKIN_ELEMENT_KEYS \
  "main_rc/title_rc/play_bt/stop_bt/list_bt/search_bt/close_bt/min_bt/rec_bt/mute_bt/vol_bt/vol_rc/nowrec/"
