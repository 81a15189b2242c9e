#include "platform/text/utf8.h"

namespace platform {

char32_t DecodeUtf8(const char* text, size_t size, size_t* pos) noexcept {
  const auto byte = [&](size_t i) { return static_cast<uint8_t>(text[i]); };
  const uint8_t lead = byte(*pos);
  if (lead < 0x80) {
    ++*pos;
    return lead;
  }
  int length = 0;
  char32_t code = 0;
  char32_t minimum = 0;
  if ((lead & 0xE0) == 0xC0) {
    length = 2, code = lead & 0x1F, minimum = 0x80;
  } else if ((lead & 0xF0) == 0xE0) {
    length = 3, code = lead & 0x0F, minimum = 0x800;
  } else if ((lead & 0xF8) == 0xF0) {
    length = 4, code = lead & 0x07, minimum = 0x10000;
  } else {
    ++*pos;
    return kReplacementCharacter;
  }
  if (*pos + length > size) {
    ++*pos;
    return kReplacementCharacter;
  }
  for (int i = 1; i < length; ++i) {
    const uint8_t next = byte(*pos + i);
    if ((next & 0xC0) != 0x80) {
      ++*pos;
      return kReplacementCharacter;
    }
    code = (code << 6) | (next & 0x3F);
  }
  // Overlong forms, surrogates and values beyond Unicode are not characters.
  if (code < minimum || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) {
    ++*pos;
    return kReplacementCharacter;
  }
  *pos += length;
  return code;
}

}  // namespace platform
