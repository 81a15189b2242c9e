// Feeds arbitrary bytes to the .fxp/.fxb reader: it must never read outside
// the input or crash, and whatever it accepts must write back to a file that
// reads as the same preset and writes the same bytes again.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "host/presets/fx_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  presets::FxFile file;
  std::string error;
  if (!presets::ParseFx(data, size, &file, &error)) {
    if (error.empty()) std::abort();  // a refusal always gives its reason
    return 0;
  }
  const std::vector<uint8_t> once = presets::WriteFx(file);
  presets::FxFile again;
  if (!presets::ParseFx(once.data(), once.size(), &again, &error)) std::abort();
  if (presets::WriteFx(again) != once) std::abort();
  return 0;
}
