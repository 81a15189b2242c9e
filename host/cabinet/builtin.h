// The built-in cabinets: IR files embedded in the library at build time
// (resources/cabinets/*.wav, see EmbedCabinets.cmake).
#pragma once

#include <cstddef>

namespace cabinet {

struct EmbeddedIr {
  const char* name;  // the file's stem, e.g. "4x12-closed"
  const unsigned char* data;
  size_t size;
};

// The embedded IRs in name order; *count set to their number.
const EmbeddedIr* EmbeddedIrs(size_t* count);

}  // namespace cabinet
