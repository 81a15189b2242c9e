// The whole panel as rendered headless, compared pixel for pixel with the
// committed pictures in golden/. After an intended change of artwork or
// drawing, rewrite them with
//   VALVE_UPDATE_GOLDEN=1 <build>/tests/vortan/editor/vortan_editor_test --gtest_filter='*Golden*'
// and look at the new files before committing them. A failure leaves
// <name>_actual.png and <name>_diff.png in the test's build folder.
#include <gtest/gtest.h>

#include "tests/vortan/editor/editor_fixture.h"
#include "tests/vortan/editor/png_file.h"

namespace vortan {
namespace {

using SDEditorGolden = EditorFixture;

std::string Compare(const std::string& name, const platform::Bitmap& image) {
  return CompareWithGolden(VORTAN_EDITOR_GOLDEN_DIR, VORTAN_EDITOR_OUTPUT_DIR, name, image);
}

TEST_F(SDEditorGolden, AFreshInstanceShowsChannelACleanWithEveryKnobCentred) {
  ASSERT_TRUE(Open());
  window->Tick();
  EXPECT_EQ(Compare("panel_fresh", window->presented()), "");
}

TEST_F(SDEditorGolden, ChannelBHighGainWithKnobsAndSwitchesSetFromTheHost) {
  ASSERT_TRUE(Open());
  window->Tick();  // the first frame, then only the changes are drawn over it
  SetParameter(1, 1.0f);
  SetParameter(3, 1.0f);
  const std::pair<int32_t, float> values[] = {{0, 0.0f},   {12, 1.0f},  {13, 0.25f}, {14, 0.75f},
                                              {15, 0.1f},  {16, 0.9f},  {17, 1.0f},  {19, 1.0f},
                                              {20, 0.33f}, {21, 1.0f},  {22, 1.0f},  {4, 0.8f},
                                              {9, 1.0f},   {11, 0.49f}, {2, 1.0f}};
  for (const auto& [index, value] : values) SetParameter(index, value);
  window->Tick();
  EXPECT_EQ(Compare("panel_channel_b", window->presented()), "");
  // Drawing only what changed gives the same picture as drawing it all.
  editor->openFrameForTest()->drawArea(CRect{0, 0, kPanelWidth, kPanelHeight});
  EXPECT_EQ(Compare("panel_channel_b", editor->openFrameForTest()->frameBuffer()), "");
}

}  // namespace
}  // namespace vortan
