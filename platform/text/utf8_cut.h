// Cutting text to a byte budget without splitting a UTF-8 sequence: a host
// that passes a UTF-8 name longer than a 24-byte program-name field must get
// back a shorter name, not one that ends in half a character.
//
// Header-only, so both plug-ins' shells use it without the text renderer.
#pragma once

#include <cstddef>
#include <cstring>

namespace platform {

// The length of the longest prefix of `text` of at most `max` bytes (fewer if
// a terminator comes first) that does not end inside a multi-byte sequence.
// Reads no byte at or beyond text[max]. Bytes that are not UTF-8 (a stray
// continuation byte, Latin-1) are kept as they are, except that a lead byte
// whose sequence the budget cuts is dropped with its continuation bytes.
inline size_t Utf8CutLength(const char* text, size_t max) noexcept {
  if (!text) return 0;
  const size_t n = strnlen(text, max);
  if (n < max) return n;  // the whole text fits: nothing is cut
  // Back over the continuation bytes (10xxxxxx) that end the prefix.
  size_t start = n;
  int continuations = 0;
  while (start > 0 && continuations < 3 &&
         (static_cast<unsigned char>(text[start - 1]) & 0xC0) == 0x80) {
    --start;
    ++continuations;
  }
  if (start == 0) return n;
  const unsigned char lead = static_cast<unsigned char>(text[start - 1]);
  size_t length = 1;
  if (lead >= 0xF0) {
    length = 4;
  } else if (lead >= 0xE0) {
    length = 3;
  } else if (lead >= 0xC0) {
    length = 2;
  }
  const size_t present = n - (start - 1);
  return (length > 1 && present < length) ? start - 1 : n;
}

// Copies at most capacity - 1 bytes of `src` (cut as above) and a
// terminator into `dst`; an empty text for a null `src`.
inline void CopyUtf8Cut(char* dst, const char* src, size_t capacity) noexcept {
  if (!dst || capacity == 0) return;
  const size_t n = Utf8CutLength(src, capacity - 1);
  if (n) std::memcpy(dst, src, n);
  dst[n] = '\0';
}

}  // namespace platform
