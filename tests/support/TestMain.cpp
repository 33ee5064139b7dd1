#include <gtest/gtest.h>

#include "engine/EventSocket.h"
#include "resources/ResourceText.h"
#include "toolkit/Platform.h"

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
#ifndef _WIN32
  // The program's string table, as the test binaries under Windows carry it.
  platform::RegisterResourceString(IDS_SKIN_ELEMENT_KEYS, TEXT_SKIN_ELEMENT_KEYS);
#endif
  // The program starts the socket library once, as its start-up does.
  if (!StartWinSock(2, 2)) return 2;
  int result = RUN_ALL_TESTS();
  CleanupWinSock();
  return result;
}
