// Three threads at once, as in a host: one automates parameters (channel,
// panel, bias, valve type, knobs), one processes audio, and one plays the
// editor's window thread, repainting and dragging knobs. Built alone under
// ThreadSanitizer by .ci/stages/20-tsan.sh; in a plain build it
// checks that nothing deadlocks and the editor ends up showing the values.
#include <atomic>
#include <random>
#include <thread>
#include <vector>

#include "ferro/editor/itext_control.h"
#include "tests/ferro/editor/editor_fixture.h"

namespace {

class FerroEditorThreadsTest : public EditorFixture {};

TEST_F(FerroEditorThreadsTest, AutomationAudioAndRepaintRunTogether) {
  std::atomic<bool> stop{false};
  vst2::AEffect* effect = plug_->GetAEffect();

  std::thread automation([&] {
    std::mt19937 random(7);
    const int indices[] = {kChannel,    kSettingsShown, kBias,       kTubeType,
                           kRedPreGain, kGreenBass,     kOversample, kLampGreen};
    for (int i = 0; i < 400; ++i) {
      const int index = indices[random() % 8];
      effect->setParameter(effect, index, static_cast<float>(random() % 1000) / 999.0f);
      if (i % 50 == 0) effect->dispatcher(effect, vst2::effEditIdle, 0, 0, nullptr, 0.0f);
    }
    stop = true;
  });

  std::thread audio([&] {
    std::vector<float> inL(64, 0.01f), inR(64, 0.01f), outL(64), outR(64);
    float* in[2] = {inL.data(), inR.data()};
    float* out[2] = {outL.data(), outR.data()};
    while (!stop) effect->processReplacing(effect, in, out, 64);
  });

  std::thread window([&] {
    int y = 0;
    while (!stop) {
      window_->Tick();
      DragVertically(265, 190, (y++ % 2) ? -10 : 10);
      Hover(230, 117);
      Wheel(327, 76, 1);
    }
  });

  automation.join();
  audio.join();
  window.join();

  // Settle on known values and check the editor shows them.
  SetNormalized(kChannel, 0.0);
  SetNormalized(kSettingsShown, 1.0);
  SetNormalized(kBias, 0.5);
  window_->Tick();
  EXPECT_FALSE(ControlOf(kGreenPreGain)->IsHidden());
  EXPECT_TRUE(ControlOf(kRedPreGain)->IsHidden());
  EXPECT_FALSE(ControlOf(kBias)->IsHidden());
  EXPECT_EQ(ControlOf(kBias)->Value(), 0.5);
  EXPECT_STREQ(editor_->BiasReadout()->Text(), "-50");
}

}  // namespace
