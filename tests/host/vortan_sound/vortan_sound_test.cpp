#include <cmath>
#include <limits>
#include <vector>

#include "tests/host/vortan/vortan_host_fixture.h"

namespace vortan_host {
namespace {

using Channels = std::vector<std::vector<float>>;

constexpr int kVolume = 20;
constexpr int kMonoStereo = 21;
constexpr int kQuality = 22;
constexpr int kChannel = 1;
constexpr int kLowHighGain = 3;
constexpr int kInput = 0;
constexpr int kCleanCrunch = 2;
constexpr int kChaDrive = 4, kChaBottom = 10, kChaBright = 11;
constexpr int kChbDrive = 12, kChbBottom = 18, kChbBright = 19;

Channels Riff(size_t frames, double level = 0.3) {
  Channels in(2, std::vector<float>(frames));
  for (size_t i = 0; i < frames; ++i) {
    const double t = static_cast<double>(i) / 44100.0;
    const double env = std::exp(-3.0 * std::fmod(t, 0.5));
    in[0][i] = static_cast<float>(level * env * std::sin(2.0 * M_PI * 82.4 * t));
    in[1][i] = static_cast<float>(level * env * std::sin(2.0 * M_PI * 123.5 * t));
  }
  return in;
}

// Runs the whole input through processReplacing in blocks of the given size.
Channels Process(host::PluginInstance& p, const Channels& in, size_t block) {
  const size_t frames = in[0].size();
  Channels out(2, std::vector<float>(frames));
  for (size_t at = 0; at < frames; at += block) {
    const size_t n = std::min(block, frames - at);
    Channels bin(2), bout(2, std::vector<float>(n));
    for (int c = 0; c < 2; ++c) bin[c].assign(in[c].begin() + at, in[c].begin() + at + n);
    p.ProcessReplacing(bin, bout);
    for (int c = 0; c < 2; ++c) std::copy(bout[c].begin(), bout[c].end(), out[c].begin() + at);
  }
  return out;
}

double Peak(const std::vector<float>& x, size_t from = 0) {
  double p = 0.0;
  for (size_t i = from; i < x.size(); ++i) p = std::max(p, std::fabs(static_cast<double>(x[i])));
  return p;
}

// Started as a host starts it (effOpen, rate, block size, quality, resume), a
// fresh instance is silent on silence from its first sample, in both
// channels: every triode stage starts where its own step holds still.
TEST_F(VortanHost, SilenceAfterStartStaysBelowMinus100DbFromTheFirstSample) {
  for (float rate : {44100.0f, 48000.0f, 88200.0f, 96000.0f}) {
    for (int mode = 0; mode < 4; ++mode) {
      auto p = NewInstance();
      p->SetSampleRate(rate);
      p->SetBlockSize(512);
      p->SetParameter(kQuality, mode & 1 ? 1.0f : 0.0f);
      p->SetParameter(kChannel, mode & 2 ? 1.0f : 0.0f);
      p->MainsChanged(true);
      const Channels out =
          Process(*p, Channels(2, std::vector<float>(static_cast<size_t>(rate * 0.3f))), 512);
      EXPECT_LT(std::max(Peak(out[0]), Peak(out[1])), 1e-5) << rate << " mode " << mode;
    }
  }
}

// Every channel mode at both qualities and two rates, all drive and
// voicing switches up: audible, bounded.
TEST_F(VortanHost, EveryModeQualityAndRatePlaysBounded) {
  for (int mode = 0; mode < 16; ++mode) {
    auto p = NewInstance();
    p->SetSampleRate(mode & 8 ? 96000.0f : 44100.0f);
    p->SetParameter(kQuality, mode & 4 ? 1.0f : 0.0f);
    p->SetParameter(kChannel, mode & 2 ? 1.0f : 0.0f);
    p->SetParameter(mode & 2 ? kLowHighGain : kCleanCrunch, mode & 1 ? 1.0f : 0.0f);
    for (int index : {kInput, kChaDrive, kChbDrive, kChaBottom, kChaBright, kChbBottom, kChbBright})
      p->SetParameter(index, 1.0f);
    p->MainsChanged(true);
    const double peak = Peak(Process(*p, Riff(12000, 1.0), 512)[0], 4096);
    EXPECT_GT(peak, 1e-3) << "mode " << mode;
    EXPECT_LT(peak, 100.0) << "mode " << mode;
  }
}

TEST_F(VortanHost, BadInputNeverGivesNonFiniteOutput) {
  plugin->SetParameter(kMonoStereo, 1.0f);
  plugin->SetParameter(kChannel, 1.0f);
  plugin->SetParameter(kLowHighGain, 1.0f);
  plugin->SetParameter(kInput, 1.0f);
  Channels in = Riff(20000);
  const float bad[] = {std::numeric_limits<float>::quiet_NaN(),
                       std::numeric_limits<float>::infinity(),
                       -std::numeric_limits<float>::infinity(),
                       3e38f,
                       -1e25f,
                       1e6f};
  for (size_t i = 0; i < 4000; ++i) {
    in[0][i] = bad[i % 6];
    in[1][i] = bad[(i + 1) % 6];
  }
  const Channels out = Process(*plugin, in, 1000);
  for (int c = 0; c < 2; ++c) {
    for (size_t i = 0; i < out[c].size(); ++i)
      ASSERT_TRUE(std::isfinite(out[c][i])) << c << " " << i;
    EXPECT_GT(Peak(out[c], 12000), 1e-3) << "sound returns after the bad samples";
  }
}

TEST_F(VortanHost, VolumeZeroIsExactSilence) {
  plugin->SetParameter(kMonoStereo, 1.0f);
  plugin->SetParameter(kVolume, 0.0f);
  const Channels out = Process(*plugin, Riff(8192, 2.0), 256);
  EXPECT_EQ(Peak(out[0]), 0.0);
  EXPECT_EQ(Peak(out[1]), 0.0);
}

TEST_F(VortanHost, MonoPlaysTheLeftInputOnBothOutputs) {
  Channels rightOnly = Riff(16384);
  std::fill(rightOnly[0].begin(), rightOnly[0].end(), 0.0f);
  const Channels mono = Process(*plugin, rightOnly, 512);
  EXPECT_EQ(mono[0], mono[1]);
  EXPECT_LT(Peak(mono[0], 8192), 1e-3) << "the right input is ignored";

  auto stereo = NewInstance();
  stereo->SetParameter(kMonoStereo, 1.0f);
  const Channels both = Process(*stereo, rightOnly, 512);
  EXPECT_LT(Peak(both[0], 8192), 1e-3);
  EXPECT_GT(Peak(both[1], 8192), 1e-2) << "stereo plays the right input on the right";
}

TEST_F(VortanHost, OutputIsTheSameForEveryBlockSize) {
  const Channels in = Riff(12000);
  auto Render = [&](size_t block) {
    auto p = NewInstance();
    p->SetParameter(kMonoStereo, 1.0f);
    p->SetParameter(kQuality, 1.0f);
    return Process(*p, in, block);
  };
  const Channels expected = Render(4096);
  for (size_t block : {1u, 7u, 64u}) {
    const Channels out = Render(block);
    EXPECT_EQ(out[0], expected[0]) << block;
    EXPECT_EQ(out[1], expected[1]) << block;
  }
}

}  // namespace
}  // namespace vortan_host
