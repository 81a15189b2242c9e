// Instance creation of Ostra_Ferro_B3 and the costs inside it.
//   BM_SolveTriode          one stage's operating point and 2000 load-line
//                           solutions, from scratch (what the first instance
//                           of a process pays for each of its five circuits)
//   BM_CreateOpenClose      VSTPluginMain + effOpen + effClose through the
//                           host library; the valve curves are already solved
//                           in this process, so this is the cost of every
//                           instance after the first
//   BM_Block                the block entry through the double-precision
//                           callback: real-time factor ("rtf": seconds of audio
//                           per second of wall time) per quality, mono/stereo
//                           and channel, 512-frame blocks of a decaying tone
// The plug-in file comes from OSTRA_FERRO_B3_PLUGIN_PATH (set by the build).
#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "ferro/model/triode_stage.h"
#include "bench/loaded_module.h"
#include "host/vst_host.h"

namespace {

host::PluginModule& Module() { return bench::LoadedModule(OSTRA_FERRO_B3_PLUGIN_PATH); }

void BM_SolveTriode(benchmark::State& state) {
  auto solution = std::make_unique<Ostra::TriodeSolution>();
  for (auto _ : state) {
    Ostra::SolveTriode(340.0, 215000.0, 1820.0, 150000.0, solution.get());
    benchmark::DoNotOptimize(solution->curve[0]);
  }
}
BENCHMARK(BM_SolveTriode)->Unit(benchmark::kMillisecond);

void BM_CreateOpenClose(benchmark::State& state) {
  host::PluginModule& module = Module();
  { host::PluginInstance warm(module); }  // solves the valve curves once
  for (auto _ : state) {
    host::PluginInstance plug(module);
    plug.Open();
    plug.Close();
  }
}
BENCHMARK(BM_CreateOpenClose)->Unit(benchmark::kMillisecond);

constexpr int kBlock = 512;
constexpr double kRate = 44100.0;
constexpr int kOversample = 4;  // parameter indices
constexpr int kStereo = 5;
constexpr int kChannel = 6;

void BM_Block(benchmark::State& state) {
  const int quality = static_cast<int>(state.range(0));  // 0 LOW, 1 HIGH
  const bool stereo = state.range(1) != 0;
  const bool red = state.range(2) != 0;
  host::PluginInstance plug(Module());
  plug.Open();
  plug.SetParameter(kOversample, quality * 0.5f);
  plug.SetParameter(kStereo, stereo ? 1.0f : 0.0f);
  plug.SetParameter(kChannel, red ? 1.0f : 0.0f);
  plug.MainsChanged(true);
  std::vector<std::vector<double>> in(2, std::vector<double>(kBlock));
  std::vector<std::vector<double>> out(2, std::vector<double>(kBlock));
  for (int i = 0; i < kBlock; ++i) {
    const double decay = std::exp(-3.0 * i / kBlock);
    in[0][i] = 0.3 * decay * std::sin(2.0 * M_PI * 110.0 * i / kRate);
    in[1][i] = 0.3 * decay * std::sin(2.0 * M_PI * 165.0 * i / kRate);
  }
  plug.ProcessDouble(in, out);
  for (auto _ : state) {
    plug.ProcessDouble(in, out);
    benchmark::DoNotOptimize(out[0].data());
    benchmark::DoNotOptimize(out[1].data());
  }
  state.counters["rtf"] = benchmark::Counter(
      static_cast<double>(state.iterations()) * kBlock / kRate, benchmark::Counter::kIsRate);
}
BENCHMARK(BM_Block)
    ->ArgNames({"high", "stereo", "red"})
    ->ArgsProduct({{0, 1}, {0, 1}, {0, 1}})
    ->Unit(benchmark::kMicrosecond);

}  // namespace
