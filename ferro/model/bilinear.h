// Bilinear transform of an analogue transfer function of order N, without
// frequency prewarping: s = 2*fs*(1 - z^-1)/(1 + z^-1).
//
// B(s) and A(s) (ascending powers of s) are multiplied by T^N*(1 + z^-1)^N, so
// the analogue coefficient of s^k is weighted by 2^k*T^(N-k) and spread over
// the powers of z^-1 by (1 - z^-1)^k*(1 + z^-1)^(N-k). The spreading matrix is
// a table of integers built at compile time; a design is N^2 multiply-adds.
#pragma once

namespace Ostra {

// Coefficient of z^-j in (1 - z^-1)^k * (1 + z^-1)^(N-k), as m[k][j].
template <int N>
struct BilinearMatrix {
  double m[N + 1][N + 1];
  constexpr BilinearMatrix() : m{} {
    for (int k = 0; k <= N; ++k) {
      double p[N + 1] = {};
      p[0] = 1.0;
      for (int f = 0; f < N; ++f) {
        const double sign = f < k ? -1.0 : 1.0;  // k factors (1 - z^-1), then (1 + z^-1)
        for (int j = N; j > 0; --j) p[j] = p[j] + sign * p[j - 1];
      }
      for (int j = 0; j <= N; ++j) m[k][j] = p[j];
    }
  }
};

template <int N>
inline constexpr BilinearMatrix<N> kBilinearMatrix{};

// Digital numerator b[0..N] and denominator a[0..N], not normalised, of the
// analogue B[0..N]/A[0..N] at the rate fs (Hz).
template <int N>
void BilinearTransform(const double* B, const double* A, double fs, double* b, double* a) noexcept {
  const double T = 1.0 / fs;
  double t_pow[N + 1];
  t_pow[0] = 1.0;
  for (int i = 1; i <= N; ++i) t_pow[i] = t_pow[i - 1] * T;
  double weight[N + 1];  // 2^k * T^(N-k)
  double two_k = 1.0;
  for (int k = 0; k <= N; ++k) {
    weight[k] = two_k * t_pow[N - k];
    two_k *= 2.0;
  }
  for (int j = 0; j <= N; ++j) {
    double num = 0.0;
    double den = 0.0;
    for (int k = 0; k <= N; ++k) {
      const double spread = kBilinearMatrix<N>.m[k][j] * weight[k];
      num += B[k] * spread;
      den += A[k] * spread;
    }
    b[j] = num;
    a[j] = den;
  }
}

}  // namespace Ostra
