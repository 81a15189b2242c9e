// The whole plug-in, loaded as a host loads it: loud guitar at every valve
// type, bias extreme, quality and channel, and hostile input samples.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "host/vst_host.h"
#include "tests/ferro/model_sound/guitar_signal.h"

namespace {

constexpr int kBlock = 256;
constexpr int kOversample = 4;
constexpr int kChannel = 6;
constexpr int kRedPreGain = 7;
constexpr int kGreenPreGain = 16;
constexpr int kBias = 23;
constexpr int kTubeType = 24;

class FerroSoundHost : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    std::string error;
    module_ = host::PluginModule::Load(OSTRA_FERRO_B3_PLUGIN_PATH, &error).release();
    ASSERT_NE(module_, nullptr) << error;
  }
  static void TearDownTestSuite() {
    delete module_;
    module_ = nullptr;
  }
  static host::PluginModule* module_;
};
host::PluginModule* FerroSoundHost::module_ = nullptr;

// Runs a mono signal through the float callback in blocks; returns the
// largest output magnitude, or infinity if any sample was not finite.
double RunFloat(host::PluginInstance& plug, const std::vector<double>& signal) {
  std::vector<std::vector<float>> in(2, std::vector<float>(kBlock));
  std::vector<std::vector<float>> out(2, std::vector<float>(kBlock));
  double peak = 0.0;
  for (size_t start = 0; start + kBlock <= signal.size(); start += kBlock) {
    for (int i = 0; i < kBlock; ++i) in[0][i] = in[1][i] = static_cast<float>(signal[start + i]);
    plug.ProcessReplacing(in, out);
    for (int c = 0; c < 2; ++c) {
      for (float v : out[c]) {
        if (!std::isfinite(v)) return std::numeric_limits<double>::infinity();
        peak = std::fmax(peak, std::fabs(v));
      }
    }
  }
  return peak;
}

TEST_F(FerroSoundHost, LoudGuitarIsFiniteAndBoundedAtEverySetting) {
  const std::vector<double> pluck = Ostra::test::PluckedString(82.4, 44100.0, 0.3, 1.0);
  host::PluginInstance plug(*module_);
  plug.Open();
  plug.MainsChanged(true);
  plug.SetParameter(kRedPreGain, 1.0f);
  plug.SetParameter(kGreenPreGain, 1.0f);
  for (int quality : {0, 1}) {
    plug.SetParameter(kOversample, quality * 0.5f);
    for (int channel : {0, 1}) {
      plug.SetParameter(kChannel, static_cast<float>(channel));
      for (int type = 0; type < 4; ++type) {
        plug.SetParameter(kTubeType, type / 3.0f);
        for (float bias : {0.0f, 1.0f}) {  // -70 V and -30 V
          plug.SetParameter(kBias, bias);
          const double peak = RunFloat(plug, pluck);
          EXPECT_LT(peak, 30.0) << quality << channel << type << bias;
          EXPECT_GT(peak, 0.01) << quality << channel << type << bias;
        }
      }
    }
  }
}

TEST_F(FerroSoundHost, NonFiniteAndHugeSamplesNeverLeaveTheOutputBroken) {
  const double inf = std::numeric_limits<double>::infinity();
  host::PluginInstance plug(*module_);
  plug.Open();
  plug.MainsChanged(true);
  for (int quality : {0, 1}) {
    plug.SetParameter(kOversample, quality * 0.5f);
    std::vector<double> hostile;
    for (int i = 0; i < 4 * kBlock; ++i) {
      const double pattern[] = {
          std::numeric_limits<double>::quiet_NaN(), inf, -inf, 3e38, -3e38, 1e300, 0.5};
      hostile.push_back(pattern[i % 7]);
    }
    // Through the double callback (the float one cannot carry 1e300).
    std::vector<std::vector<double>> in(2, std::vector<double>(kBlock));
    std::vector<std::vector<double>> out(2, std::vector<double>(kBlock));
    for (size_t start = 0; start < hostile.size(); start += kBlock) {
      for (int i = 0; i < kBlock; ++i) in[0][i] = in[1][i] = hostile[start + i];
      plug.ProcessDouble(in, out);
      for (int c = 0; c < 2; ++c) {
        for (double v : out[c]) ASSERT_TRUE(std::isfinite(v)) << quality;
      }
    }
    std::vector<double> tone;
    for (int i = 0; i < 44100; ++i) tone.push_back(Ostra::test::Sine(0.2, 220.0, 44100.0, i));
    const double peak = RunFloat(plug, tone);
    EXPECT_TRUE(std::isfinite(peak)) << quality;
    EXPECT_GT(peak, 0.01) << quality;
  }
}

}  // namespace
