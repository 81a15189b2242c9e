// The knob tapers: knob position 0..1 to the circuit quantity it sets.
#pragma once

namespace Ostra {

// Gain taper (PreGain, Bass, LowEnd): an audio-taper pot position, kept off
// both ends of the track. g(0.5) = 0.0650.
inline double GainTaper(double x) noexcept {
  double g = x / (14.40821049 - 13.40810048 * x) + 0.0001;
  if (g < 0.0001) g = 0.0001;
  if (g > 0.9999) g = 0.9999;
  return g;
}

// Level taper (PostGain, and Presence inside the feedback design): 0 at 0,
// 0.9 at the middle, 1 at full.
inline double LevelTaper(double x) noexcept { return (x - 1.0) / (8.0 * x + 1.0) + 1.0; }

// Output taper: 0 at 0, 1.2 at the middle, 12 at full.
inline double OutputTaper(double x) noexcept { return 12.0 * x / (9.0 - 8.0 * x); }

}  // namespace Ostra
