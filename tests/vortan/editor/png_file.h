// PNG files for the editor tests: writing what was rendered, reading golden
// images, and comparing the two with an _actual and a _diff picture left
// behind on a mismatch.
#pragma once

#include <string>

#include "platform/image/image.h"

namespace vortan {

// Writes an RGBA bitmap (opaque pictures: premultiplied equals straight).
bool WritePngFile(const std::string& path, const platform::Bitmap& image);
// Reads a PNG file; empty bitmap when missing or unreadable.
platform::Bitmap ReadPngFile(const std::string& path);

// Compares `image` with <golden_dir>/<name>.png pixel for pixel. On a
// mismatch writes <out_dir>/<name>_actual.png and <name>_diff.png (differing
// pixels red over a dimmed copy) and returns a description; empty when equal.
// With VALVE_UPDATE_GOLDEN=1 in the environment the golden file is rewritten
// instead and the comparison passes.
std::string CompareWithGolden(const std::string& golden_dir, const std::string& out_dir,
                              const std::string& name, const platform::Bitmap& image);

}  // namespace vortan
