#include "vortan/model/halfband_stage.h"

#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <vector>

namespace vortan {
namespace {

// Amplitude of the component at bin k of x (integer number of cycles).
double amplitude(const std::vector<double>& x, int k) {
  std::complex<double> acc = 0.0;
  const double n = static_cast<double>(x.size());
  for (size_t i = 0; i < x.size(); ++i) acc += x[i] * std::polar(1.0, -2.0 * M_PI * k * i / n);
  return 2.0 * std::abs(acc) / n;
}

template <int N>
void checkLevel(const double (&c)[N], double minRejectionDb) {
  // Low rate: 4410 samples, bins of fs/4410; a tone at bin 100 (about 0.023 fs).
  constexpr int kLen = 4410, kBin = 100;
  HalfbandStage<N> up, down;
  up.setCoefficients(c);
  down.setCoefficients(c);
  std::vector<double> high, low;
  for (int i = 0; i < 3 * kLen; ++i) {
    const float x = static_cast<float>(std::sin(2.0 * M_PI * kBin * i / kLen));
    float o0, o1;
    up.upsample(x, o0, o1);
    const float y = down.downsample(o0, o1);
    if (i >= 2 * kLen) {
      high.push_back(o0);
      high.push_back(o1);
      low.push_back(y);
    }
  }
  // The up-sampled stream carries the tone at unity and hardly its image.
  EXPECT_NEAR(amplitude(high, kBin), 1.0, 1e-3);
  EXPECT_LT(20.0 * std::log10(amplitude(high, kLen - kBin)), -minRejectionDb);
  EXPECT_NEAR(amplitude(low, kBin), 1.0, 1e-3);

  // A high-rate tone above the low-rate Nyquist is rejected by the down-sampler.
  HalfbandStage<N> d2;
  d2.setCoefficients(c);
  std::vector<double> aliased;
  for (int i = 0; i < 3 * kLen; ++i) {
    const double w = 2.0 * M_PI * (kLen - kBin) / (2.0 * kLen);
    const float y = d2.downsample(static_cast<float>(std::sin(w * 2 * i)),
                                  static_cast<float>(std::sin(w * (2 * i + 1))));
    if (i >= 2 * kLen) aliased.push_back(y);
  }
  EXPECT_LT(20.0 * std::log10(amplitude(aliased, kBin)), -minRejectionDb);
}

TEST(HalfbandStage, Level1PassesTheBandAndRejectsTheImage) { checkLevel(kHalfbandLevel1, 90.0); }
TEST(HalfbandStage, Level2PassesTheBandAndRejectsTheImage) { checkLevel(kHalfbandLevel2, 60.0); }
TEST(HalfbandStage, Level3PassesTheBandAndRejectsTheImage) { checkLevel(kHalfbandLevel3, 30.0); }

}  // namespace
}  // namespace vortan
