// The whole editor rendered headless, compared with golden pictures: the RED
// channel with the settings panel open (the state a new instance opens in),
// the GREEN channel, and the panel folded away.
#include "tests/ferro/editor/editor_fixture.h"
#include "tests/ferro/editor/golden_image.h"

namespace {

class FerroEditorRenderTest : public EditorFixture {
 protected:
  void ExpectLooksLike(const char* name) {
    window_->Tick();
    window_->Tick();
    const golden::Result r = golden::Compare(window_->presented(), FERRO_GOLDEN_DIR, name);
    EXPECT_TRUE(r.ok) << r.message;
  }
};

TEST_F(FerroEditorRenderTest, RedChannelWithSettingsPanel) { ExpectLooksLike("editor_red_panel"); }

TEST_F(FerroEditorRenderTest, GreenChannel) {
  SetNormalized(kChannel, 0.0);
  SetNormalized(kGreenPreGain, 0.8);
  SetNormalized(kTubeType, 1.0);
  ExpectLooksLike("editor_green_panel");
}

TEST_F(FerroEditorRenderTest, PanelClosed) {
  SetNormalized(kSettingsShown, 0.0);
  ExpectLooksLike("editor_panel_closed");
}

TEST_F(FerroEditorRenderTest, PromptsDrawnInsideTheEditor) {
  Click(194, 203, platform::MouseButton::kRight);  // "Stereo": a list
  ExpectLooksLike("editor_prompt_list");
  Click(20, 260, platform::MouseButton::kRight);  // cancel
  Click(327, 76, platform::MouseButton::kRight);  // "Bias": a field
  ExpectLooksLike("editor_prompt_field");
}

}  // namespace
