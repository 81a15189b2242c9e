// Threads around the editor, for ThreadSanitizer (.ci/stages/20-tsan.sh):
// host automation, audio and repainting at the same time, and the
// editor opened and closed while automation keeps arriving.
#include <gtest/gtest.h>

#include <atomic>
#include <random>
#include <thread>
#include <vector>

#include "tests/vortan/editor/editor_fixture.h"

namespace vortan {
namespace {

using SDEditorThreads = EditorFixture;

// Random values for every parameter, mode switches included, so recalls move
// whole rows of knobs while the painter reads them.
void Automate(vst2::AEffect* effect, const std::atomic<bool>& stop, std::atomic<int>* count) {
  std::mt19937 random(11);
  std::uniform_int_distribution<int32_t> index(0, 22);
  std::uniform_real_distribution<float> value(0.0f, 1.0f);
  while (!stop.load()) {
    effect->setParameter(effect, index(random), value(random));
    count->fetch_add(1);
  }
}

TEST_F(SDEditorThreads, AutomationAudioAndRepaintOnThreeThreads) {
  ASSERT_TRUE(Open());
  std::atomic<bool> stop{false};
  std::atomic<int> changes{0}, blocks{0}, paints{0};
  std::thread audio([&] {
    std::vector<float> inL(64, 0.1f), inR(64, -0.1f), outL(64), outR(64);
    float* in[2] = {inL.data(), inR.data()};
    float* out[2] = {outL.data(), outR.data()};
    while (!stop.load()) {
      effect->processReplacing(effect, in, out, 64);
      blocks.fetch_add(1);
    }
  });
  std::thread painter([&] {
    while (!stop.load()) {
      window->Tick();
      paints.fetch_add(1);
    }
  });
  std::thread host([&] { Automate(effect, stop, &changes); });
  while (changes.load() < 20000 || paints.load() < 50 || blocks.load() < 200) {
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  stop.store(true);
  host.join();
  painter.join();
  audio.join();
  // Whatever the order of events, the last paint shows the final values.
  window->Tick();
  for (int i = 0; i < kPanelControlCount; ++i) {
    EXPECT_EQ(editor->control(i)->getValue(), GetParameter(kPanelControls[i].tag)) << i;
  }
}

// The plug-in tells its editor of changes on whatever thread made them; here
// those notifications race the host's editor thread opening and closing the
// window. (The plug-in's own values are not written meanwhile: reading them
// while another thread writes is the plug-in's storage question, not the
// editor's.)
TEST_F(SDEditorThreads, OpeningAndClosingWhileChangesAreReported) {
  std::atomic<bool> stop{false};
  std::atomic<int> changes{0};
  std::thread host([&] {
    for (int32_t index = 0; !stop.load(); index = (index + 1) % 23) {
      editor->setParameter(index, 0.0f);
      changes.fetch_add(1);
    }
  });
  for (int round = 0; round < 8; ++round) {
    ASSERT_TRUE(Open());
    window->Tick();
    editor->idle();
    Close();
  }
  stop.store(true);
  host.join();
  EXPECT_GT(changes.load(), 0);
}

}  // namespace
}  // namespace vortan
