// One thread plays audio while another automates parameters, switches
// programs, changes the quality and loads chunks, as hosts do from their
// GUI or automation threads, and a third reads the values for display. Run
// under ThreadSanitizer it must report no race.
#include <atomic>
#include <chrono>
#include <cmath>
#include <thread>
#include <vector>

#include "tests/host/vortan/vortan_host_fixture.h"

namespace vortan_host {
namespace {

TEST_F(VortanHost, ChangesWhileAudioRunsAreRaceFree) {
  plugin->SetSampleRate(44100.0f);
  plugin->MainsChanged(true);
  const std::vector<uint8_t> bank = plugin->GetChunk(false);
  plugin->SetParameter(21, 1.0f);  // stereo
  const std::vector<uint8_t> program = plugin->GetChunk(true);

  std::atomic<bool> done{false};
  std::atomic<bool> finite{true};
  std::atomic<int> blocks{0};
  std::thread audio([&] {
    std::vector<std::vector<float>> in(2, std::vector<float>(128)), out(2, std::vector<float>(128));
    int block = 0;
    while (!done.load()) {
      for (int i = 0; i < 128; ++i) {
        in[0][i] = in[1][i] = static_cast<float>(0.3 * std::sin(0.05 * (block * 128 + i)));
      }
      plugin->ProcessReplacing(in, out);
      for (int i = 0; i < 128; ++i) {
        if (!std::isfinite(out[0][i]) || !std::isfinite(out[1][i])) finite.store(false);
      }
      ++block;
      blocks.store(block);
    }
  });
  // A host's GUI thread showing the values meanwhile.
  std::thread display([&] {
    while (!done.load()) {
      for (int index = 0; index < 23; ++index) {
        const float v = plugin->GetParameter(index);
        if (!(v >= 0.0f && v <= 1.0f)) finite.store(false);
        plugin->ParamDisplay(index);
      }
    }
  });
  while (blocks.load() == 0) std::this_thread::yield();
  const int blocksBefore = blocks.load();

  for (int round = 0; round < 60; ++round) {
    for (int index = 0; index < 23; ++index) {
      plugin->SetParameter(index, static_cast<float>((round * 7 + index * 3) % 11) / 10.0f);
    }
    plugin->Dispatch(vst2::effSetProgram, 0, round % 10);
    if (round % 3 == 0) {
      EXPECT_EQ(plugin->SetChunk(bank, false), 1);
    } else if (round % 3 == 1) {
      EXPECT_EQ(plugin->SetChunk(program, true), 1);
    }
    plugin->SetParameter(22, static_cast<float>(round % 2));  // LowQ/HighQ
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  const int blocksDuring = blocks.load() - blocksBefore;
  done.store(true);
  audio.join();
  display.join();
  EXPECT_TRUE(finite.load());
  EXPECT_GT(blocksDuring, 10) << "the changes overlapped running audio";
}

}  // namespace
}  // namespace vortan_host
