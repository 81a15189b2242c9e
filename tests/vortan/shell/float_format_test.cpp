#include "vortan/shell/float_format.h"

#include <gtest/gtest.h>

#include <string>

namespace vortan {
namespace {

std::string Format(float v, int chars = 8) {
  char text[kMaxFormatChars + 1];
  FormatFloatCut(v, text, chars);
  return text;
}

TEST(FloatFormat, FillsTheWidthWithDigitsCutNotRounded) {
  EXPECT_EQ(Format(0.5f), "0.500000");
  EXPECT_EQ(Format(1.0f), "1.000000");
  EXPECT_EQ(Format(-0.25f), "-0.25000");
  EXPECT_EQ(Format(0.7f), "0.699999");  // 0.69999998...
  EXPECT_EQ(Format(0.3f), "0.300000");  // 0.30000001...
  EXPECT_EQ(Format(0.9999999f), "0.999999");
  EXPECT_EQ(Format(12345678.0f), "12345678");
  EXPECT_EQ(Format(0.5f, 3), "0.5");
}

}  // namespace
}  // namespace vortan
