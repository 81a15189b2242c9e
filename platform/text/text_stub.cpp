// Placeholder until the FreeType renderer lands: measures and draws nothing.
#include "platform/text/text.h"

namespace platform {

FontMetrics MeasureFont(const TextStyle&) noexcept { return {}; }
TextExtent MeasureText(const TextStyle&, const std::string&) noexcept { return {}; }
Rect DrawText(PixelView, const Rect&, const TextStyle&, const std::string&) noexcept { return {}; }

}  // namespace platform
