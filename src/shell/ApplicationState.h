// The program's state beside its settings: whether WinSock runs, whether the
// side windows may lay out their controls yet, and the server part of the URL
// that plays (for the server information menu).
#pragma once

#include "toolkit/TextString.h"

struct ApplicationState {
  bool winsockStarted = false;
  // True until start-up has created every window and loaded the skin.
  bool layoutPending = true;
  TextString serverRootUrl;
};

extern ApplicationState gApplicationState;
