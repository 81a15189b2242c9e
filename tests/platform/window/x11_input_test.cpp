// X input translation that needs no server: modifier masks and double clicks.
// GoogleTest before Xlib: Xlib defines macros (None, Bool) that clash with it.
// clang-format off
#include <gtest/gtest.h>
// clang-format on

#include "platform/window/x11_input.h"

#include <X11/Xlib.h>

namespace {

TEST(X11Input, ModifierMasksMapToButtonsAndKeys) {
  const auto m = platform::ModifiersFromState(ShiftMask | Button1Mask | Mod1Mask);
  EXPECT_TRUE(m.left);
  EXPECT_TRUE(m.shift);
  EXPECT_TRUE(m.alt);
  EXPECT_FALSE(m.right);
  EXPECT_FALSE(m.control);
  EXPECT_TRUE(platform::ModifiersFromState(ControlMask | Button3Mask).control);
  EXPECT_TRUE(platform::ModifiersFromState(Button3Mask).right);
  EXPECT_FALSE(platform::ModifiersFromState(LockMask).shift);  // caps lock is no modifier
}

TEST(X11Input, SecondPressSoonAndCloseIsADoubleClickThenCountingStartsAgain) {
  using platform::MouseButton;
  platform::DoubleClickDetector d;
  EXPECT_FALSE(d.Press(MouseButton::kLeft, 10, 10, 1000));
  EXPECT_TRUE(d.Press(MouseButton::kLeft, 11, 9, 1400));
  EXPECT_FALSE(d.Press(MouseButton::kLeft, 11, 9, 1500));  // a third press starts afresh
  EXPECT_TRUE(d.Press(MouseButton::kLeft, 11, 9, 1600));
  // Too slow, too far, or another button.
  EXPECT_FALSE(d.Press(MouseButton::kLeft, 0, 0, 5000));
  EXPECT_FALSE(d.Press(MouseButton::kLeft, 0, 0, 5501));
  EXPECT_FALSE(d.Press(MouseButton::kLeft, 3, 0, 5600));
  EXPECT_FALSE(d.Press(MouseButton::kRight, 3, 0, 5700));
  EXPECT_TRUE(d.Press(MouseButton::kRight, 3, 0, 5800));
  // X server time is 32 bits and wraps after 49 days.
  EXPECT_FALSE(d.Press(MouseButton::kLeft, 0, 0, 0xFFFFFF00UL));
  EXPECT_TRUE(d.Press(MouseButton::kLeft, 0, 0, 0x10UL));
}

}  // namespace
