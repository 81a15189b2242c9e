// The font files embedded into the library at build time (Liberation Sans,
// the Arial-metric sans serif), as read-only bytes.
#pragma once

#include <cstddef>

namespace platform {

struct FontFile {
  const unsigned char* data;
  size_t size;
};

FontFile EmbeddedSansRegular() noexcept;
FontFile EmbeddedSansBold() noexcept;

}  // namespace platform
