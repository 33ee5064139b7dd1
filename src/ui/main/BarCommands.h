// Command ids of the bar's skin buttons and the ranges of the context menu's
// volume and skin items.
#pragma once

#include "ui/main/MainWindowRes.h"
#include "ui/main/SkinDescription.h"

// The command a skin button sends when it is released; 0 for an element that
// is not one of the seven buttons.
inline int ButtonCommand(int element) {
  switch (element) {
    case kPlayButton: return IDM_PLAY_LAST;
    case kStopButton: return IDM_STOP;
    case kListButton: return IDM_FAVORITES_WINDOW;
    case kSearchButton: return IDM_SEARCH_WINDOW;
    case kCloseButton: return IDM_EXIT;
    case kMinButton: return IDM_MINIMIZE;
    case kRecButton: return IDM_REC;
    default: return 0;
  }
}

inline bool IsVolumeCommand(int id) { return id >= IDM_VOLUME_0 && id <= IDM_VOLUME_100; }
// 40900 gives 0 %, 40905 50 %, 40910 100 %.
inline int VolumeFromCommand(int id) { return (id - IDM_VOLUME_0) * 10; }

inline bool IsSkinCommand(int id) { return id >= IDM_SKIN_FIRST && id <= IDM_SKIN_LAST; }
inline int SkinIndexFromCommand(int id) { return id - IDM_SKIN_FIRST; }
inline int SkinCommand(int index) { return IDM_SKIN_FIRST + index; }
constexpr int kMaxSkinItems = IDM_SKIN_LAST - IDM_SKIN_FIRST + 1;
