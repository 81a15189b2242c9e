// Single pixels and anti-aliased lines drawn into a premultiplied RGBA view,
// clipped to the view.
#pragma once

#include "ferro/graphics/graphics_types.h"

namespace raster {

// Composites colour c with the coverage 0..1 over the pixel (x, y).
void BlendPixel(platform::PixelView dst, int x, int y, const IColor& c, float coverage) noexcept;

// One pixel at the nearest whole position.
void DrawPoint(platform::PixelView dst, const IColor& c, float x, float y) noexcept;

// A one-pixel line from (x1, y1) to (x2, y2); with antiAlias each pixel's
// share of the ideal line becomes its coverage (Wu's algorithm), otherwise
// the nearest pixels are set.
void DrawLine(platform::PixelView dst, const IColor& c, float x1, float y1, float x2, float y2,
              bool antiAlias) noexcept;

}  // namespace raster
