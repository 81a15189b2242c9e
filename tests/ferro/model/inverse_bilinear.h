// Test helper: maps a digital filter designed by the bilinear transform back
// to its analogue H(s) (K = 2 fs), normalised to A0 = 1, and compares it with
// figures given to a few significant digits.
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

namespace Ostra {
namespace testing_support {

struct Analog {
  std::vector<double> B;
  std::vector<double> A;
};

// z^-1 = (K - s)/(K + s): multiply numerator and denominator by (K + s)^N,
// so each b_j contributes b_j (K - s)^j (K + s)^(N-j).
inline Analog InverseBilinear(const double* b, const double* a, int order, double fs) {
  const double K = 2.0 * fs;
  const int n = order;
  Analog out{std::vector<double>(n + 1, 0.0), std::vector<double>(n + 1, 0.0)};
  for (int j = 0; j <= n; ++j) {
    std::vector<double> p(n + 1, 0.0);  // ascending powers of s
    p[0] = 1.0;
    for (int f = 0; f < n; ++f) {
      const double sign = f < j ? -1.0 : 1.0;  // (K - s) j times, then (K + s)
      for (int k = n; k >= 0; --k) p[k] = K * p[k] + (k > 0 ? sign * p[k - 1] : 0.0);
    }
    for (int k = 0; k <= n; ++k) {
      out.B[k] += b[j] * p[k];
      out.A[k] += a[j] * p[k];
    }
  }
  const double a0 = out.A[0];
  for (int k = 0; k <= n; ++k) {
    out.B[k] /= a0;
    out.A[k] /= a0;
  }
  return out;
}

// Largest relative error seen by ExpectFigures, across the whole test run.
inline double& LargestRelativeError() {
  static double worst = 0.0;
  return worst;
}

// Non-zero figures must agree to a relative 5e-5 (five significant digits).
// A figure of zero (a zero of H at DC or at infinity) must stay negligible
// against its neighbour where that term matters: B0 below 1e-4 of B1*w at
// 1 Hz (the inverse mapping itself loses digits there), a top coefficient
// below 1e-6 of the one under it over w at 20 kHz.
inline void ExpectFigures(const std::vector<double>& got, const std::vector<double>& want,
                          const std::string& what) {
  constexpr double kTwoPi = 6.283185307179586;
  ASSERT_EQ(got.size(), want.size()) << what;
  for (size_t k = 0; k < want.size(); ++k) {
    if (want[k] == 0.0) {
      const double bound = k == 0 ? 1e-4 * std::fabs(want[1]) * kTwoPi * 1.0
                                  : 1e-6 * std::fabs(want[k - 1]) / (kTwoPi * 20000.0);
      EXPECT_LE(std::fabs(got[k]), bound) << what << " coefficient " << k;
      continue;
    }
    const double rel = std::fabs(got[k] / want[k] - 1.0);
    LargestRelativeError() = std::fmax(LargestRelativeError(), rel);
    EXPECT_LT(rel, 5e-5) << what << " coefficient " << k << ": " << got[k] << " vs " << want[k];
  }
}

}  // namespace testing_support
}  // namespace Ostra
