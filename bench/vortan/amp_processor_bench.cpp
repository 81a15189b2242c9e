// Real-time factor of the amplifier model: seconds of audio processed per
// second of CPU time ("rtf" counter), per quality, host rate, channel and
// mono/stereo. Blocks of 512 frames of a decaying guitar-like tone.
#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

#include "vortan/model/amp_processor.h"

namespace {

constexpr int kBlock = 512;

void BM_AmpProcessor(benchmark::State& state) {
  const double rate = static_cast<double>(state.range(0));
  const bool highQuality = state.range(1) != 0;
  const bool stereo = state.range(2) != 0;
  const bool channelB = state.range(3) != 0;

  vortan::AmpProcessor amp;
  vortan::EngineControls& c = amp.controls();
  amp.setSampleRate(rate);
  c.setSwitch(vortan::EngineParam::kQuality, highQuality);
  c.setSwitch(vortan::EngineParam::kMonoStereo, stereo);
  c.setSwitch(vortan::EngineParam::kChannel, channelB);
  c.setSwitch(vortan::EngineParam::kLowHighGain, channelB);

  std::vector<float> inL(kBlock), inR(kBlock), outL(kBlock), outR(kBlock);
  for (int i = 0; i < kBlock; ++i) {
    inL[i] = static_cast<float>(0.3 * std::sin(2.0 * M_PI * 110.0 * i / rate));
    inR[i] = static_cast<float>(0.3 * std::sin(2.0 * M_PI * 165.0 * i / rate));
  }
  amp.process(inL.data(), inR.data(), outL.data(), outR.data(), kBlock);  // applies the design

  for (auto _ : state) {
    amp.process(inL.data(), inR.data(), outL.data(), outR.data(), kBlock);
    benchmark::DoNotOptimize(outL.data());
    benchmark::DoNotOptimize(outR.data());
    benchmark::ClobberMemory();
  }
  state.counters["rtf"] = benchmark::Counter(
      static_cast<double>(state.iterations()) * kBlock / rate, benchmark::Counter::kIsRate);
  state.counters["F"] = amp.factor();
}

// rate, high quality, stereo, channel B
BENCHMARK(BM_AmpProcessor)
    ->ArgNames({"rate", "hq", "stereo", "chB"})
    ->ArgsProduct({{44100, 96000}, {0, 1}, {0, 1}, {0, 1}})
    ->Unit(benchmark::kMicrosecond);

}  // namespace
