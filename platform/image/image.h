// 32-bit RGBA bitmaps and the PNG decoder that fills them from bytes in
// memory.
//
// Pixel format, everywhere in platform/: four bytes per pixel in the memory
// order R, G, B, A, with PREMULTIPLIED alpha (each colour byte is already
// multiplied by A / 255, so a colour byte never exceeds its alpha). Rows run
// from the top of the picture down; `stride` is the distance between rows in
// bytes. Premultiplied pixels composite with one multiply per channel
// (out = src * w + dst * (1 - a_src * w)) and scale cleanly, which is what a
// film-strip blit with a blend weight needs; a toolkit that blits must use
// that rule (CompositeOver below does).
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace platform {

// A rectangle in pixels: left and top inclusive, right and bottom exclusive.
struct Rect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;

  int width() const { return right - left; }
  int height() const { return bottom - top; }
  bool empty() const { return right <= left || bottom <= top; }
  bool Contains(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
};

// The overlap of two rectangles (empty when they do not meet).
Rect Intersect(const Rect& a, const Rect& b) noexcept;
// The smallest rectangle holding both; an empty rectangle adds nothing.
Rect Union(const Rect& a, const Rect& b) noexcept;

// A caller-owned pixel area: {pixels, width, height, stride}. A sub-view
// clips by moving the pointer; it never owns memory.
struct PixelView {
  uint8_t* pixels = nullptr;
  int width = 0;
  int height = 0;
  int stride = 0;  // bytes from one row to the next

  uint8_t* At(int x, int y) const { return pixels + y * stride + x * 4; }
  // The part of this view inside r (clipped to the view).
  PixelView Sub(const Rect& r) const noexcept;
};

// The read-only form of PixelView.
struct ConstPixelView {
  const uint8_t* pixels = nullptr;
  int width = 0;
  int height = 0;
  int stride = 0;

  ConstPixelView() = default;
  ConstPixelView(const uint8_t* p, int w, int h, int s)
      : pixels(p), width(w), height(h), stride(s) {}
  ConstPixelView(const PixelView& v)  // NOLINT: a writable view reads as well
      : pixels(v.pixels), width(v.width), height(v.height), stride(v.stride) {}
  const uint8_t* At(int x, int y) const { return pixels + y * stride + x * 4; }
  ConstPixelView Sub(const Rect& r) const noexcept;
};

// An owned RGBA bitmap (premultiplied, tightly packed: stride = 4 * width).
// A default-constructed bitmap is empty (0 x 0).
class Bitmap {
 public:
  Bitmap() = default;
  // A bitmap of the given size, every pixel transparent black (0, 0, 0, 0).
  Bitmap(int width, int height);

  int width() const { return width_; }
  int height() const { return height_; }
  int stride() const { return width_ * 4; }
  bool empty() const { return width_ <= 0 || height_ <= 0; }
  uint8_t* data() { return pixels_.data(); }
  const uint8_t* data() const { return pixels_.data(); }
  uint8_t* At(int x, int y) { return pixels_.data() + (static_cast<size_t>(y) * width_ + x) * 4; }
  const uint8_t* At(int x, int y) const {
    return pixels_.data() + (static_cast<size_t>(y) * width_ + x) * 4;
  }

  PixelView view() { return {pixels_.data(), width_, height_, stride()}; }
  ConstPixelView view() const { return {pixels_.data(), width_, height_, stride()}; }

  // Frame k (0-based) of a vertical film strip of `frames` equal frames: the
  // k-th band of height height() / frames from the top. An out-of-range k is
  // clamped to the first or last frame.
  ConstPixelView Frame(int k, int frames) const noexcept;

  // Fills every pixel with one premultiplied colour.
  void Fill(uint8_t r, uint8_t g, uint8_t b, uint8_t a) noexcept;

 private:
  int width_ = 0;
  int height_ = 0;
  std::vector<uint8_t> pixels_;
};

// Decodes a PNG file held in memory (any colour type and bit depth libpng
// reads: palette, grey, grey+alpha, RGB, RGBA, 16-bit, interlaced) into *out,
// converted to 8-bit premultiplied RGBA. Returns false and leaves *out empty
// for null, truncated or corrupt data; never throws, never aborts. Set-up
// code: allocates.
bool DecodePng(const uint8_t* data, size_t size, Bitmap* out) noexcept;

// For images that are fixed data of the program (embedded resources): decodes
// like DecodePng and, when expected_width and expected_height are not 0,
// checks the size. A missing (data == nullptr), undecodable or wrongly sized
// image is a programming error: an assertion in a debug build; in a release
// build the result is a transparent bitmap of the expected size (empty when
// no size is given), so the editor draws nothing there instead of crashing.
Bitmap DecodeFixedPng(const uint8_t* data, size_t size, int expected_width = 0,
                      int expected_height = 0) noexcept;

// Composites src over dst at (x, y) in dst with the blend weight w (0..1,
// used as opacity): out = src * w + dst * (1 - a_src * w), per channel, on
// premultiplied pixels, rounded to the nearest byte. Whatever falls outside
// dst is clipped. w >= 1 with an opaque source copies exactly; w <= 0 leaves
// dst unchanged.
void CompositeOver(PixelView dst, int x, int y, ConstPixelView src, float weight = 1.0f) noexcept;

// Copies src into dst at (x, y) without blending (clipped to dst).
void Copy(PixelView dst, int x, int y, ConstPixelView src) noexcept;

}  // namespace platform
