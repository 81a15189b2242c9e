// The Vortan editor as a host and a user see it: the panel's layout against
// its images, controls following parameter changes (including mode recalls),
// clicks and drags reaching the host as automation, lamps ignoring the mouse,
// the knob mode, and the opened/closed life cycle.
#include "vortan/editor/sd_editor.h"

#include <gtest/gtest.h>

#include <cstring>
#include <set>

#include "tests/vortan/editor/editor_fixture.h"
#include "vortan/gui/c_anim_knob.h"
#include "vortan/gui/c_on_off_button.h"
#include "vortan_resources.h"

namespace vortan {
namespace {

using platform::EventType;

// The centre of a rectangle.
int Cx(const CRect& r) { return (r.left + r.right) / 2; }
int Cy(const CRect& r) { return (r.top + r.bottom) / 2; }

TEST(SDEditorLayout, EveryControlIsOneFrameOfItsImageAndEveryParameterHasItsControls) {
  std::set<int32_t> knobs, switches, lamps;
  for (const PanelControl& row : kPanelControls) {
    const PanelImage& image = PanelImageOf(row.imageId);
    ASSERT_EQ(image.id, row.imageId) << "tag " << row.tag;
    EXPECT_EQ(row.rect.width(), image.width) << "tag " << row.tag;
    EXPECT_EQ(row.rect.height(), image.height / image.frames) << "tag " << row.tag;
    EXPECT_EQ(image.height % image.frames, 0);
    EXPECT_TRUE(row.rect.left >= 0 && row.rect.top >= 0 && row.rect.right <= kPanelWidth &&
                row.rect.bottom <= kPanelHeight);
    auto& kind = row.kind == ControlKind::kKnob     ? knobs
                 : row.kind == ControlKind::kSwitch ? switches
                                                    : lamps;
    EXPECT_TRUE(kind.insert(row.tag).second) << "tag " << row.tag << " twice";
  }
  EXPECT_EQ(knobs.size(), 12u);
  EXPECT_EQ(switches.size(), 11u);
  EXPECT_EQ(switches, lamps);  // every switch has its lamp
  for (int32_t tag = 0; tag < 23; ++tag) {
    EXPECT_NE(knobs.count(tag), switches.count(tag)) << "tag " << tag;
  }
}

using SDEditorTest = EditorFixture;

TEST_F(SDEditorTest, RectIsThePanelAndOpenBuildsEveryControlWithTheCurrentValues) {
  vst2::ERect* rect = nullptr;
  ASSERT_EQ(effect->dispatcher(effect, vst2::effEditGetRect, 0, 0, &rect, 0.0f), 1);
  EXPECT_EQ(rect->top, 0);
  EXPECT_EQ(rect->left, 0);
  EXPECT_EQ(rect->bottom, 312);
  EXPECT_EQ(rect->right, 800);
  EXPECT_NE(effect->flags & vst2::effFlagsHasEditor, 0);

  SetParameter(5, 0.25f);  // while closed
  EXPECT_EQ(editor->control(0), nullptr);
  ASSERT_TRUE(Open());
  EXPECT_EQ(editor->openFrameForTest()->viewCount(), 34u);
  for (int i = 0; i < kPanelControlCount; ++i) {
    CControl* c = editor->control(i);
    ASSERT_NE(c, nullptr);
    EXPECT_EQ(c->getTag(), kPanelControls[i].tag);
    EXPECT_EQ(c->getValue(), GetParameter(c->getTag())) << i;
    EXPECT_EQ(c->getMouseEnabled(), kPanelControls[i].kind != ControlKind::kLamp);
    EXPECT_EQ(dynamic_cast<CAnimKnob*>(c) != nullptr, kPanelControls[i].kind == ControlKind::kKnob);
  }
  EXPECT_EQ(ControlOf(5, ControlKind::kKnob)->getValue(), 0.25f);

  // A second open replaces the first window; close forgets the frame and
  // changes made while closed are read at the next open.
  ASSERT_TRUE(Open());
  Close();
  EXPECT_FALSE(editor->isOpen());
  SetParameter(5, 0.75f);
  ASSERT_TRUE(Open());
  EXPECT_EQ(ControlOf(5, ControlKind::kKnob)->getValue(), 0.75f);
}

TEST_F(SDEditorTest, NoWindowMeansOpenFailsAndEditorRequestsStayHarmless) {
  editor->setWindowFactory([](const platform::WindowConfig&, platform::WindowListener*) {
    return std::unique_ptr<platform::Window>();
  });
  EXPECT_FALSE(Open());
  EXPECT_FALSE(editor->isOpen());
  SetParameter(0, 0.1f);  // no frame: nothing to update, nothing to crash
  effect->dispatcher(effect, vst2::effEditIdle, 0, 0, nullptr, 0.0f);
  EXPECT_EQ(effect->dispatcher(effect, vst2::effEditKeyDown, 'a', 0, nullptr, 0.0f), 0);
  Close();
}

TEST_F(SDEditorTest, KnobsShowTheFirstAndLastSubImageAtTheEndsOfTheRange) {
  ASSERT_TRUE(Open());
  SetParameter(0, 1.0f);
  SetParameter(20, 0.0f);
  window->Tick();
  const platform::Bitmap strip = []() {
    const platform::Resource png = EmbeddedResources().Find(kKnobImage);
    return platform::DecodeFixedPng(png.data, png.size, 62, 9362);
  }();
  const platform::Bitmap& shown = window->presented();
  for (const auto& [tag, frame] : {std::pair<int32_t, int>{0, 150}, {20, 0}}) {
    // The panel under the knob with frame `frame` of the strip over it.
    const CRect& r = RectOf(tag, ControlKind::kKnob);
    const platform::Resource bg = EmbeddedResources().Find(kBackgroundImage);
    platform::Bitmap expected = platform::DecodeFixedPng(bg.data, bg.size, 800, 312);
    platform::CompositeOver(expected.view(), r.left, r.top, strip.Frame(frame, kKnobFrames));
    int differing = 0;
    for (int y = r.top; y < r.bottom; ++y) {
      for (int x = r.left; x < r.right; ++x) {
        differing += std::memcmp(shown.At(x, y), expected.At(x, y), 4) != 0;
      }
    }
    EXPECT_EQ(differing, 0) << "tag " << tag << " frame " << frame;
  }
}

TEST_F(SDEditorTest, SelectingChannelBFromTheHostMovesTheSwitchAndTheLamp) {
  ASSERT_TRUE(Open());
  window->Tick();
  const CRect lamp = RectOf(1, ControlKind::kLamp);
  const platform::Bitmap before = window->presented();
  const int presents = window->present_count();
  SetParameter(1, 1.0f);
  EXPECT_EQ(ControlOf(1, ControlKind::kSwitch)->getValue(), 1.0f);
  EXPECT_EQ(ControlOf(1, ControlKind::kLamp)->getValue(), 1.0f);
  window->Tick();
  EXPECT_EQ(window->present_count(), presents + 1);
  EXPECT_NE(std::memcmp(before.At(Cx(lamp), lamp.top + 5),
                        window->presented().At(Cx(lamp), lamp.top + 5), 4),
            0);
  EXPECT_TRUE(TakeAutomation().empty());  // host changes are not echoed back
}

TEST_F(SDEditorTest, AModeSwitchThatRecallsKnobValuesMovesEveryRecalledKnob) {
  ASSERT_TRUE(Open());
  SetParameter(1, 1.0f);  // channel B, low gain
  SetParameter(3, 1.0f);  // high gain
  const int32_t recalled[] = {0, 12, 13, 14, 15, 16, 20};
  float v = 0.1f;
  for (int32_t tag : recalled) SetParameter(tag, v += 0.1f);
  SetParameter(19, 1.0f);  // CHB Bright on in B-high
  SetParameter(3, 0.0f);   // back to low gain: its memory is still the defaults
  for (int32_t tag : recalled) {
    EXPECT_EQ(ControlOf(tag, ControlKind::kKnob)->getValue(), 0.5f) << tag;
  }
  EXPECT_EQ(ControlOf(19, ControlKind::kSwitch)->getValue(), 0.0f);
  EXPECT_EQ(ControlOf(19, ControlKind::kLamp)->getValue(), 0.0f);
  SetParameter(3, 1.0f);  // high gain again: its knobs come back on screen
  v = 0.1f;
  for (int32_t tag : recalled) {
    EXPECT_FLOAT_EQ(ControlOf(tag, ControlKind::kKnob)->getValue(), v += 0.1f) << tag;
  }
  EXPECT_EQ(ControlOf(19, ControlKind::kLamp)->getValue(), 1.0f);
  // Each control shows what the plug-in holds.
  for (int i = 0; i < kPanelControlCount; ++i) {
    EXPECT_EQ(editor->control(i)->getValue(), GetParameter(kPanelControls[i].tag)) << i;
  }
}

TEST_F(SDEditorTest, ClickingASwitchAutomatesItsParameterAndClickingALampDoesNothing) {
  ASSERT_TRUE(Open());
  const CRect sw = RectOf(1, ControlKind::kSwitch);
  const CRect lamp = RectOf(1, ControlKind::kLamp);
  Click(Cx(lamp), lamp.top + 3);  // lamp only, above the switch
  Click(lamp.right - 1, Cy(sw));  // lamp column beside the switch
  EXPECT_TRUE(TakeAutomation().empty());
  EXPECT_EQ(GetParameter(1), 0.0f);

  Click(Cx(sw), Cy(sw));  // the switch, under its lamp
  EXPECT_EQ(GetParameter(1), 1.0f);
  EXPECT_EQ(ControlOf(1, ControlKind::kLamp)->getValue(), 1.0f);
  const Automation got = TakeAutomation();
  ASSERT_EQ(got.size(), 1u);
  EXPECT_EQ(got[0], std::make_pair(int32_t{1}, 1.0f));

  // Every lamp alone ignores presses.
  for (const PanelControl& row : kPanelControls) {
    if (row.kind != ControlKind::kLamp) continue;
    const CRect& s = RectOf(row.tag, ControlKind::kSwitch);
    for (int y = row.rect.top; y < row.rect.bottom; y += 3) {
      for (int x = row.rect.left; x < row.rect.right; x += 3) {
        if (!s.Contains(x, y)) Click(x, y);
      }
    }
  }
  EXPECT_TRUE(TakeAutomation().empty());
}

TEST_F(SDEditorTest, AnyKnobModeFromTheHostMakesDraggingVertical) {
  ASSERT_TRUE(Open());
  const CRect knob = RectOf(0, ControlKind::kKnob);
  // Circular until the host asks: a press right of the centre jumps there.
  window->Send(Mouse(EventType::kMouseDown, knob.right - 1, Cy(knob), true));
  window->Send(Mouse(EventType::kMouseUp, knob.right - 1, Cy(knob), false));
  EXPECT_NEAR(GetParameter(0), 5.0f / 6.0f, 0.02f);
  SetParameter(0, 0.5f);
  TakeAutomation();

  EXPECT_EQ(effect->dispatcher(effect, vst2::effSetEditKnobMode, 0, 0, nullptr, 0.0f), 1);
  EXPECT_EQ(GetKnobMode(), kLinearMode);
  window->Send(Mouse(EventType::kMouseDown, Cx(knob), Cy(knob), true));
  window->Send(Mouse(EventType::kMouseMove, knob.right + 20, Cy(knob), true));
  EXPECT_EQ(GetParameter(0), 0.5f);
  window->Send(Mouse(EventType::kMouseMove, knob.right + 20, Cy(knob) - 40, true));
  window->Send(Mouse(EventType::kMouseUp, knob.right + 20, Cy(knob) - 40, false));
  EXPECT_NEAR(GetParameter(0), 0.7f, 1e-6);
  const Automation got = TakeAutomation();
  ASSERT_EQ(got.size(), 1u);
  EXPECT_EQ(got[0].first, 0);
  EXPECT_NEAR(got[0].second, 0.7f, 1e-6);
  EXPECT_EQ(ControlOf(0, ControlKind::kKnob)->getValue(), GetParameter(0));
}

TEST_F(SDEditorTest, OnlyTagsOfParametersReachTheHost) {
  ASSERT_TRUE(Open());
  float before[23];
  for (int32_t i = 0; i < 23; ++i) before[i] = GetParameter(i);
  for (int32_t tag : {-1, 23, 1000}) {
    COnOffButton stray(CRect{0, 0, 1, 1}, editor, tag, nullptr);
    stray.setValue(1.0f);
    editor->valueChanged(&stray);
  }
  editor->valueChanged(nullptr);
  EXPECT_TRUE(TakeAutomation().empty());
  for (int32_t i = 0; i < 23; ++i) EXPECT_EQ(GetParameter(i), before[i]) << i;
}

}  // namespace
}  // namespace vortan
