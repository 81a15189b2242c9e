// Bilinear-transform designs of the fixed second-order filters. Every design
// prewarps its corner f0 as t = tan(2 pi f0 / fsI / 2), with 6.28319304 as the
// model's value of two pi, and (except the peak) uses the Q = 0.7 denominator
// norm = 1/(t^2 + t/0.7 + 1), a1 = 2 (t^2 - 1), a2 = t^2 + 1 - t/0.7.
// Each design clears the filter's memories.
#pragma once

#include "vortan/model/biquad.h"

namespace vortan {

// sqrt(2 G) of the shelf gains the chains use.
inline constexpr double kShelfB0_666 = 1.1541230437002807;
inline constexpr double kShelfB0_45 = 0.9486832980505138;
inline constexpr double kShelfB1_333 = 1.632789024950866;
inline constexpr double kShelfB0_333 = 0.816088230524126623;
inline constexpr double kShelfB1_75 = 1.8708286933869707;

// Low-pass: numerator t^2 (1 + 2 z^-1 + z^-2).
void designLowpass(Biquad& f, double f0, double fsI) noexcept;

// Low shelf, gain G below f0 and 1 above; B = sqrt(2 G).
// H(s) = (G + B s/w0 + (s/w0)^2) / (1 + s/(0.7 w0) + (s/w0)^2) in the
// bilinear image.
void designLowShelf(Biquad& f, double f0, double fsI, double G, double B) noexcept;

// Recomputes only the numerator of a low shelf for a new gain G (B = sqrt(2 G)),
// keeping t and the denominator; remembers G.
void setLowShelfGain(Biquad& f, double G, double B) noexcept;

// High shelf with gain 7 above f0.
void designHighShelf7(Biquad& f, double f0, double fsI) noexcept;

// Peak with the Q = 1 denominator and a 1.333 t numerator term.
void designPeak(Biquad& f, double f0, double fsI) noexcept;

// High-pass: numerator 1 - 2 z^-1 + z^-2.
void designHighpass(Biquad& f, double f0, double fsI) noexcept;

}  // namespace vortan
