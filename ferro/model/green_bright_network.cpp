#include "ferro/model/green_bright_network.h"

namespace Ostra {

namespace {

// Analogue H(s), ascending powers of s, A0 = 1. Among the elements are 3.3n,
// 33u, 82k, 18k, 48.6k, 100k and 22k; the bright element is 1M (on) or 0.3 ohm
// (off). Designed on GREEN the network has a 10k resistor and no further
// capacitor, and its numerator is s*(1 + s*3.3n*(22k + bright element));
// designed on RED, 10k || 33k = 7674.4 ohm and a 33n capacitor.
struct Response {
  double B[4];
  double A[4];
};

constexpr Response kGreenBrightOff = {{0.0, 0.33, 2.39583e-5, 0.0},
                                      {1.0, 5.82796, 8.76215e-4, 0.0}};
constexpr Response kGreenBrightOn = {{0.0, 0.33, 1.11296e-3, 0.0}, {1.0, 5.83126, 2.01079e-2, 0.0}};
constexpr Response kRedBrightOff = {{0.0, 0.253258, 7.03703e-4, 4.97546e-8},
                                    {1.0, 5.75422, 1.77883e-2, 2.42900e-6}};
constexpr Response kRedBrightOn = {{0.0, 0.253393, 1.54027e-3, 2.31253e-6},
                                   {1.0, 5.76058, 3.67963e-2, 5.84110e-5}};

}  // namespace

void GreenBrightNetwork::Analog(int32_t design_channel, bool bright_on, double (&B)[4],
                                double (&A)[4]) noexcept {
  const Response& r = design_channel == 0 ? (bright_on ? kGreenBrightOn : kGreenBrightOff)
                                          : (bright_on ? kRedBrightOn : kRedBrightOff);
  for (int k = 0; k <= 3; ++k) {
    B[k] = r.B[k];
    A[k] = r.A[k];
  }
}

void GreenBrightNetwork::Design(double fs_hz, int32_t design_channel, bool bright_on) noexcept {
  double B[4];
  double A[4];
  Analog(design_channel, bright_on, B, A);
  DesignFromAnalog(B, A, fs_hz);
  channel = design_channel;
  bright = bright_on;
}

}  // namespace Ostra
