// Real-time factor of Vortan_v1_1 through its VST 2.4 ABI (processReplacing,
// 44.1 kHz, blocks of 512 frames of a -20 dBFS 440 Hz sine), for the fast
// schedule the plug-in runs and for its plain per-sample reference path
// (selected by VORTAN_REFERENCE_PATH at instance creation), in one run.
// "rtf" is seconds of audio per second of wall time.
// The plug-in file comes from VORTAN_PLUGIN_PATH (set by the build).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "bench/loaded_module.h"
#include "host/vst_host.h"

namespace {

constexpr int kBlock = 512;
constexpr double kRate = 44100.0;
// Parameter indices of the plug-in.
constexpr int kChannel = 1;
constexpr int kLowHighGain = 3;
constexpr int kMonoStereo = 21;
constexpr int kQuality = 22;

host::PluginModule& Module() { return bench::LoadedModule(VORTAN_PLUGIN_PATH); }

// range(0): channel B; range(1): HighQ; range(2): stereo; range(3): reference path.
void BM_Vortan(benchmark::State& state) {
  const bool channelB = state.range(0) != 0;
  const bool highQ = state.range(1) != 0;
  const bool stereo = state.range(2) != 0;
  const bool reference = state.range(3) != 0;
  if (reference) setenv("VORTAN_REFERENCE_PATH", "1", 1);
  host::HostConfig config;
  config.sampleRate = kRate;
  config.blockSize = kBlock;
  host::PluginInstance plug(Module(), config);
  unsetenv("VORTAN_REFERENCE_PATH");
  plug.Open();
  plug.SetSampleRate(static_cast<float>(kRate));
  plug.SetBlockSize(kBlock);
  plug.SetParameter(kChannel, channelB ? 1.0f : 0.0f);
  plug.SetParameter(kLowHighGain, 0.0f);
  plug.SetParameter(kQuality, highQ ? 1.0f : 0.0f);
  plug.SetParameter(kMonoStereo, stereo ? 1.0f : 0.0f);
  plug.MainsChanged(true);
  std::vector<std::vector<float>> in(2, std::vector<float>(kBlock));
  std::vector<std::vector<float>> out(2, std::vector<float>(kBlock));
  // One second of the sine, played in a loop one block after the other (the
  // copy into the block costs nothing beside the amplifier).
  constexpr int kBlocks = 86;
  std::vector<float> sine(kBlocks * kBlock);
  for (size_t i = 0; i < sine.size(); ++i) {
    sine[i] =
        static_cast<float>(0.1 * std::sin(2.0 * M_PI * 440.0 * static_cast<double>(i) / kRate));
  }
  int at = 0;
  auto next = [&] {
    for (auto& channel : in) std::copy_n(&sine[at * kBlock], kBlock, channel.data());
    at = (at + 1) % kBlocks;
  };
  next();
  plug.ProcessReplacing(in, out);  // the design in force before timing
  for (auto _ : state) {
    next();
    plug.ProcessReplacing(in, out);
    benchmark::DoNotOptimize(out[0].data());
    benchmark::ClobberMemory();
  }
  state.counters["rtf"] = benchmark::Counter(
      static_cast<double>(state.iterations()) * kBlock / kRate, benchmark::Counter::kIsRate);
  state.SetLabel(std::string(channelB ? "B" : "A") + (stereo ? " stereo" : " mono") +
                 (highQ ? " HighQ" : " LowQ") + (reference ? " reference" : ""));
}

// channel B, HighQ, stereo, reference: A mono LowQ, A mono HighQ, A stereo
// HighQ and B mono LowQ, each on the fast and on the reference path.
BENCHMARK(BM_Vortan)
    ->ArgNames({"chB", "hq", "stereo", "ref"})
    ->Args({0, 0, 0, 0})
    ->Args({0, 1, 0, 0})
    ->Args({0, 1, 1, 0})
    ->Args({1, 0, 0, 0})
    ->Args({0, 0, 0, 1})
    ->Args({0, 1, 0, 1})
    ->Args({0, 1, 1, 1})
    ->Args({1, 0, 0, 1})
    ->UseRealTime()
    ->Unit(benchmark::kMicrosecond);

}  // namespace
