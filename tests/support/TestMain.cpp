#include <gtest/gtest.h>

#include "engine/EventSocket.h"

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  // The program starts the socket library once, as its start-up does.
  if (!StartWinSock(2, 2)) return 2;
  int result = RUN_ALL_TESTS();
  CleanupWinSock();
  return result;
}
