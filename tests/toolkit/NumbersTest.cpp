#include "toolkit/Numbers.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

TEST(Numbers, DecimalsWriteAsPrintfAndReadBackAtTheEdges) {
  for (std::int32_t value : {0, 7, -1, 10, 99, -100, 1000000, INT_MAX, INT_MIN}) {
    char out[12];
    int n = WriteDecimal(value, out);
    std::string text(out, static_cast<size_t>(n));
    EXPECT_EQ(std::to_string(value), text);
    EXPECT_EQ(value, ReadDecimal(text.c_str()));
  }
  // Read as atoi reads, but wrapping instead of undefined past the range.
  EXPECT_EQ(42, ReadDecimal(" \t+42abc"));
  EXPECT_EQ(0, ReadDecimal("x1"));
  EXPECT_EQ(INT_MIN, ReadDecimal("2147483648"));
}
