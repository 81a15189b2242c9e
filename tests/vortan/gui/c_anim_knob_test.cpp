// Film-strip knobs: which frame a value shows, and how each knob mode turns
// mouse motion into a value.
#include "vortan/gui/c_anim_knob.h"

#include <gtest/gtest.h>

#include "tests/vortan/gui/gui_test_support.h"
#include "vortan/gui/knob_mode.h"

namespace vortan {
namespace {

using platform::EventType;

class KnobTest : public ::testing::Test {
 protected:
  void SetUp() override { SetKnobMode(kCircularMode); }
  void TearDown() override { SetKnobMode(kCircularMode); }

  // A 62 x 62 knob at (100, 50) over a 151-frame strip.
  RecordingListener listener;
  CAnimKnob knob{CRect{100, 50, 162, 112}, &listener, 4, 151, 62, NumberedStrip(62, 62, 151)};
  platform::Modifiers held = [] {
    platform::Modifiers m;
    m.left = true;
    return m;
  }();
};

TEST_F(KnobTest, EndsOfTheRangeShowTheFirstAndLastFrameAndValuesBetweenTheNearest) {
  platform::Bitmap frame(200, 150);
  const CRect all{0, 0, 200, 150};
  const std::pair<float, int> cases[] = {{0.0f, 0},   {1.0f, 150}, {0.5f, 75},  {0.4999f, 75},
                                         {0.003f, 0}, {0.004f, 1}, {2.0f, 150}, {-1.0f, 0}};
  for (const auto& [value, expected] : cases) {
    knob.setValue(value);
    knob.draw(frame.view(), all);
    EXPECT_EQ(FrameAt(frame, 100, 50), expected) << value;
    EXPECT_EQ(FrameAt(frame, 161, 111), expected) << value;
  }
  // Nothing outside the knob's rectangle is touched.
  EXPECT_EQ(frame.At(99, 50)[3], 0);
  EXPECT_EQ(frame.At(162, 111)[3], 0);
}

TEST_F(KnobTest, DrawingStaysInsideTheClipAndLinesUpWithTheStrip) {
  platform::Bitmap frame(200, 150);
  knob.setValue(1.0f);
  knob.draw(frame.view(), CRect{130, 80, 140, 90});
  EXPECT_EQ(frame.At(129, 80)[3], 0);
  EXPECT_EQ(frame.At(140, 85)[3], 0);
  EXPECT_EQ(FrameAt(frame, 130, 80), 150);
  EXPECT_EQ(FrameAt(frame, 139, 89), 150);
}

TEST_F(KnobTest, CircularModeFollowsTheAngleRoundTheCentre) {
  // Centre (131, 81): straight above is the middle of the sweep, the right
  // is five sixths of it, the left one sixth.
  knob.onMouseDown(131, 20, held);
  EXPECT_NEAR(knob.getValue(), 0.5f, 1e-6);
  knob.onMouseMoved(190, 81, held);
  EXPECT_NEAR(knob.getValue(), 5.0f / 6.0f, 1e-6);
  knob.onMouseMoved(70, 81, held);
  EXPECT_NEAR(knob.getValue(), 1.0f / 6.0f, 1e-6);
  // The dead zone below the knob goes to the nearer end.
  knob.onMouseMoved(128, 150, held);
  EXPECT_EQ(knob.getValue(), 0.0f);
  knob.onMouseMoved(134, 150, held);
  EXPECT_EQ(knob.getValue(), 1.0f);
  ASSERT_FALSE(listener.changes.empty());
  EXPECT_EQ(listener.changes.back().tag, 4);
  EXPECT_EQ(listener.changes.back().value, 1.0f);
}

TEST_F(KnobTest, LinearModeDragsVerticallyAndIgnoresSidewaysMotion) {
  SetKnobMode(kLinearMode);
  knob.setValue(0.5f);
  knob.onMouseDown(131, 20, held);  // a press alone changes nothing
  EXPECT_EQ(knob.getValue(), 0.5f);
  EXPECT_TRUE(listener.changes.empty());
  knob.onMouseMoved(190, 20, held);  // sideways: would be 5/6 in circular mode
  EXPECT_EQ(knob.getValue(), 0.5f);
  knob.onMouseMoved(190, 0, held);  // 20 pixels up
  EXPECT_NEAR(knob.getValue(), 0.5f + 20.0f / CAnimKnob::kLinearRangePixels, 1e-6);
  knob.onMouseMoved(131, 500, held);  // far down: clamped
  EXPECT_EQ(knob.getValue(), 0.0f);
  // The mode is read at the press: a change during a drag waits for the next.
  SetKnobMode(kCircularMode);
  knob.onMouseMoved(131, 480, held);
  EXPECT_NEAR(knob.getValue(), 0.0f, 1e-6);
}

TEST_F(KnobTest, RelativeCircularModeAddsTheAngleTurned) {
  SetKnobMode(kRelativCircularMode);
  knob.setValue(0.2f);
  knob.onMouseDown(131, 20, held);  // top: no jump
  EXPECT_EQ(knob.getValue(), 0.2f);
  knob.onMouseMoved(190, 81, held);  // a quarter turn clockwise: a third of the sweep
  EXPECT_NEAR(knob.getValue(), 0.2f + 1.0f / 3.0f, 1e-6);
}

TEST_F(KnobTest, WheelStepsAndOutOfRangeModesFallBackToCircular) {
  knob.setValue(0.5f);
  knob.onWheel(1.0f, {});
  EXPECT_NEAR(knob.getValue(), 0.6f, 1e-6);
  knob.onWheel(-10.0f, {});
  EXPECT_EQ(knob.getValue(), 0.0f);
  SetKnobMode(7);
  EXPECT_EQ(GetKnobMode(), kCircularMode);
}

}  // namespace
}  // namespace vortan
