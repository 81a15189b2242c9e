// The convolver against a direct convolution computed in double precision,
// its latency, its independence from the caller's block sizes, and its
// real-time behaviour.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <random>

#include "host/cabinet/cabinet.h"
#include "tests/support/allocation_count.h"

namespace {

std::vector<float> Noise(size_t frames, unsigned seed, float decayPerSample = 0.0f) {
  std::mt19937 rng(seed);
  std::uniform_real_distribution<float> u(-1.0f, 1.0f);
  std::vector<float> v(frames);
  for (size_t n = 0; n < frames; ++n) v[n] = u(rng) * std::exp(-decayPerSample * n);
  return v;
}

std::unique_ptr<cabinet::Cabinet> Make(std::vector<std::vector<float>> channels,
                                       const cabinet::CabinetConfig& config) {
  cabinet::ImpulseResponse ir;
  ir.sampleRate = config.sampleRate;
  ir.channels = std::move(channels);
  ir.source = "test IR";
  std::string error;
  auto cab = cabinet::Cabinet::FromImpulse(std::move(ir), &error);
  EXPECT_TRUE(cab) << error;
  if (cab) {
    EXPECT_TRUE(cab->Prepare(config, &error)) << error;
  }
  return cab;
}

// Runs `input` (one channel per cabinet input) through the cabinet in blocks
// cycling through `blocks`, followed by latency frames of silence; returns
// each output with the latency taken out.
std::vector<std::vector<float>> RunBlocks(cabinet::Cabinet& cab,
                                          std::vector<std::vector<float>> input, int outputs,
                                          const std::vector<int>& blocks) {
  const size_t frames = input[0].size();
  for (auto& ch : input) ch.resize(frames + cab.latency(), 0.0f);
  std::vector<std::vector<float>> out(outputs, std::vector<float>(input[0].size()));
  size_t done = 0;
  for (size_t b = 0; done < input[0].size(); ++b) {
    const int n =
        static_cast<int>(std::min<size_t>(blocks[b % blocks.size()], input[0].size() - done));
    std::vector<const float*> in;
    std::vector<float*> o;
    for (auto& ch : input) in.push_back(ch.data() + done);
    for (auto& ch : out) o.push_back(ch.data() + done);
    cab.Process(in.data(), o.data(), n);
    done += n;
  }
  for (auto& ch : out) ch.erase(ch.begin(), ch.begin() + cab.latency());
  return out;
}

// The largest difference from the direct convolution of x with h, in dB
// relative to the direct result's peak.
double ErrorDb(const std::vector<float>& y, const std::vector<float>& x,
               const std::vector<float>& h) {
  double peak = 0.0, err = 0.0;
  for (size_t n = 0; n < y.size(); ++n) {
    double s = 0.0;
    for (size_t k = 0; k < h.size() && k <= n; ++k) s += static_cast<double>(h[k]) * x[n - k];
    peak = std::max(peak, std::fabs(s));
    err = std::max(err, std::fabs(s - y[n]));
  }
  return 20 * std::log10(std::max(err, 1e-300) / peak);
}

TEST(CabinetConvolution, MatchesADirectConvolutionWithinMinus120DbWhateverTheBlocks) {
  cabinet::CabinetConfig config;
  config.sampleRate = 48000;
  config.maxBlock = 1000;
  auto cab = Make({Noise(300, 1, 0.01f)}, config);
  ASSERT_TRUE(cab);
  EXPECT_EQ(cab->latency(), 1024);
  const std::vector<float> x = Noise(3000, 2);
  const auto a = RunBlocks(*cab, {x}, 1, {1, 7, 64, 333, 1000});
  EXPECT_LT(ErrorDb(a[0], x, cab->prepared().channels[0]), -120.0);
  cab->Reset();
  const auto b = RunBlocks(*cab, {x}, 1, {1000});
  EXPECT_EQ(a[0], b[0]) << "the output depends on the caller's block sizes";
}

TEST(CabinetConvolution, ALongIrIsExactAndEveryOfflineRenderIsTheSame) {
  // Twenty partitions; a fresh cabinet and a reset one give the same bits.
  cabinet::CabinetConfig config;
  config.sampleRate = 48000;
  config.maxBlock = 256;
  auto cab = Make({Noise(20000, 3, 2e-4f)}, config);
  ASSERT_TRUE(cab);
  const std::vector<float> x = Noise(24000, 4);
  const auto y = RunBlocks(*cab, {x}, 1, {256});
  EXPECT_LT(ErrorDb(y[0], x, cab->prepared().channels[0]), -120.0);
  cab->Reset();
  EXPECT_EQ(RunBlocks(*cab, {x}, 1, {256})[0], y[0]) << "two offline renders differ";
  auto fresh = Make({Noise(20000, 3, 2e-4f)}, config);
  ASSERT_TRUE(fresh);
  EXPECT_EQ(RunBlocks(*fresh, {x}, 1, {100})[0], y[0]) << "two offline renders differ";
}

TEST(CabinetConvolution, ALiveCabinetWithWorkerThreadsStartsResetsAndStopsCleanly) {
  // Blocks come faster than real time here, so the workers fall behind: the
  // convolver must go on (and stop) all the same.
  for (int round = 0; round < 2; ++round) {
    cabinet::CabinetConfig config;
    config.sampleRate = 48000;
    config.maxBlock = 256;
    config.exactBlocks = true;
    config.offline = false;
    auto cab = Make({Noise(40000, 11, 1e-4f)}, config);
    ASSERT_TRUE(cab);
    const std::vector<float> x = Noise(256 * 40, 12);
    RunBlocks(*cab, {x}, 1, {256});
    if (round == 1) {
      cab->Reset();
      RunBlocks(*cab, {x}, 1, {256});
    }
  }
}

TEST(CabinetConvolution, ExactBlocksRunWithoutLatencyAndStereoRoutesEachChannel) {
  cabinet::CabinetConfig config;
  config.sampleRate = 48000;
  config.maxBlock = 128;
  config.exactBlocks = true;
  config.outputs = 2;
  const std::vector<float> left = Noise(200, 5, 0.02f), right = Noise(200, 6, 0.03f);
  auto mono = Make({left, right}, config);  // one input into a stereo IR
  ASSERT_TRUE(mono);
  EXPECT_EQ(mono->latency(), 0);
  const std::vector<float> x = Noise(1280, 7);
  const auto y = RunBlocks(*mono, {x}, 2, {128});
  const auto& ir = mono->prepared().channels;
  EXPECT_LT(ErrorDb(y[0], x, ir[0]), -120.0);
  EXPECT_LT(ErrorDb(y[1], x, ir[1]), -120.0);

  config.inputs = 2;
  auto stereo = Make({left, right}, config);
  ASSERT_TRUE(stereo);
  const std::vector<float> x2 = Noise(1280, 8);
  const auto z = RunBlocks(*stereo, {x, x2}, 2, {128});
  EXPECT_LT(ErrorDb(z[0], x, stereo->prepared().channels[0]), -120.0);
  EXPECT_LT(ErrorDb(z[1], x2, stereo->prepared().channels[1]), -120.0);

  std::string error;
  config.maxBlock = 100;  // not a power of two
  EXPECT_FALSE(stereo->Prepare(config, &error));
}

TEST(CabinetConvolution, ProcessAllocatesNothingAndABadSampleDoesNotPoisonTheHistory) {
  std::string error;
  auto cab = cabinet::Cabinet::Load("4x12-closed", &error);
  ASSERT_TRUE(cab) << error;
  cabinet::CabinetConfig config;
  config.sampleRate = 48000;
  config.maxBlock = 512;
  config.inputs = config.outputs = 2;
  ASSERT_TRUE(cab->Prepare(config, &error)) << error;
  std::vector<float> l = Noise(512, 9), r = Noise(512, 10), ol(512), orr(512);
  l[3] = NAN;
  r[7] = INFINITY;
  const float* in[] = {l.data(), r.data()};
  float* out[] = {ol.data(), orr.data()};
  const long before = valve_test::AllocationCount();
  for (int i = 0; i < 40; ++i) cab->Process(in, out, i % 2 ? 512 : 97);
  if (valve_test::CountsAllocations()) {
    EXPECT_EQ(valve_test::AllocationCount(), before);
  }
  for (int i = 0; i < 600; ++i) {
    for (float v : ol) ASSERT_TRUE(std::isfinite(v));
    for (float v : orr) ASSERT_TRUE(std::isfinite(v));
    cab->Process(in, out, 512);
  }
}

}  // namespace
