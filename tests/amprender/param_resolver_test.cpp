// --set resolution against displays computed here, shaped like the plug-ins'
// own: a linear volt scale with one decimal, a dB gain, a three-way switch,
// and off/on switches that round at one half.
#include "host/amprender/param_resolver.h"

#include <cmath>
#include <cstdio>
#include <functional>
#include <map>

#include "gtest/gtest.h"

namespace amprender {
namespace {

class FakeProbe : public DisplayProbe {
 public:
  std::map<int, std::function<std::string(float)>> displays;
  std::string DisplayAt(int index, float n) override { return displays.at(index)(n); }
};

std::string Fixed(double v, int decimals) {
  char text[32];
  std::snprintf(text, sizeof text, "%.*f", decimals, v);
  return text;
}

enum { kBias, kGain, kMode, kStereo, kDrive };

const std::vector<ParamInfo> kParams = {{kBias, "Bias", "Volt"},
                                        {kGain, "Gain", "dB"},
                                        {kMode, "Mode", ""},
                                        {kStereo, "Stereo", ""},
                                        {kDrive, "CHA Drive", ""}};

FakeProbe MakeProbe() {
  FakeProbe p;
  // -70..-30 V, a double parameter shown with one decimal.
  p.displays[kBias] = [](float n) { return Fixed(-70.0 + 40.0 * n, 1); };
  p.displays[kGain] = [](float n) {
    return n <= 0.0f ? std::string("-inf") : Fixed(20.0 * std::log10(2.0 * n), 1);
  };
  // An int 0..2 rounded to the nearest step, with texts.
  p.displays[kMode] = [](float n) {
    static const char* const kTexts[] = {"LOW", "HIGH", "AUTO"};
    return std::string(kTexts[static_cast<int>(std::floor(n * 2.0 + 0.5))]);
  };
  p.displays[kStereo] = [](float n) { return std::string(n >= 0.5f ? "on" : "off"); };
  p.displays[kDrive] = [](float n) { return Fixed(n, 6); };
  return p;
}

float Resolve(int index, const std::string& value, std::string* error = nullptr) {
  FakeProbe probe = MakeProbe();
  float n = -1.0f;
  std::string ignored;
  if (!ResolveValue(kParams[static_cast<size_t>(index)], value, probe, &n,
                    error ? error : &ignored))
    return -1.0f;
  return n;
}

TEST(ParamResolver, PlainNumberIsTheNormalisedValue) {
  EXPECT_FLOAT_EQ(Resolve(kDrive, "0.25"), 0.25f);
  EXPECT_FLOAT_EQ(Resolve(kBias, "1"), 1.0f);
  EXPECT_FLOAT_EQ(Resolve(kStereo, " 0 "), 0.0f);
}

TEST(ParamResolver, NumberOutsideZeroToOneIsRefusedWithAHint) {
  std::string error;
  EXPECT_LT(Resolve(kBias, "-45", &error), 0.0f);
  EXPECT_NE(error.find("Bias=-45 Volt"), std::string::npos) << error;
  EXPECT_NE(error.find("-70.0 Volt to -30.0 Volt"), std::string::npos) << error;
  EXPECT_LT(Resolve(kDrive, "1.5", &error), 0.0f);
}

TEST(ParamResolver, NumberWithUnitGoesThroughTheDisplay) {
  // The display plateau of "-45.0" is centred on -45 V: n = 25 / 40.
  EXPECT_NEAR(Resolve(kBias, "-45 Volt"), 0.625f, 1e-5f);
  EXPECT_NEAR(Resolve(kBias, "-45.0volt"), 0.625f, 1e-5f);
  // Range ends land exactly on 0 and 1.
  EXPECT_EQ(Resolve(kBias, "-70 Volt"), 0.0f);
  EXPECT_EQ(Resolve(kBias, "-30 Volt"), 1.0f);
  // -6 dB of a 0..2 gain: 10^(-6/20) / 2.
  EXPECT_NEAR(Resolve(kGain, "-6 dB"), 0.2506f, 2e-4f);
  // Not on the scale, or finer than the display can show apart.
  EXPECT_LT(Resolve(kBias, "-20 Volt"), 0.0f);
  EXPECT_NEAR(Resolve(kBias, "-45.04 Volt"), 0.625f, 1e-5f);
  EXPECT_NEAR(Resolve(kBias, "-45.06 Volt"), 0.6225f, 1e-5f);  // shows as -45.1
}

TEST(ParamResolver, DisplayTextPicksTheMiddleOrTheEndOfItsRange) {
  EXPECT_EQ(Resolve(kStereo, "on"), 1.0f);
  EXPECT_EQ(Resolve(kStereo, "OFF"), 0.0f);
  EXPECT_NEAR(Resolve(kMode, "high"), 0.5f, 1e-5f);
  EXPECT_EQ(Resolve(kMode, "AUTO"), 1.0f);
  std::string error;
  EXPECT_LT(Resolve(kMode, "medium", &error), 0.0f);
  EXPECT_NE(error.find("\"LOW\", \"HIGH\", \"AUTO\""), std::string::npos) << error;
}

TEST(ParamResolver, NamesMatchExactlyThenIgnoringCase) {
  std::string error;
  EXPECT_EQ(FindParam(kParams, "CHA Drive", &error), kDrive);
  EXPECT_EQ(FindParam(kParams, "cha drive", &error), kDrive);
  EXPECT_EQ(FindParam(kParams, "Drive", &error), -1);
  EXPECT_NE(error.find("close matches: \"CHA Drive\""), std::string::npos) << error;
  EXPECT_EQ(FindParam(kParams, "Bais", &error), -1);
  EXPECT_NE(error.find("\"Bias\""), std::string::npos) << error;
  EXPECT_EQ(FindParam(kParams, "Quack", &error), -1);
  EXPECT_NE(error.find("--list-params"), std::string::npos) << error;
}

}  // namespace
}  // namespace amprender
