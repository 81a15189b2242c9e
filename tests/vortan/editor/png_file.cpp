#include "tests/vortan/editor/png_file.h"

#include <png.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <vector>

namespace vortan {

bool WritePngFile(const std::string& path, const platform::Bitmap& image) {
  if (image.empty()) return false;
  png_image png{};
  png.version = PNG_IMAGE_VERSION;
  png.width = static_cast<png_uint_32>(image.width());
  png.height = static_cast<png_uint_32>(image.height());
  png.format = PNG_FORMAT_RGBA;
  return png_image_write_to_file(&png, path.c_str(), 0, image.data(), image.stride(), nullptr) != 0;
}

platform::Bitmap ReadPngFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)),
                             std::istreambuf_iterator<char>());
  platform::Bitmap out;
  if (!bytes.empty()) platform::DecodePng(bytes.data(), bytes.size(), &out);
  return out;
}

std::string CompareWithGolden(const std::string& golden_dir, const std::string& out_dir,
                              const std::string& name, const platform::Bitmap& image) {
  const std::string golden_path = golden_dir + "/" + name + ".png";
  const char* update = std::getenv("VALVE_UPDATE_GOLDEN");
  if (update && std::string(update) == "1") {
    return WritePngFile(golden_path, image) ? "" : "cannot write " + golden_path;
  }
  const platform::Bitmap golden = ReadPngFile(golden_path);
  std::string problem;
  platform::Bitmap diff(image.width(), image.height());
  int differing = 0;
  if (golden.width() != image.width() || golden.height() != image.height()) {
    problem =
        golden.empty() ? "no golden image " + golden_path : "size differs from " + golden_path;
  } else {
    for (int y = 0; y < image.height(); ++y) {
      for (int x = 0; x < image.width(); ++x) {
        const uint8_t* a = image.At(x, y);
        const uint8_t* g = golden.At(x, y);
        uint8_t* d = diff.At(x, y);
        const bool same = a[0] == g[0] && a[1] == g[1] && a[2] == g[2] && a[3] == g[3];
        differing += same ? 0 : 1;
        d[0] = same ? static_cast<uint8_t>(a[0] / 4) : 255;
        d[1] = same ? static_cast<uint8_t>(a[1] / 4) : 0;
        d[2] = same ? static_cast<uint8_t>(a[2] / 4) : 0;
        d[3] = 255;
      }
    }
    if (differing) problem = std::to_string(differing) + " pixels differ from " + golden_path;
  }
  if (problem.empty()) return "";
  const std::string actual = out_dir + "/" + name + "_actual.png";
  WritePngFile(actual, image);
  problem += "; wrote " + actual;
  if (differing) {
    WritePngFile(out_dir + "/" + name + "_diff.png", diff);
    problem += " and " + name + "_diff.png";
  }
  return problem + " (VALVE_UPDATE_GOLDEN=1 rewrites the golden image)";
}

}  // namespace vortan
