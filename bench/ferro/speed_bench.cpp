// Speed of Ostra_Ferro_B3 through the VST ABI, fast schedule against the plain
// per-sample reference in the same run:
//   BM_Speed/red/stereo/high/reference   real-time factor ("rtf": seconds of
//       audio per second of wall time) of processReplacing at 44.1 kHz on
//       512-frame blocks of a -20 dBFS 440 Hz sine. reference:0 is the shipped
//       module (loaded from OSTRA_FERRO_B3_PLUGIN_PATH, fast schedule);
//       reference:1 is the same plug-in code linked into this program, set to
//       the plain schedule, called through its own AEffect.
//   BM_CreateOpenClose   VSTPluginMain + effOpen + effClose of the module (the
//       valve curves are already solved in this process).
// Run on an idle machine; --benchmark_repetitions=5
// --benchmark_report_aggregates_only=true gives medians.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "ferro/shell/iplug_ferro.h"
#include "bench/loaded_module.h"
#include "host/vst_host.h"

namespace {

constexpr int kBlock = 512;
constexpr int kRate = 44100;

host::PluginModule& Module() { return bench::LoadedModule(OSTRA_FERRO_B3_PLUGIN_PATH); }

// One second of the tone: exactly 440 periods, so it repeats without a seam.
const std::vector<float>& Tone() {
  static const std::vector<float> tone = [] {
    std::vector<float> t(kRate);
    for (int i = 0; i < kRate; ++i)
      t[i] = static_cast<float>(0.1 * std::sin(2.0 * M_PI * 440.0 * i / kRate));
    return t;
  }();
  return tone;
}

void Configure(vst2::AEffect* e, bool red, bool stereo, bool high) {
  auto dispatch = [e](int32_t op, intptr_t value, float opt) {
    e->dispatcher(e, op, 0, value, nullptr, opt);
  };
  dispatch(vst2::effOpen, 0, 0.0f);
  dispatch(vst2::effSetSampleRate, 0, static_cast<float>(kRate));
  dispatch(vst2::effSetBlockSize, kBlock, 0.0f);
  e->setParameter(e, kOversample, high ? 0.5f : 0.0f);
  e->setParameter(e, kStereo, stereo ? 1.0f : 0.0f);
  e->setParameter(e, kChannel, red ? 1.0f : 0.0f);
  dispatch(vst2::effMainsChanged, 1, 0.0f);
}

void BM_Speed(benchmark::State& state) {
  const bool red = state.range(0) != 0;
  const bool stereo = state.range(1) != 0;
  const bool high = state.range(2) != 0;
  const bool reference = state.range(3) != 0;
  std::unique_ptr<host::PluginInstance> loaded;
  std::unique_ptr<IPlug_Ferro> linked;
  vst2::AEffect* e = nullptr;
  if (reference) {
    linked.reset(new IPlug_Ferro(nullptr));
    linked->UseReferenceSchedule(true);
    e = linked->GetAEffect();
  } else {
    loaded.reset(new host::PluginInstance(Module()));
    e = loaded->effect();
  }
  Configure(e, red, stereo, high);
  std::vector<float> in[2] = {std::vector<float>(kBlock), std::vector<float>(kBlock)};
  std::vector<float> out[2] = {std::vector<float>(kBlock), std::vector<float>(kBlock)};
  float* ins[2] = {in[0].data(), in[1].data()};
  float* outs[2] = {out[0].data(), out[1].data()};
  const std::vector<float>& tone = Tone();
  int position = 0;
  for (auto _ : state) {
    state.PauseTiming();
    for (int i = 0; i < kBlock; ++i) in[0][i] = in[1][i] = tone[(position + i) % kRate];
    position = (position + kBlock) % kRate;
    state.ResumeTiming();
    e->processReplacing(e, ins, outs, kBlock);
    benchmark::DoNotOptimize(out[0].data());
    benchmark::DoNotOptimize(out[1].data());
  }
  state.counters["rtf"] = benchmark::Counter(
      static_cast<double>(state.iterations()) * kBlock / kRate, benchmark::Counter::kIsRate);
}
BENCHMARK(BM_Speed)
    ->ArgNames({"red", "stereo", "high", "reference"})
    ->Args({1, 0, 0, 0})
    ->Args({1, 0, 0, 1})
    ->Args({1, 0, 1, 0})
    ->Args({1, 0, 1, 1})
    ->Args({1, 1, 0, 0})
    ->Args({1, 1, 0, 1})
    ->Args({1, 1, 1, 0})
    ->Args({1, 1, 1, 1})
    ->Args({0, 0, 0, 0})
    ->Args({0, 0, 0, 1})
    ->Unit(benchmark::kMicrosecond)
    ->UseRealTime();

void BM_CreateOpenClose(benchmark::State& state) {
  host::PluginModule& module = Module();
  { host::PluginInstance warm(module); }  // solves the valve curves once
  for (auto _ : state) {
    host::PluginInstance plug(module);
    plug.Open();
    plug.Close();
  }
}
BENCHMARK(BM_CreateOpenClose)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
