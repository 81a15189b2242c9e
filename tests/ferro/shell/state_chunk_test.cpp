#include "ferro/shell/state_chunk.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

TEST(StateChunk, ValuesAreLittleEndianWithoutPadding) {
  StateChunk c;
  c.Put(static_cast<int32_t>(0x70666674));
  c.Put(1.0);
  c.Put(static_cast<uint8_t>(7));
  ASSERT_EQ(c.Size(), 13);
  const uint8_t expected[] = {0x74, 0x66, 0x66, 0x70, 0, 0, 0, 0, 0, 0, 0xF0, 0x3F, 7};
  for (int i = 0; i < 13; ++i) EXPECT_EQ(c.Data()[i], expected[i]) << i;
}

TEST(StateChunk, ReadsOutsideTheBufferFailAndLeaveTheDestination) {
  StateChunk c;
  c.Put(2.5);
  double v = 9.0;
  EXPECT_EQ(c.Get(&v, 0), 8);
  EXPECT_EQ(v, 2.5);
  v = 9.0;
  EXPECT_EQ(c.Get(&v, 1), -1);
  EXPECT_EQ(c.Get(&v, -1), -1);
  EXPECT_EQ(c.Get(&v, INT_MAX - 2), -1);
  EXPECT_EQ(v, 9.0);
}

TEST(StateChunk, StringsRefuseNegativeAndOversizedLengths) {
  StateChunk c;
  c.PutString("by Quarnby");
  std::string text = "old";
  EXPECT_EQ(c.GetString(&text, 0), 14);
  EXPECT_EQ(text, "by Quarnby");

  for (int32_t length : {-4, INT32_MAX, 100}) {
    StateChunk bad;
    bad.Put(length);
    bad.PutBytes("abcd", 4);
    text = "kept";
    EXPECT_EQ(bad.GetString(&text, 0), -1) << length;
    EXPECT_EQ(text, "kept");
  }

  StateChunk empty;
  empty.Put(static_cast<int32_t>(0));
  text = "kept";
  EXPECT_EQ(empty.GetString(&text, 0), 4);
  EXPECT_EQ(text, "kept");  // an empty name keeps the text read before
}

}  // namespace
