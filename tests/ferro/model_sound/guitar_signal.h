// Test signals at the host rate: a plucked string (Karplus-Strong with a
// fixed noise burst, so every run is the same) and a plain sine.
#pragma once

#include <cmath>
#include <cstdint>
#include <vector>

namespace Ostra::test {

inline std::vector<double> PluckedString(double freq, double rate, double seconds, double peak) {
  const int period = static_cast<int>(rate / freq);
  std::vector<double> line(period);
  uint32_t seed = 12345u;
  for (double& v : line) {
    seed = seed * 1664525u + 1013904223u;
    v = (static_cast<double>(seed >> 8) / 16777216.0) * 2.0 - 1.0;
  }
  const int n = static_cast<int>(rate * seconds);
  std::vector<double> out(n);
  double largest = 0.0;
  for (int i = 0; i < n; ++i) {
    const int k = i % period;
    const double next = line[(k + 1) % period];
    out[i] = line[k];
    line[k] = 0.996 * 0.5 * (line[k] + next);
    largest = std::fmax(largest, std::fabs(out[i]));
  }
  for (double& v : out) v *= peak / largest;
  return out;
}

inline double Sine(double amplitude, double freq, double rate, int i) {
  return amplitude * std::sin(2.0 * 3.141592653589793 * freq * i / rate);
}

// Total harmonic distortion (harmonics 2..10 against the fundamental) of a
// block holding a whole number of periods of freq.
inline double Thd(const std::vector<double>& x, double freq, double rate) {
  auto power = [&](double f) {
    double re = 0.0;
    double im = 0.0;
    for (size_t i = 0; i < x.size(); ++i) {
      const double ph = 2.0 * 3.141592653589793 * f * static_cast<double>(i) / rate;
      re += x[i] * std::cos(ph);
      im += x[i] * std::sin(ph);
    }
    return re * re + im * im;
  };
  double harmonics = 0.0;
  for (int h = 2; h <= 10; ++h) harmonics += power(h * freq);
  return std::sqrt(harmonics / power(freq));
}

}  // namespace Ostra::test
