#include "tests/host/vortan/vortan_host_fixture.h"

namespace vortan_host {
namespace {

const char* const kNames[23] = {
    "Input",      "Channel",    "Clean/Crunch", "Low/High Gain",  "CHA Drive",   "CHA Low",
    "CHA Mid",    "CHA High",   "CHA Contour",  "CHA Open/Focus", "CHA Bottom",  "CHA Bright",
    "CHB Drive",  "CHB Low",    "CHB Mid",      "CHB High",       "CHB Contour", "CHB Open/Focus",
    "CHB Bottom", "CHB Bright", "Volume",       "Mono/Stereo",    "LowQ/HighQ"};

bool IsSwitch(int index) {
  return index == 1 || index == 2 || index == 3 || (index >= 9 && index <= 11) ||
         (index >= 17 && index <= 19) || index == 21 || index == 22;
}

TEST_F(VortanHost, FreshInstanceShowsTheParameterTable) {
  for (int i = 0; i < 23; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(plugin->ParamName(i), kNames[i]);
    EXPECT_EQ(plugin->ParamLabel(i), "");
    EXPECT_EQ(plugin->GetParameter(i), IsSwitch(i) ? 0.0f : 0.5f);
    EXPECT_EQ(plugin->ParamDisplay(i), IsSwitch(i) ? "0.000000" : "0.500000");
    EXPECT_EQ(plugin->Dispatch(vst2::effCanBeAutomated, i), 1);
  }
}

TEST_F(VortanHost, DisplayCutsTheValueToEightCharacters) {
  plugin->SetParameter(20, 1.0f);
  EXPECT_EQ(plugin->ParamDisplay(20), "1.000000");
  plugin->SetParameter(20, 0.7f);
  EXPECT_EQ(plugin->ParamDisplay(20), "0.699999");
  plugin->SetParameter(20, 0.123456789f);
  EXPECT_EQ(plugin->ParamDisplay(20), "0.123456");
}

TEST_F(VortanHost, IndicesOutsideTheTableAreIgnored) {
  for (int i : {-1, 23, 1000}) {
    SCOPED_TRACE(i);
    plugin->SetParameter(i, 1.0f);
    EXPECT_EQ(plugin->GetParameter(i), 0.0f);
    EXPECT_EQ(plugin->ParamName(i), "");
    EXPECT_EQ(plugin->ParamDisplay(i), "");
    EXPECT_EQ(plugin->Dispatch(vst2::effCanBeAutomated, i), 0);
  }
  for (int i = 0; i < 23; ++i) EXPECT_EQ(plugin->GetParameter(i), IsSwitch(i) ? 0.0f : 0.5f);
}

TEST_F(VortanHost, ChannelModesRecallTheirKnobsThroughTheHostInterface) {
  plugin->SetParameter(3, 1.0f);   // B high gain, remembered while A plays
  plugin->SetParameter(12, 0.9f);  // CHB Drive into the B-high memory
  plugin->SetParameter(1, 1.0f);   // channel B: B-high
  plugin->SetParameter(0, 0.3f);   // Input of B-high
  plugin->SetParameter(3, 0.0f);   // B-low: its defaults come back
  EXPECT_EQ(plugin->GetParameter(12), 0.5f);
  EXPECT_EQ(plugin->GetParameter(0), 0.5f);
  plugin->SetParameter(3, 1.0f);
  EXPECT_EQ(plugin->GetParameter(12), 0.9f);
  EXPECT_EQ(plugin->GetParameter(0), 0.3f);
  EXPECT_EQ(plugin->ParamDisplay(12), "0.899999");
  EXPECT_TRUE(plugin->CallsWith(vst2::audioMasterAutomate).empty())
      << "host automation is not echoed back to the host";
}

}  // namespace
}  // namespace vortan_host
