// A sloppy but legal host: four threads of its own (automation, program and
// chunk loads, chunk saves, names and displays) against one instance while
// audio runs. Nothing may crash, no sample may go non-finite, every value
// read lies in 0..1 and every saved chunk loads back; run under
// ThreadSanitizer (.ci/stages/20-tsan.sh) it must report no race.
// VALVE_STRESS_SECONDS sets the time per plug-in (default 2).
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "host/vst_host.h"

namespace {

double StressSeconds() {
  const char* text = std::getenv("VALVE_STRESS_SECONDS");
  const double seconds = text ? std::atof(text) : 0.0;
  return seconds > 0.0 ? seconds : 2.0;
}

void Stress(const char* path, float otherRate) {
  std::string error;
  auto module = host::PluginModule::Load(path, &error);
  ASSERT_TRUE(module) << error;
  host::PluginInstance p(*module);
  ASSERT_TRUE(p.ok());
  p.Open();
  p.SetSampleRate(44100.0f);
  p.MainsChanged(true);
  const int nParams = p.effect()->numParams;
  const int nPrograms = p.effect()->numPrograms;
  const std::vector<uint8_t> bank = p.GetChunk(false);
  const std::vector<uint8_t> program = p.GetChunk(true);

  std::atomic<bool> done{false};
  std::atomic<int> faults{0};
  std::atomic<long> blocks{0};
  auto fault = [&](bool bad) {
    if (bad) faults.fetch_add(1);
  };
  std::vector<std::thread> threads;
  threads.emplace_back([&] {  // audio
    std::vector<std::vector<float>> in(2, std::vector<float>(128)), out(2, std::vector<float>(128));
    for (long block = 0; !done.load(); ++block) {
      for (int i = 0; i < 128; ++i)
        in[0][i] = in[1][i] = static_cast<float>(0.3 * std::sin(0.05 * (block * 128 + i)));
      p.ProcessReplacing(in, out);
      for (int i = 0; i < 128; ++i) fault(!std::isfinite(out[0][i]) || !std::isfinite(out[1][i]));
      blocks.store(block + 1);
    }
  });
  threads.emplace_back([&] {  // automation
    for (unsigned n = 1; !done.load(); ++n) {
      p.SetParameter(static_cast<int>(n % static_cast<unsigned>(nParams)),
                     static_cast<float>((n * 7919u) % 101u) / 100.0f);
    }
  });
  threads.emplace_back([&] {  // program and chunk loads, names, the odd rate change
    char name[] = "Stress name";
    for (int n = 0; !done.load(); ++n) {
      p.Dispatch(vst2::effSetProgram, 0, n % nPrograms);
      fault(p.SetChunk(n % 2 ? program : bank, n % 2 != 0) != 1);
      p.Dispatch(vst2::effSetProgramName, 0, 0, name);
      if (n % 50 == 0) p.SetSampleRate(n % 100 ? otherRate : 44100.0f);
      std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
  });
  threads.emplace_back([&] {  // saves: the host copies what it was handed
    for (int n = 0; !done.load(); ++n) {
      const std::vector<uint8_t> saved = p.GetChunk(n % 2 != 0);
      fault(saved.empty());
      if (n % 16 == 0) fault(p.SetChunk(saved, n % 2 != 0) != 1);  // and restores it
    }
  });
  threads.emplace_back([&] {  // names and displays
    while (!done.load()) {
      for (int i = 0; i < nParams; ++i) {
        const float v = p.GetParameter(i);
        fault(!(v >= 0.0f && v <= 1.0f));
        p.ParamDisplay(i);
      }
      fault(p.ProgramName().size() >= vst2::kMaxProgNameLen);
      char text[vst2::kMaxProgNameLen + 8] = {};
      for (int i = 0; i < nPrograms; ++i)
        p.Dispatch(vst2::effGetProgramNameIndexed, i, 0, text);
    }
  });
  while (blocks.load() == 0) std::this_thread::yield();
  std::this_thread::sleep_for(std::chrono::duration<double>(StressSeconds()));
  done.store(true);
  for (std::thread& t : threads) t.join();
  EXPECT_EQ(faults.load(), 0);
  EXPECT_GT(blocks.load(), 10);
  // What the storm left behind still saves and loads.
  EXPECT_EQ(p.SetChunk(p.GetChunk(false), false), 1);
}

TEST(HostThreadsStress, Ferro) { Stress(OSTRA_FERRO_B3_PLUGIN_PATH, 48000.0f); }
TEST(HostThreadsStress, Vortan) { Stress(VORTAN_V1_1_PLUGIN_PATH, 48000.0f); }

}  // namespace
