// UTF-8 decoding: valid sequences of every length, and malformed input
// that must yield U+FFFD, advance, and never read past the end.
#include "platform/text/utf8.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<char32_t> DecodeAll(const std::string& s) {
  std::vector<char32_t> out;
  size_t pos = 0;
  while (pos < s.size()) {
    const size_t before = pos;
    out.push_back(platform::DecodeUtf8(s.data(), s.size(), &pos));
    if (pos <= before) {
      ADD_FAILURE() << "decoder did not advance";
      break;
    }
  }
  return out;
}

constexpr char32_t kBad = platform::kReplacementCharacter;

TEST(Utf8, DecodesOneToFourByteSequences) {
  EXPECT_EQ(DecodeAll("A\xC2\xB0\xE2\x82\xAC\xF0\x9F\x8E\xB8"),
            (std::vector<char32_t>{'A', 0xB0, 0x20AC, 0x1F3B8}));
}

TEST(Utf8, MalformedBytesBecomeReplacementCharactersOneByteAtATime) {
  // Overlong '/', a lone continuation byte, a UTF-16 surrogate, beyond U+10FFFF.
  EXPECT_EQ(DecodeAll("\xC0\xAF"), (std::vector<char32_t>{kBad, kBad}));
  EXPECT_EQ(DecodeAll("\x80z"), (std::vector<char32_t>{kBad, 'z'}));
  EXPECT_EQ(DecodeAll("\xED\xA0\x80"), (std::vector<char32_t>{kBad, kBad, kBad}));
  EXPECT_EQ(DecodeAll("\xF4\x90\x80\x80"), (std::vector<char32_t>{kBad, kBad, kBad, kBad}));
  // A sequence cut off by the end of the text, and one interrupted by ASCII.
  EXPECT_EQ(DecodeAll("x\xE2\x82"), (std::vector<char32_t>{'x', kBad, kBad}));
  EXPECT_EQ(DecodeAll("\xE2(\xAC"), (std::vector<char32_t>{kBad, '(', kBad}));
  EXPECT_EQ(DecodeAll("\xFF"), (std::vector<char32_t>{kBad}));
}

}  // namespace
