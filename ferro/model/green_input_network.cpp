#include "ferro/model/green_input_network.h"

namespace Ostra {

namespace {

// Each analogue coefficient is x0 + x1*c + x2*c^2 in the gain pot position c:
// the pot is 1M with legs c*1M + 0.1 and (1 - c)*1M + 0.1, among 470k, 6.8n,
// 6.8k and 41165 ohm; crunch off brings 470k, 22k and 470p, crunch on 100M,
// 100M and 2.2n. H(s) passes DC. Rows B0..B4, then A0..A4.
struct Quadratic {
  double x0, x1, x2;
};

constexpr Quadratic kNumClean[5] = {
    {5.19212e-2, 5.52353e-2, -5.52353e-2},    {1.90381e-5, 3.79418e-4, -3.79418e-4},
    {1.87449e-9, 1.33016e-7, -1.33016e-7},    {4.47473e-14, 1.28417e-11, -1.28417e-11},
    {3.04273e-23, 3.04273e-16, -3.04273e-16},
};
constexpr Quadratic kDenClean[5] = {
    {1.0, 1.06383, -1.03560},
    {3.77117e-4, 6.94526e-3, -7.13048e-3},
    {3.95033e-8, 1.26454e-6, -1.29437e-6},
    {1.31026e-12, 6.36968e-11, -6.48728e-11},
    {1.25255e-17, 8.87733e-16, -9.00258e-16},
};
constexpr Quadratic kNumCrunch[5] = {
    {9.79994e-3, 1.04255e-2, -1.04255e-2},    {2.15752e-3, 2.36303e-3, -2.36303e-3},
    {3.37866e-7, 1.52840e-5, -1.52840e-5},    {1.10106e-11, 2.32091e-9, -2.32091e-9},
    {7.48702e-21, 7.48701e-14, -7.48701e-14},
};
constexpr Quadratic kDenCrunch[5] = {
    {1.0, 1.06383, -2.08545e-2},
    {9.52980e-3, 3.26140e-3, -1.00158e-2},
    {2.06808e-6, 1.62292e-5, -1.79045e-5},
    {1.42005e-10, 2.43863e-9, -2.56820e-9},
    {3.08204e-15, 7.83764e-14, -8.14585e-14},
};

double Evaluate(const Quadratic& q, double c) noexcept { return q.x0 + q.x1 * c + q.x2 * c * c; }

}  // namespace

void GreenInputNetwork::Analog(double c, bool crunch_on, double (&B)[5], double (&A)[5]) noexcept {
  const Quadratic* num = crunch_on ? kNumCrunch : kNumClean;
  const Quadratic* den = crunch_on ? kDenCrunch : kDenClean;
  for (int k = 0; k <= 4; ++k) {
    B[k] = Evaluate(num[k], c);
    A[k] = Evaluate(den[k], c);
  }
}

void GreenInputNetwork::Design(double fs_hz, double c, bool crunch_on) noexcept {
  double B[5];
  double A[5];
  Analog(c, crunch_on, B, A);
  DesignFromAnalog(B, A, fs_hz);
  crunch = crunch_on;
}

void GreenInputNetwork::SetTarget(double new_target, bool crunch_on, double engine_rate) noexcept {
  target = new_target;
  const double moved = engine_rate - fs;
  if (crunch_on != crunch || moved > 1.0 || moved < -1.0) Design(engine_rate, current, crunch_on);
}

void GreenInputNetwork::SetRate(double engine_rate) noexcept {
  const double moved = engine_rate - fs;
  if (moved > 1.0 || moved < -1.0) Design(engine_rate, current, crunch);
}

void GreenInputNetwork::SetCrunch(bool crunch_on) noexcept { Design(fs, current, crunch_on); }

}  // namespace Ostra
