// The frame: drawing order, redraw of only what changed, and where mouse
// input goes (topmost enabled view, kept during a drag, through lamps).
#include "vortan/gui/c_frame.h"

#include <gtest/gtest.h>

#include "tests/vortan/gui/gui_test_support.h"
#include "vortan/gui/c_anim_knob.h"
#include "vortan/gui/c_on_off_button.h"
#include "vortan/gui/knob_mode.h"

namespace vortan {
namespace {

using platform::EventType;

SharedBitmap Plain(int w, int h, uint8_t grey) {
  platform::Bitmap b(w, h);
  b.Fill(grey, grey, grey, 255);
  return std::make_shared<const CBitmap>(std::move(b));
}

class FrameTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetKnobMode(kLinearMode);
    frame.setBackground(Plain(100, 60, 200));
    knob = static_cast<CAnimKnob*>(frame.addView(std::make_unique<CAnimKnob>(
        CRect{0, 0, 20, 20}, &listener, 0, 11, 20, NumberedStrip(20, 20, 11))));
    button = static_cast<COnOffButton*>(frame.addView(std::make_unique<COnOffButton>(
        CRect{40, 10, 50, 20}, &listener, 1, NumberedStrip(10, 10, 2))));
    // A lamp over the lower part of the button and beyond, as on the panel.
    auto lamp_view = std::make_unique<COnOffButton>(CRect{40, 15, 60, 30}, &listener, 1,
                                                    NumberedStrip(20, 15, 2));
    lamp_view->setMouseEnabled(false);
    lamp = static_cast<COnOffButton*>(frame.addView(std::move(lamp_view)));
    ASSERT_TRUE(frame.open(0, [this](const platform::WindowConfig& c, platform::WindowListener* l) {
      auto w = std::make_unique<platform::HeadlessWindow>(c, l);
      window = w.get();
      return std::unique_ptr<platform::Window>(std::move(w));
    }));
  }
  void TearDown() override { SetKnobMode(kCircularMode); }

  RecordingListener listener;
  CFrame frame{CRect{0, 0, 100, 60}};
  CAnimKnob* knob = nullptr;
  COnOffButton* button = nullptr;
  COnOffButton* lamp = nullptr;
  platform::HeadlessWindow* window = nullptr;
};

TEST_F(FrameTest, FirstTickPresentsEverythingInOrderThenOnlyWhatChanged) {
  window->Tick();
  const platform::Bitmap& shown = window->presented();
  EXPECT_EQ(window->present_count(), 1);
  EXPECT_EQ(shown.At(99, 59)[0], 200);   // background
  EXPECT_EQ(FrameAt(shown, 5, 5), 0);    // knob at 0
  EXPECT_EQ(FrameAt(shown, 45, 17), 0);  // the lamp, drawn last, covers the button
  EXPECT_EQ(FrameAt(shown, 45, 12), 0);  // the button above the lamp

  window->Tick();
  EXPECT_EQ(window->present_count(), 1);  // nothing changed, nothing presented

  knob->setValue(1.0f);
  window->Tick();
  EXPECT_EQ(window->present_count(), 2);
  EXPECT_EQ(FrameAt(shown, 19, 19), 10);
  EXPECT_EQ(FrameAt(frame.frameBuffer(), 19, 19), 10);
}

TEST_F(FrameTest, ClicksGoThroughALampToTheButtonBelowAndALampAloneTakesNone) {
  window->Send(Mouse(EventType::kMouseDown, 45, 17, true));  // lamp over button
  window->Send(Mouse(EventType::kMouseUp, 45, 17, false));
  EXPECT_EQ(button->getValue(), 1.0f);
  EXPECT_EQ(lamp->getValue(), 0.0f);  // lamps follow the parameter, not the mouse
  window->Send(Mouse(EventType::kMouseDown, 55, 25, true));  // lamp only
  window->Send(Mouse(EventType::kDoubleClick, 55, 25, true));
  EXPECT_EQ(lamp->getValue(), 0.0f);
  ASSERT_EQ(listener.changes.size(), 1u);
  EXPECT_EQ(listener.changes[0].tag, 1);
  // Other buttons and the empty background do nothing.
  platform::Event right = Mouse(EventType::kMouseDown, 45, 12, false);
  right.button = platform::MouseButton::kRight;
  window->Send(right);
  window->Send(Mouse(EventType::kMouseDown, 80, 50, true));
  EXPECT_EQ(listener.changes.size(), 1u);
}

TEST_F(FrameTest, ADragStaysWithItsKnobOutsideItsRectangleUntilRelease) {
  window->Send(Mouse(EventType::kMouseDown, 10, 10, true));
  window->Send(Mouse(EventType::kMouseMove, 45, -90, true));  // over the button, outside
  EXPECT_NEAR(knob->getValue(), 0.5f, 1e-6);
  EXPECT_EQ(button->getValue(), 0.0f);
  window->Send(Mouse(EventType::kMouseUp, 45, -90, false));
  window->Send(Mouse(EventType::kMouseMove, 10, -200, true));
  EXPECT_NEAR(knob->getValue(), 0.5f, 1e-6);
}

TEST_F(FrameTest, TheWheelTurnsTheKnobUnderThePointer) {
  platform::Event wheel = Mouse(EventType::kWheel, 10, 10, false);
  wheel.wheel_delta = 240;
  window->Send(wheel);
  EXPECT_NEAR(knob->getValue(), 2 * CAnimKnob::kWheelInc, 1e-6);
  wheel.x = 80;
  window->Send(wheel);
  EXPECT_NEAR(knob->getValue(), 2 * CAnimKnob::kWheelInc, 1e-6);
}

TEST(Frame, OpenFailsWithoutAWindowAndKeysAreNotTaken) {
  CFrame frame(CRect{0, 0, 10, 10});
  EXPECT_FALSE(frame.open(0, [](const platform::WindowConfig&, platform::WindowListener*) {
    return std::unique_ptr<platform::Window>();
  }));
  EXPECT_FALSE(frame.open(0, WindowFactory()));
  EXPECT_FALSE(frame.onKeyDown());
}

}  // namespace
}  // namespace vortan
