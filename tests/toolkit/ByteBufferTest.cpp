#include "toolkit/ByteBuffer.h"

#include <gtest/gtest.h>

#include <vector>

TEST(ByteBuffer, AppendBeforeInitFails) {
  ByteBuffer b;
  EXPECT_FALSE(b.Append("x", 1));
  EXPECT_EQ(nullptr, b.data);
}

TEST(ByteBuffer, GrowsInWholeSteps) {
  ByteBuffer b;
  ASSERT_TRUE(b.Init(8192, 1024));
  std::vector<std::uint8_t> chunk(8192, 0xAB);
  ASSERT_TRUE(b.Append(chunk.data(), 8192));
  EXPECT_EQ(8192u, b.capacity);
  ASSERT_TRUE(b.Append(chunk.data(), 8192));
  EXPECT_EQ(16384u, b.length);
  EXPECT_EQ(16384u, b.capacity) << "8192 more bytes take exactly 8 steps of 1024";
  ASSERT_TRUE(b.AppendByte(0x1FF));
  EXPECT_EQ(16384u + 1024u, b.capacity);
  EXPECT_EQ(0xFF, b.data[16384]);
  EXPECT_EQ(0xAB, b.data[16383]);
}

TEST(ByteBuffer, AppendWordIsLittleEndian) {
  ByteBuffer b;
  ASSERT_TRUE(b.Init(1, 1));
  ASSERT_TRUE(b.AppendWord(0x1234));
  ASSERT_EQ(2u, b.length);
  EXPECT_EQ(0x34, b.data[0]);
  EXPECT_EQ(0x12, b.data[1]);
}

TEST(ByteBuffer, InitAgainStartsEmpty) {
  ByteBuffer b;
  ASSERT_TRUE(b.Init(4, 4));
  b.Append("abcdef", 6);
  ASSERT_TRUE(b.Init(16, 4));
  EXPECT_EQ(0u, b.length);
  EXPECT_EQ(16u, b.capacity);
  b.Release();
  EXPECT_EQ(nullptr, b.data);
  EXPECT_FALSE(b.AppendByte(1));
}

TEST(MemoryBlock, AllocateZeroesOnRequest) {
  MemoryBlock m;
  auto* p = static_cast<std::uint8_t*>(m.Allocate(64, true));
  ASSERT_NE(nullptr, p);
  EXPECT_EQ(64u, m.size);
  for (int i = 0; i < 64; ++i) ASSERT_EQ(0, p[i]);
  m.Release();
  EXPECT_EQ(nullptr, m.data);
  EXPECT_EQ(0u, m.size);
}
