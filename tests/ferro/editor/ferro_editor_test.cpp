// The editor through its mouse: channel view, settings panel, lamps, knobs,
// switches, button rows, the value prompt, and what the host hears of it.
#include "ferro/editor/ferro_editor.h"

#include "ferro/editor/ibias_plot.h"
#include "ferro/editor/iinfo_text.h"
#include "ferro/editor/itext_control.h"
#include "tests/ferro/editor/editor_fixture.h"

namespace {

using platform::MouseButton;

constexpr int kRedKnobs[] = {0, 2, 7, 8, 9, 10, 11, 12, 13};
constexpr int kGreenKnobs[] = {1, 3, 16, 17, 18, 19, 20, 21, 22};
constexpr int kPanelParams[] = {23, 24, 4, 26, 27, 28};

// Screen points inside controls.
constexpr int kChannelX = 194, kChannelY = 179;
constexpr int kArrowX = 420, kArrowY = 5;
constexpr int kBiasKnobX = 327, kBiasKnobY = 76;
constexpr int kPreGainX = 265, kPreGainY = 190;
constexpr int kPostGainX = 570, kPostGainY = 190;

class FerroEditorTest : public EditorFixture {};

TEST_F(FerroEditorTest, ChannelSwitchShowsOneKnobSetAndLightsItsLamp) {
  // The default channel is RED.
  for (int i : kRedKnobs) EXPECT_FALSE(ControlOf(i)->IsHidden()) << i;
  for (int i : kGreenKnobs) EXPECT_TRUE(ControlOf(i)->IsHidden()) << i;
  EXPECT_TRUE(ControlOf(14)->IsGrayed());
  EXPECT_TRUE(ControlOf(15)->IsGrayed());
  EXPECT_FALSE(ControlOf(28)->IsGrayed());
  EXPECT_EQ(ControlOf(29)->Value(), 0.0);
  EXPECT_EQ(ControlOf(30)->Value(), 1.0);
  EXPECT_EQ(ControlOf(31)->Value(), 1.0);

  Click(kChannelX, kChannelY);
  EXPECT_EQ(Value(kChannel), 0.0);
  for (int i : kRedKnobs) EXPECT_TRUE(ControlOf(i)->IsHidden()) << i;
  for (int i : kGreenKnobs) EXPECT_FALSE(ControlOf(i)->IsHidden()) << i;
  EXPECT_FALSE(ControlOf(14)->IsGrayed());
  EXPECT_FALSE(ControlOf(15)->IsGrayed());
  EXPECT_TRUE(ControlOf(28)->IsGrayed());
  EXPECT_EQ(ControlOf(28)->Blend().weight, 0.25f);
  EXPECT_EQ(ControlOf(29)->Value(), 1.0);
  EXPECT_EQ(ControlOf(30)->Value(), 0.0);
  // The lamps' own parameters keep their stored values.
  EXPECT_EQ(Value(kLampGreen), 1.0);
  EXPECT_EQ(Value(kLampRed), 0.0);

  // A click reports its automation first, then the begin and end notices.
  const auto calls = RecordingHost::Calls();
  ASSERT_EQ(calls.size(), 3u);
  EXPECT_EQ(calls[0].opcode, vst2::audioMasterAutomate);
  EXPECT_EQ(calls[0].index, kChannel);
  EXPECT_EQ(calls[0].opt, 0.0f);
  EXPECT_EQ(calls[1].opcode, vst2::audioMasterBeginEdit);
  EXPECT_EQ(calls[2].opcode, vst2::audioMasterEndEdit);
  EXPECT_EQ(calls[2].index, kChannel);
}

TEST_F(FerroEditorTest, GreyedSwitchesAndHiddenKnobsTakeNoClicks) {
  // On RED, Bright is greyed: the click lands on the background.
  Click(308, 179);
  EXPECT_EQ(Value(kGreenBright), 0.0);
  EXPECT_TRUE(RecordingHost::Calls().empty());
  // Switching to GREEN makes it live.
  Click(kChannelX, kChannelY);
  Click(308, 179);
  EXPECT_EQ(Value(kGreenBright), 1.0);
  // Lead Mod is greyed on GREEN.
  Click(320, 117);
  EXPECT_EQ(Value(kLeadMod), 1.0);
}

TEST_F(FerroEditorTest, ClosingTheSettingsPanelHidesItsControlsButNotTheArrow) {
  ASSERT_TRUE(editor_->BiasPlot()->Shown());
  Click(kArrowX, kArrowY);
  EXPECT_EQ(Value(kSettingsShown), 0.0);
  for (int i : kPanelParams) EXPECT_TRUE(ControlOf(i)->IsHidden()) << i;
  EXPECT_TRUE(ControlOf(FerroEditor::kPanelTag)->IsHidden());
  EXPECT_TRUE(editor_->BiasReadout()->IsHidden());
  EXPECT_TRUE(editor_->InfoText()->IsHidden());
  EXPECT_FALSE(editor_->BiasPlot()->Shown());
  EXPECT_FALSE(ControlOf(kSettingsShown)->IsHidden());

  // The blank plot still keeps the whole editor repainting every tick.
  window_->Tick();
  for (int i = 0; i < editor_->NControls(); ++i)
    EXPECT_TRUE(editor_->GetControl(i)->IsDirty()) << i;
  // Where the bias line stood, the background shows again.
  const uint8_t* p = Pixel(248, 50);
  EXPECT_FALSE(p[0] > 150 && p[1] < 40 && p[2] < 40);

  Click(kArrowX, kArrowY);
  EXPECT_FALSE(ControlOf(23)->IsHidden());
  EXPECT_TRUE(editor_->BiasPlot()->Shown());
}

TEST_F(FerroEditorTest, HelpTextFollowsTheMouseButNotADrag) {
  IInfoText* info = editor_->InfoText();
  Hover(230, 117);  // tube-type buttons
  EXPECT_EQ(info->Selector(), 1);
  Hover(700, 20);  // nothing there
  EXPECT_EQ(info->Selector(), 0);
  Hover(330, 70);  // the bias knob
  EXPECT_EQ(info->Selector(), 3);
  platform::Event down =
      Mouse(platform::EventType::kMouseDown, kBiasKnobX, kBiasKnobY, MouseButton::kLeft);
  down.mods.left = true;
  window_->Send(down);
  platform::Event move = Mouse(platform::EventType::kMouseMove, 230, 117);
  move.mods.left = true;
  window_->Send(move);
  EXPECT_EQ(info->Selector(), 3);
  window_->Send(Mouse(platform::EventType::kMouseUp, 230, 117, MouseButton::kLeft));
  EXPECT_STREQ(IInfoText::HelpText(1),
               "PowerTubes:\n\nChoose your poweramp tubetype.\n\nDefault is 6L6GC.");
}

TEST_F(FerroEditorTest, KnobGesturesDragWheelAndDoubleClick) {
  // Up by one knob height = a quarter of the range, however many moves.
  DragVertically(kPreGainX, kPreGainY, -74, 5);
  EXPECT_NEAR(Value(kRedPreGain), 0.75, 1e-3);
  const auto calls = RecordingHost::Calls();
  ASSERT_GE(calls.size(), 3u);
  EXPECT_EQ(calls.front().opcode, vst2::audioMasterBeginEdit);
  EXPECT_EQ(calls.back().opcode, vst2::audioMasterEndEdit);
  for (size_t i = 1; i + 1 < calls.size(); ++i) {
    EXPECT_EQ(calls[i].opcode, vst2::audioMasterAutomate);
    EXPECT_EQ(calls[i].index, kRedPreGain);
  }
  // Shift makes the drag ten times finer.
  DragVertically(kPreGainX, kPreGainY, 74, 1, true);
  EXPECT_NEAR(Value(kRedPreGain), 0.725, 1e-3);

  // A wheel notch moves Bias by 0.4 V, 0.04 V with Shift.
  Wheel(kBiasKnobX, kBiasKnobY, 1);
  EXPECT_NEAR(Value(kBias), -50.6, 1e-9);
  Wheel(kBiasKnobX, kBiasKnobY, -1, true);
  EXPECT_NEAR(Value(kBias), -50.64, 1e-9);

  // Double-clicks return to the parameters' defaults.
  DoubleClick(kBiasKnobX, kBiasKnobY);
  EXPECT_NEAR(Value(kBias), -51.0, 1e-9);
  DragVertically(kPostGainX, kPostGainY, -30);
  EXPECT_GT(Value(kRedPostGain), 0.35);
  DoubleClick(kPostGainX, kPostGainY);
  EXPECT_NEAR(Value(kRedPostGain), 0.3, 1e-12);
}

TEST_F(FerroEditorTest, ButtonRowsSelectByPosition) {
  Click(262, 117);  // third tube-type button
  EXPECT_EQ(Value(kTubeType), 2.0);
  EXPECT_EQ(editor_->BiasPlot()->TubeType(), 2);
  Click(403, 124);  // bottom quality button
  EXPECT_EQ(Value(kOversample), 2.0);
  Click(403, 92);
  EXPECT_EQ(Value(kOversample), 0.0);
  // Between two buttons the value stays, but the parameter hears it again.
  RecordingHost::Clear();
  Click(220, 117);
  EXPECT_EQ(Value(kTubeType), 2.0);
  EXPECT_EQ(RecordingHost::Calls().size(), 3u);
}

TEST_F(FerroEditorTest, LampClickStepsFromItsPictureAndThePictureFollowsTheChannel) {
  // On RED the RED lamp shows lit: the click wraps it to 0 for the parameter,
  // and the refresh lights the picture again.
  Click(223, 212);
  EXPECT_EQ(Value(kLampRed), 0.0);
  EXPECT_EQ(ControlOf(kLampRed)->Value(), 1.0);
  Click(223, 175);  // GREEN lamp, dark on RED
  EXPECT_EQ(Value(kLampGreen), 1.0);
  EXPECT_EQ(ControlOf(kLampGreen)->Value(), 0.0);
  const auto calls = RecordingHost::Calls();
  ASSERT_EQ(calls.size(), 6u);
  EXPECT_EQ(calls[3].opcode, vst2::audioMasterAutomate);
  EXPECT_EQ(calls[3].index, kLampGreen);
  EXPECT_EQ(calls[3].opt, 1.0f);
}

TEST_F(FerroEditorTest, BiasReadoutShowsFourSignificantDigits) {
  EXPECT_STREQ(editor_->BiasReadout()->Text(), "-51");
  SetNormalized(kBias, (70.0 - 45.5) / 40.0);
  EXPECT_STREQ(editor_->BiasReadout()->Text(), "-45.5");
  SetNormalized(kBias, (70.0 - 39.0) / 40.0);
  EXPECT_STREQ(editor_->BiasReadout()->Text(), "-39");
}

TEST_F(FerroEditorTest, PromptFieldCommitsTypedValueAndRightClickCancels) {
  Click(kBiasKnobX, kBiasKnobY, MouseButton::kRight);
  ASSERT_TRUE(editor_->PromptOpen());
  EXPECT_FALSE(editor_->Prompt().IsList());
  EXPECT_EQ(editor_->Prompt().Text(), "-51.0");
  const IRect area = editor_->Prompt().Area();
  EXPECT_EQ(area.width(), 36);
  EXPECT_EQ(area.height(), 16);
  EXPECT_EQ((area.left + area.right) / 2, 327);
  window_->Tick();
  EXPECT_TRUE(window_->focus_requested());
  // Mouse input goes to the prompt, not to the knobs underneath.
  Wheel(kBiasKnobX, kBiasKnobY, 3);
  EXPECT_NEAR(Value(kBias), -51.0, 1e-9);
  Type("-45.5");
  Key(platform::Key::kEnter);
  EXPECT_FALSE(editor_->PromptOpen());
  EXPECT_NEAR(Value(kBias), -45.5, 1e-9);
  EXPECT_STREQ(editor_->BiasReadout()->Text(), "-45.5");

  Click(kBiasKnobX, kBiasKnobY, MouseButton::kRight);
  Type("-60");
  Click(100, 100, MouseButton::kRight);
  EXPECT_FALSE(editor_->PromptOpen());
  EXPECT_NEAR(Value(kBias), -45.5, 1e-9);

  // Text that is no number leaves the value alone.
  Click(kBiasKnobX, kBiasKnobY, MouseButton::kRight);
  Type("loud");
  Click(100, 100);
  EXPECT_NEAR(Value(kBias), -45.5, 1e-9);
}

TEST_F(FerroEditorTest, PromptListChoosesADisplayText) {
  // "Stereo" has the texts off/on: a list under the switch's centre.
  Click(194, 203, MouseButton::kRight);
  ASSERT_TRUE(editor_->PromptOpen());
  ASSERT_TRUE(editor_->Prompt().IsList());
  EXPECT_EQ(editor_->Prompt().Text(), "off");
  const IRect area = editor_->Prompt().Area();
  EXPECT_EQ(area.top, 203);
  EXPECT_EQ(area.width(), 8 * 3 + 24);
  EXPECT_EQ((area.left + area.right) / 2, 194);
  window_->Tick();  // the list is drawn inside the editor
  // The second row is "on".
  Click(area.left + 5, area.top + 18 + 1 + 16 + 8);
  EXPECT_FALSE(editor_->PromptOpen());
  EXPECT_EQ(Value(kStereo), 1.0);
}

TEST_F(FerroEditorTest, PanelImageAndBackgroundReachNoParameter) {
  const std::vector<double> before = [&] {
    std::vector<double> v;
    for (int i = 0; i < kNumFerroParams; ++i) v.push_back(Value(i));
    return v;
  }();
  Wheel(600, 20, 2);  // panel image
  Wheel(20, 260, 2);  // background
  DoubleClick(600, 20);
  Click(600, 20, MouseButton::kRight);
  EXPECT_FALSE(editor_->PromptOpen());
  for (int i = 0; i < kNumFerroParams; ++i) EXPECT_EQ(Value(i), before[i]) << i;
  EXPECT_TRUE(RecordingHost::Calls().empty());
}

TEST_F(FerroEditorTest, StateSurvivesClosingAndReopening) {
  Click(kChannelX, kChannelY);
  vst2::ERect* rect = nullptr;
  ASSERT_EQ(Dispatch(vst2::effEditGetRect, 0, 0, &rect), 1);
  EXPECT_EQ(rect->right, 834);
  EXPECT_EQ(rect->bottom, 278);
  EXPECT_EQ(Dispatch(vst2::effEditClose), 1);
  window_ = editor_->OpenHeadlessWindow();
  window_->Tick();
  EXPECT_FALSE(ControlOf(kGreenPreGain)->IsHidden());
  EXPECT_TRUE(ControlOf(kRedPreGain)->IsHidden());
  EXPECT_EQ(window_->present_count(), 1);
  // A null parent window is refused.
  EXPECT_EQ(Dispatch(vst2::effEditOpen, 0, 0, nullptr), 0);
}

}  // namespace
