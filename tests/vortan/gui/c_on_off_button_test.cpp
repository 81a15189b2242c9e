// Two-state buttons and lamps: the state a value shows and what a click does.
#include "vortan/gui/c_on_off_button.h"

#include <gtest/gtest.h>

#include "tests/vortan/gui/gui_test_support.h"

namespace vortan {
namespace {

TEST(OnOffButton, ShowsTheLowerHalfFromHalfwayAndAClickToggles) {
  RecordingListener listener;
  COnOffButton button(CRect{10, 10, 25, 28}, &listener, 9, NumberedStrip(15, 18, 2));
  platform::Bitmap frame(40, 40);
  const std::pair<float, int> shown[] = {{0.0f, 0}, {0.49f, 0}, {0.5f, 1}, {0.7f, 1}, {1.0f, 1}};
  for (const auto& [value, state] : shown) {
    button.setValue(value);
    button.draw(frame.view(), CRect{0, 0, 40, 40});
    EXPECT_EQ(FrameAt(frame, 10, 10), state) << value;
    EXPECT_EQ(FrameAt(frame, 24, 27), state) << value;
  }
  // 0.7 plays as on, so a click turns it off.
  button.setValue(0.7f);
  button.onMouseDown(12, 12, {});
  EXPECT_EQ(button.getValue(), 0.0f);
  button.onMouseDown(12, 12, {});
  EXPECT_EQ(button.getValue(), 1.0f);
  ASSERT_EQ(listener.changes.size(), 2u);
  EXPECT_EQ(listener.changes[0].tag, 9);
  EXPECT_EQ(listener.changes[0].value, 0.0f);
  EXPECT_EQ(listener.changes[1].value, 1.0f);
}

TEST(OnOffButton, ValuesFromTheHostAreClampedAndOnlyChangesAskForARedraw) {
  COnOffButton button(CRect{0, 0, 15, 18}, nullptr, 1, NumberedStrip(15, 18, 2));
  button.takeDirty();
  button.setValue(0.0f);
  EXPECT_FALSE(button.takeDirty());
  button.setValue(std::numeric_limits<float>::quiet_NaN());
  EXPECT_EQ(button.getValue(), 0.0f);
  button.setValue(3.0f);
  EXPECT_EQ(button.getValue(), 1.0f);
  EXPECT_TRUE(button.takeDirty());
  EXPECT_FALSE(button.takeDirty());
  button.onMouseDown(1, 1, {});  // no listener: the click still toggles
  EXPECT_EQ(button.getValue(), 0.0f);
}

}  // namespace
}  // namespace vortan
