// Golden-image comparison for rendered editors: a frame is compared with a
// PNG under the source tree. On a mismatch <name>_actual.png and
// <name>_diff.png are written beside the test binary. Setting
// FERRO_UPDATE_GOLDEN=1 in the environment rewrites the golden files instead.
#pragma once

#include <string>

#include "platform/image/image.h"

namespace golden {

// Writes an opaque RGB PNG of the (premultiplied, opaque) bitmap.
bool WritePng(const std::string& path, const platform::Bitmap& bitmap);

struct Result {
  bool ok = false;
  std::string message;
};

// Compares with <dir>/<name>.png. A pixel differs when a channel is off by
// more than `tolerance`; up to `allowed` differing pixels pass (glyph edges
// may vary between font renderer versions).
Result Compare(const platform::Bitmap& frame, const std::string& dir, const std::string& name,
               int tolerance = 2, int allowed = 40);

}  // namespace golden
