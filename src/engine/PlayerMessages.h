// What the player tells its window, and the states it is in: a header of its
// own, so that the player, its play thread and the windows that listen need
// not include each other.
//
//   kStatusMessage  (WM_USER + 10)  wParam 1 for an error, 0 otherwise; lParam
//                                   the NUL-terminated status text or title
//   kStartedMessage (WM_USER + 11)  lParam the NUL-terminated URL that was
//                                   connected (the playlist entry that answered)
//
// Both are sent (SendMessage) from the play thread: the text lives only for
// the call.
#pragma once

constexpr unsigned kStatusMessage = 0x0400 + 10;
constexpr unsigned kStartedMessage = 0x0400 + 11;

enum PlayerState : int {
  kPlayerIdle = 0,        // nothing plays
  kPlayerPlaying = 1,     // the stream plays
  kPlayerConnecting = 2,  // a start sequence runs
};
