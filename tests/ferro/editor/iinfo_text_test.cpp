// The help text's regions: later regions override earlier ones, bounds are
// exclusive except the whole-window one.
#include "ferro/editor/iinfo_text.h"

#include <gtest/gtest.h>

namespace {

TEST(IInfoTextTest, RegionsPickTheirTexts) {
  struct Case {
    int x, y, expected;
  };
  const Case cases[] = {
      {700, 20, 0}, {201, 97, 1}, {303, 135, 1}, {309, 97, 2},  {391, 87, 3}, {309, 17, 4},
      {395, 47, 4}, {397, 17, 5}, {479, 42, 5},  {397, 49, 8},  {397, 71, 6}, {479, 139, 6},
      {201, 19, 7}, {298, 87, 7}, {2, 2, 0},     {833, 277, 0},
  };
  for (const Case& c : cases)
    EXPECT_EQ(IInfoText::SelectorFor(c.x, c.y, 5), c.expected) << c.x << "," << c.y;
  // Region bounds are exclusive: the edges keep the about text.
  EXPECT_EQ(IInfoText::SelectorFor(200, 100, 5), 0);
  EXPECT_EQ(IInfoText::SelectorFor(396, 30, 5), 0);
  // Outside every region (the window's edge) the text stays as it was.
  EXPECT_EQ(IInfoText::SelectorFor(1, 100, 5), 5);
  EXPECT_EQ(IInfoText::SelectorFor(100, 1, 6), 6);
}

}  // namespace
