#include "tests/ferro/editor/golden_image.h"

#include <png.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <vector>

namespace golden {
namespace {

bool ReadFile(const std::string& path, std::vector<uint8_t>* bytes) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  bytes->assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  return true;
}

// Beside the test binary's build folder when known, else the working folder.
std::string OutputPath(const std::string& file) {
#ifdef FERRO_EDITOR_OUTPUT_DIR
  return std::string(FERRO_EDITOR_OUTPUT_DIR) + "/" + file;
#else
  return file;
#endif
}

}  // namespace

bool WritePng(const std::string& path, const platform::Bitmap& bitmap) {
  FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) return false;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png ? png_create_info_struct(png) : nullptr;
  if (!png || !info || setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    std::fclose(file);
    return false;
  }
  png_init_io(png, file);
  png_set_IHDR(png, info, static_cast<png_uint_32>(bitmap.width()),
               static_cast<png_uint_32>(bitmap.height()), 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  std::vector<uint8_t> row(static_cast<size_t>(bitmap.width()) * 3);
  for (int y = 0; y < bitmap.height(); ++y) {
    for (int x = 0; x < bitmap.width(); ++x) {
      const uint8_t* p = bitmap.At(x, y);
      for (int c = 0; c < 3; ++c) row[static_cast<size_t>(x) * 3 + c] = p[c];
    }
    png_write_row(png, row.data());
  }
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  std::fclose(file);
  return true;
}

Result Compare(const platform::Bitmap& frame, const std::string& dir, const std::string& name,
               int tolerance, int allowed) {
  Result result;
  const std::string goldenPath = dir + "/" + name + ".png";
  const char* update = std::getenv("FERRO_UPDATE_GOLDEN");
  if (update && update[0] == '1') {
    result.ok = WritePng(goldenPath, frame);
    result.message = "golden rewritten: " + goldenPath;
    return result;
  }
  std::vector<uint8_t> bytes;
  platform::Bitmap expected;
  if (!ReadFile(goldenPath, &bytes) ||
      !platform::DecodePng(bytes.data(), bytes.size(), &expected)) {
    result.message = "no golden image " + goldenPath + " (run with FERRO_UPDATE_GOLDEN=1)";
    WritePng(OutputPath(name + "_actual.png"), frame);
    return result;
  }
  if (expected.width() != frame.width() || expected.height() != frame.height()) {
    result.message = "golden image " + goldenPath + " has another size";
    WritePng(OutputPath(name + "_actual.png"), frame);
    return result;
  }
  platform::Bitmap diff(frame.width(), frame.height());
  int differing = 0;
  for (int y = 0; y < frame.height(); ++y) {
    for (int x = 0; x < frame.width(); ++x) {
      const uint8_t* a = frame.At(x, y);
      const uint8_t* b = expected.At(x, y);
      int worst = 0;
      for (int c = 0; c < 3; ++c) worst = std::max(worst, std::abs(a[c] - b[c]));
      uint8_t* d = diff.At(x, y);
      const bool bad = worst > tolerance;
      differing += bad ? 1 : 0;
      // Differences in red over a dimmed copy of the expected picture.
      d[0] = bad ? 255 : static_cast<uint8_t>(b[0] / 4);
      d[1] = bad ? 0 : static_cast<uint8_t>(b[1] / 4);
      d[2] = bad ? 0 : static_cast<uint8_t>(b[2] / 4);
      d[3] = 255;
    }
  }
  result.ok = differing <= allowed;
  result.message = std::to_string(differing) + " pixels differ from " + goldenPath +
                   (differing > allowed ? " (see " + OutputPath(name + "_diff.png") + ")" : "");
  if (!result.ok) {
    WritePng(OutputPath(name + "_actual.png"), frame);
    WritePng(OutputPath(name + "_diff.png"), diff);
  }
  return result;
}

}  // namespace golden
