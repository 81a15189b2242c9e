#include "tests/host/vortan/vortan_host_fixture.h"

namespace vortan_host {
namespace {

const char* const kNames[23] = {
    "Input",      "Channel",    "Clean/Crunch", "Low/High Gain",  "CHA Drive",   "CHA Low",
    "CHA Mid",    "CHA High",   "CHA Contour",  "CHA Open/Focus", "CHA Bottom",  "CHA Bright",
    "CHB Drive",  "CHB Low",    "CHB Mid",      "CHB High",       "CHB Contour", "CHB Open/Focus",
    "CHB Bottom", "CHB Bright", "Volume",       "Mono/Stereo",    "LowQ/HighQ"};
const bool kSwitch[23] = {0, 1, 1, 1, 0, 0, 0, 0, 0, 1, 1, 1, 0, 0, 0, 0, 0, 1, 1, 1, 0, 1, 1};

TEST_F(VortanHost, FreshInstanceShowsTheParameterTable) {
  for (int i = 0; i < 23; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(plugin->ParamName(i), kNames[i]);
    EXPECT_EQ(plugin->ParamLabel(i), "");
    EXPECT_EQ(plugin->GetParameter(i), kSwitch[i] ? 0.0f : 0.5f);
    EXPECT_EQ(plugin->ParamDisplay(i), kSwitch[i] ? "0.000000" : "0.500000");
    EXPECT_EQ(plugin->Dispatch(vst2::effCanBeAutomated, i), 1);
  }
  plugin->SetParameter(20, 1.0f);
  EXPECT_EQ(plugin->ParamDisplay(20), "1.000000");
  plugin->SetParameter(20, 0.7f);
  EXPECT_EQ(plugin->ParamDisplay(20), "0.699999");
}

TEST_F(VortanHost, IndicesOutsideTheTableAreIgnored) {
  for (int i : {-1, 23, 1000}) {
    plugin->SetParameter(i, 1.0f);
    EXPECT_EQ(plugin->GetParameter(i), 0.0f);
    EXPECT_EQ(plugin->ParamName(i), "");
    EXPECT_EQ(plugin->ParamDisplay(i), "");
    EXPECT_EQ(plugin->Dispatch(vst2::effCanBeAutomated, i), 0);
  }
  for (int i = 0; i < 23; ++i) EXPECT_EQ(plugin->GetParameter(i), kSwitch[i] ? 0.0f : 0.5f);
}

}  // namespace
}  // namespace vortan_host
