// The preamp chains and the power amplifier inside the whole engine, through
// its oversampling frames.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <memory>
#include <vector>

#include "ferro/model/amp_ferro.h"
#include "tests/ferro/model_sound/guitar_signal.h"

namespace Ostra {
namespace {

constexpr double kHostRate = 44100.0;

struct Knobs {
  int channel = 0;
  double pre_gain = 0.5;
  double post_gain = 0.5;
  bool crunch = false;
  bool lead_mod = true;
  int valve = 0;
  double bias = -51.0;
  int factor = 2;  // oversampling
};

std::unique_ptr<Amp_Ferro> MakeEngine(const Knobs& k) {
  auto amp = std::make_unique<Amp_Ferro>();
  amp->Initialise(kHostRate * k.factor);
  amp->SetChannel(k.channel);
  amp->UpdateParameters(k.pre_gain, k.post_gain, 0.5, 0.5, 0.5, 0.5, 0.5, 0, k.crunch ? 1 : 0,
                        false, false, k.lead_mod);
  amp->power_amp().SetValveType(k.valve);
  amp->power_amp().SetBias(k.bias);
  for (int i = 0; i < 4000; ++i) {  // settle the chain, as a channel switch does
    double z = 0.0;
    amp->ProcessOversampled2(z);
  }
  return amp;
}

void RunFrame(Amp_Ferro& amp, int factor, double& s) {
  if (factor == 2) {
    amp.ProcessOversampled2(s);
  } else {
    amp.ProcessOversampled4(s);
  }
}

TEST(AmpFerroSound, SilenceSettlesToATinyConstant) {
  for (int channel : {0, 1}) {
    Knobs k;
    k.channel = channel;
    auto amp = MakeEngine(k);
    double last = 0.0;
    double s = 0.0;
    for (int i = 0; i < 44100; ++i) {
      last = s;
      s = 0.0;
      amp->ProcessOversampled2(s);
    }
    EXPECT_LT(std::fabs(s), 1e-6) << channel;
    EXPECT_NEAR(s, last, 1e-9) << channel;
  }
}

TEST(AmpFerroSound, ChannelSwitchContinuesTheSharedInputStage) {
  Knobs k;
  k.channel = 1;
  auto amp = MakeEngine(k);
  const std::vector<double> pluck = test::PluckedString(110.0, kHostRate, 0.1, 0.5);
  for (double v : pluck) amp->ProcessOversampled2(v);
  const TriodeStage& input = amp->preamp_stages().input;
  const double vk = input.Vk;
  const double ic = input.iC;
  amp->SetChannel(0);
  EXPECT_EQ(input.Vk, vk);
  EXPECT_EQ(input.iC, ic);
  double s = 0.1;
  amp->ProcessOversampled2(s);
  EXPECT_NE(input.Vk, vk);
}

// THD of a 441 Hz sine of 10 mV (a soft pick) at the engine input.
double MeasureThd(const Knobs& k) {
  auto amp = MakeEngine(k);
  const double f = 441.0;  // 100 samples per period at 44.1 kHz
  std::vector<double> tail;
  for (int i = 0; i < 44100; ++i) {
    double s = test::Sine(0.01, f, kHostRate, i);
    RunFrame(*amp, k.factor, s);
    if (i >= 44100 - 4410) tail.push_back(s);
  }
  return test::Thd(tail, f, kHostRate);
}

TEST(AmpFerroSound, RedDistortsFarMoreThanGreenClean) {
  Knobs clean;
  clean.pre_gain = 0.3;
  Knobs crunch;
  crunch.pre_gain = 0.7;
  crunch.crunch = true;
  const double thd_clean = MeasureThd(clean);
  const double thd_crunch = MeasureThd(crunch);
  std::printf("THD, 441 Hz at 10 mV: GREEN clean (PreGain 0.3) %.2f %%, crunch (0.7) %.2f %%\n",
              100 * thd_clean, 100 * thd_crunch);
  double thd_red_high = 0.0;
  for (double g : {0.2, 0.5, 0.8, 1.0}) {
    Knobs red;
    red.channel = 1;
    red.pre_gain = g;
    const double thd = MeasureThd(red);
    std::printf("THD, 441 Hz at 10 mV: RED PreGain %.1f %.2f %%\n", g, 100 * thd);
    if (g == 1.0) thd_red_high = thd;
  }
  EXPECT_LT(thd_clean, 0.05);
  EXPECT_GT(thd_crunch, 3.0 * thd_clean);
  EXPECT_GT(thd_red_high, 0.3);
}

}  // namespace
}  // namespace Ostra
