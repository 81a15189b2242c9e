// The built-in DI riff: repeatable, at a DI level, in tune at any rate.
#include "host/amprender/di_riff.h"

#include <algorithm>
#include <cmath>

#include "gtest/gtest.h"

namespace amprender {
namespace {

double Peak(const std::vector<float>& x) {
  double p = 0.0;
  for (float v : x) p = std::max(p, static_cast<double>(std::fabs(v)));
  return p;
}

TEST(DiRiff, SameSamplesEveryTimeAtAHealthyDiLevel) {
  const std::vector<float> a = SynthesizeDiRiff(44100);
  const std::vector<float> b = SynthesizeDiRiff(44100);
  EXPECT_EQ(a, b);
  EXPECT_NEAR(20.0 * std::log10(Peak(a)), -6.0, 0.01);
  double sum = 0.0;
  for (float v : a) sum += static_cast<double>(v) * v;
  const double rmsDb = 10.0 * std::log10(sum / a.size());
  EXPECT_GT(rmsDb, -30.0);  // a played track, not a few clicks
  EXPECT_LT(rmsDb, -10.0);
  const double seconds = a.size() / 44100.0;
  EXPECT_GT(seconds, 4.0);
  EXPECT_LT(seconds, 15.0);
}

TEST(DiRiff, LastsAsLongAtEveryRate) {
  const size_t at44 = SynthesizeDiRiff(44100).size();
  const std::vector<float> at96 = SynthesizeDiRiff(96000);
  EXPECT_NEAR(at96.size() / 96000.0, at44 / 44100.0, 1e-3);
  EXPECT_NEAR(20.0 * std::log10(Peak(at96)), -6.0, 0.01);
}

// Period of a pluck from the strongest autocorrelation lag near the expected one.
double MeasuredHz(const std::vector<double>& x, int rate, double expectHz) {
  const int expect = static_cast<int>(rate / expectHz);
  const size_t from = static_cast<size_t>(0.05 * rate), len = static_cast<size_t>(0.2 * rate);
  int best = 0;
  double bestSum = -1e300;
  for (int lag = expect * 3 / 4; lag <= expect * 4 / 3; ++lag) {
    double sum = 0.0;
    for (size_t t = from; t < from + len; ++t) sum += x[t] * x[t + static_cast<size_t>(lag)];
    if (sum > bestSum) {
      bestSum = sum;
      best = lag;
    }
  }
  return static_cast<double>(rate) / best;
}

TEST(DiRiff, PlucksAreInTune) {
  for (int rate : {44100, 96000}) {
    for (int note : {40, 64}) {  // E2 (82.4 Hz) and E4 (329.6 Hz)
      Pluck p;
      p.duration = 1.0;
      p.midiNote = note;
      const double hz = 440.0 * std::pow(2.0, (note - 69) / 12.0);
      const double measured = MeasuredHz(RenderPluck(p, rate, 1), rate, hz);
      // One lag step is the resolution: 0.4 % at E4 and 44.1 kHz.
      EXPECT_NEAR(measured / hz, 1.0, 0.005) << "note " << note << " at " << rate;
    }
  }
}

TEST(DiRiff, PalmMutedAndChokedNotesDieAway) {
  Pluck muted;
  muted.duration = 0.2;
  muted.palmMuted = true;
  const std::vector<double> x = RenderPluck(muted, 44100, 3);
  double early = 0.0, late = 0.0;
  for (size_t t = 0; t < 2205; ++t) early = std::max(early, std::fabs(x[t]));
  for (size_t t = x.size() - 2205; t < x.size(); ++t) late = std::max(late, std::fabs(x[t]));
  EXPECT_GT(early, 0.05);
  EXPECT_LT(late, early * 1e-3);  // at least 60 dB down at the end of the note
}

}  // namespace
}  // namespace amprender
