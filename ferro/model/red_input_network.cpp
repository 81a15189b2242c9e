#include "ferro/model/red_input_network.h"

namespace Ostra {

namespace {

// Each analogue coefficient is x0 + x1*p + x2*p^2 in the gain pot position p:
// the pot is 1M with legs p*1M + 0.3 and (1 - p)*1M + 0.3, the second loaded
// by 1M, among 470k, 22n and 48165 ohm; Lead Mod on ("Plus") brings 1.5M,
// 2.2n, 1p, 1.47M and 470k, off ("Standard") 500k, 470p, 1.2n, 40.47k and
// 100M. B0 = B5 = 0: a zero at DC. Rows B1..B4, then A0..A5.
struct Quadratic {
  double x0, x1, x2;
};

constexpr Quadratic kNumPlus[4] = {
    {2.86541e-9, 9.55137e-3, -4.77569e-3},
    {4.39975e-12, 1.46658e-5, -9.72076e-6},
    {1.48788e-15, 4.95960e-9, -4.95234e-9},
    {2.17768e-21, 7.25895e-15, -7.25895e-15},
};
constexpr Quadratic kDenPlus[6] = {
    {1.0, 0.144718, -0.429812},
    {1.37495e-2, 5.38360e-3, -8.41774e-3},
    {9.56413e-6, 1.25975e-5, -1.54114e-5},
    {8.55686e-10, 7.11533e-9, -7.53341e-9},
    {1.79853e-14, 4.04730e-13, -4.22070e-13},
    {2.45848e-20, 5.95846e-19, -6.20431e-19},
};
constexpr Quadratic kNumStandard[4] = {
    {2.18182e-11, 7.27272e-5, -3.63636e-5},
    {1.03742e-12, 3.45808e-6, -1.74722e-6},
    {5.63057e-16, 1.87686e-9, -1.79386e-9},
    {2.49001e-20, 8.30003e-14, -8.30003e-14},
};
constexpr Quadratic kDenStandard[6] = {
    {1.0, 3.30578e-3, -0.335537},
    {1.34417e-2, 3.50530e-4, -4.93699e-3},
    {8.66921e-6, 4.19051e-6, -8.64498e-6},
    {1.23521e-9, 3.47765e-9, -4.23375e-9},
    {5.26379e-14, 4.45735e-13, -4.83868e-13},
    {2.81110e-19, 1.39426e-17, -1.42237e-17},
};

double Evaluate(const Quadratic& q, double p) noexcept { return q.x0 + q.x1 * p + q.x2 * p * p; }

}  // namespace

void RedInputNetwork::Analog(double p, bool lead_mod_on, double (&B)[6], double (&A)[6]) noexcept {
  const Quadratic* num = lead_mod_on ? kNumPlus : kNumStandard;
  const Quadratic* den = lead_mod_on ? kDenPlus : kDenStandard;
  B[0] = 0.0;
  for (int k = 1; k <= 4; ++k) B[k] = Evaluate(num[k - 1], p);
  B[5] = 0.0;
  for (int k = 0; k <= 5; ++k) A[k] = Evaluate(den[k], p);
}

void RedInputNetwork::Design(double fs_hz, double p, bool lead_mod_on) noexcept {
  double B[6];
  double A[6];
  Analog(p, lead_mod_on, B, A);
  DesignFromAnalog(B, A, fs_hz);
  pre_gain = p;
  lead_mod = lead_mod_on;
}

}  // namespace Ostra
