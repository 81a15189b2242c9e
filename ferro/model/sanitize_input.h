// Guard for samples entering the amplifier model from the host. The model's
// filters and valve stages are recursive: one NaN or infinity would stay in
// their states for ever. A non-finite sample becomes silence; finite samples,
// however large, pass unchanged (every stage of the model clamps).
#pragma once

#include <cmath>

namespace Ostra {

inline double SanitizeInput(double x) noexcept { return std::isfinite(x) ? x : 0.0; }

}  // namespace Ostra
