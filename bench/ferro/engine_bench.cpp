// The Ferro engine pair on its own, without the VST binding: the block entry's
// loop over the engine array (input gain, frame by quality, stereo or mono,
// output gain) at 44.1 kHz on 512-frame blocks of a decaying tone.
//   BM_EngineBlock/quality/stereo/channel   quality 0 LOW (two-times frame),
//                                           1 HIGH (four-times frame)
// Counter "rtf": seconds of audio per second of CPU time (real-time factor).
#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>
#include <vector>

#include "ferro/model/amp_ferro.h"

namespace {

constexpr int kBlock = 512;
constexpr double kHostRate = 44100.0;

void BM_EngineBlock(benchmark::State& state) {
  const bool high = state.range(0) != 0;
  const bool stereo = state.range(1) != 0;
  const int channel = static_cast<int>(state.range(2));
  std::unique_ptr<Ostra::Amp_Ferro[]> engines(new Ostra::Amp_Ferro[2]);
  for (int side = 0; side < 2; ++side) {
    Ostra::Amp_Ferro& e = engines[side];
    e.Initialise(kHostRate * (high ? 4.0 : 2.0));
    e.SetChannel(channel);
    e.UpdateParameters(0.6, 0.5, 0.5, 0.5, 0.5, 0.5, 0.5, 0, 0, false, false, true);
  }
  std::vector<double> in_l(kBlock), in_r(kBlock), out_l(kBlock), out_r(kBlock);
  for (int i = 0; i < kBlock; ++i) {
    const double decay = std::exp(-3.0 * i / kBlock);
    in_l[i] = 0.3 * decay * std::sin(2.0 * M_PI * 110.0 * i / kHostRate);
    in_r[i] = 0.3 * decay * std::sin(2.0 * M_PI * 165.0 * i / kHostRate);
  }
  const double input_gain = 1.0, output_gain = 1.2;
  for (auto _ : state) {
    for (int i = 0; i < kBlock; ++i) {
      double left = in_l[i] * input_gain;
      if (high) {
        engines[0].ProcessOversampled4(left);
      } else {
        engines[0].ProcessOversampled2(left);
      }
      out_l[i] = left * output_gain;
      if (stereo) {
        double right = in_r[i] * input_gain;
        if (high) {
          engines[1].ProcessOversampled4(right);
        } else {
          engines[1].ProcessOversampled2(right);
        }
        out_r[i] = right * output_gain;
      } else {
        out_r[i] = out_l[i];
      }
    }
    benchmark::DoNotOptimize(out_l.data());
    benchmark::DoNotOptimize(out_r.data());
    benchmark::ClobberMemory();
  }
  state.counters["rtf"] = benchmark::Counter(
      static_cast<double>(state.iterations()) * kBlock / kHostRate, benchmark::Counter::kIsRate);
}
BENCHMARK(BM_EngineBlock)
    ->ArgNames({"high", "stereo", "red"})
    ->ArgsProduct({{0, 1}, {0, 1}, {0, 1}})
    ->Unit(benchmark::kMicrosecond);

}  // namespace
