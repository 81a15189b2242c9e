// The value prompt's keyboard and mouse: editing the field, moving through
// the list, committing and cancelling.
#include "ferro/graphics/value_prompt.h"

#include <gtest/gtest.h>

namespace {

platform::Event KeyEvent(platform::Key key, const char* text = "") {
  platform::Event e;
  e.type = platform::EventType::kKeyDown;
  e.key = key;
  std::snprintf(e.text, sizeof e.text, "%s", text);
  return e;
}

TEST(ValuePromptTest, FieldReplacesTheSelectedTextThenEdits) {
  IValuePrompt p;
  p.OpenField(IRect{100, 100, 124, 124}, "-51.0");
  EXPECT_EQ(p.Area().left, 94);
  EXPECT_EQ(p.Area().top, 104);
  EXPECT_EQ(p.OnKey(KeyEvent(platform::Key::kCharacter, "7")), IValuePrompt::Result::kNone);
  EXPECT_EQ(p.Text(), "7");
  p.OnKey(KeyEvent(platform::Key::kCharacter, "5"));
  p.OnKey(KeyEvent(platform::Key::kBackspace));
  EXPECT_EQ(p.Text(), "7");
  EXPECT_EQ(p.OnKey(KeyEvent(platform::Key::kEnter)), IValuePrompt::Result::kCommit);
  EXPECT_EQ(p.OnKey(KeyEvent(platform::Key::kEscape)), IValuePrompt::Result::kCancel);
  EXPECT_EQ(p.OnMouseDown(0, 0, platform::MouseButton::kRight), IValuePrompt::Result::kCancel);
  EXPECT_EQ(p.OnMouseDown(0, 0, platform::MouseButton::kLeft), IValuePrompt::Result::kCommit);
}

TEST(ValuePromptTest, ListMovesItsSelectionAndFitsItsLongestText) {
  IValuePrompt p;
  p.OpenList(IRect{0, 0, 24, 24}, {"LOW", "HIGH", "AUTO"}, 1);
  EXPECT_EQ(p.Area().width(), 8 * 4 + 24);
  EXPECT_EQ(p.Text(), "HIGH");
  p.OnKey(KeyEvent(platform::Key::kDown));
  p.OnKey(KeyEvent(platform::Key::kDown));
  EXPECT_EQ(p.Text(), "AUTO");
  p.OnKey(KeyEvent(platform::Key::kUp));
  EXPECT_EQ(p.Selected(), 1);
  // Typing does not change a list.
  p.OnKey(KeyEvent(platform::Key::kCharacter, "x"));
  EXPECT_EQ(p.Text(), "HIGH");
  // An out-of-range selection is kept inside the list.
  p.OpenList(IRect{0, 0, 24, 24}, {"a"}, 5);
  EXPECT_EQ(p.Text(), "a");
  EXPECT_EQ(p.Area().width(), 32);
}

}  // namespace
