#include "ferro/shell/iparameter.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace {

std::string Display(const IParameter& p, double value, bool normalized) {
  char text[32];
  p.FormatValue(value, normalized, text, sizeof text);
  return text;
}

TEST(IParameter, PrecisionComesFromTheStepAndStopsAtSix) {
  const struct {
    double step;
    int precision;
  } cases[] = {{0.001, 3}, {0.1, 1}, {1.0, 0}, {0.5, 1}, {1e-7, 6}, {0.25, 2}};
  for (const auto& c : cases) {
    IParameter p;
    p.DefineDouble("x", 0.0, 0.0, 10.0, c.step, "");
    EXPECT_EQ(p.Precision(), c.precision) << "step " << c.step;
  }
}

TEST(IParameter, MaxBelowMinPlusStepIsRaised) {
  IParameter p;
  p.DefineDouble("x", 0.0, 1.0, 1.2, 0.5, "");
  EXPECT_DOUBLE_EQ(p.Max(), 1.5);
}

TEST(IParameter, IntegralKindsRoundToTheStepDoublesDoNot) {
  IParameter oversample;
  oversample.DefineInt("Oversample", 0, 0, 2, "LOW/HIGH/AUTO");
  oversample.SetFromNormalized(0.74);
  EXPECT_EQ(oversample.Value(), 1.0);
  oversample.SetFromNormalized(0.76);
  EXPECT_EQ(oversample.Value(), 2.0);
  oversample.SetFromNormalized(1.7);
  EXPECT_EQ(oversample.Value(), 2.0);  // above 1 yields max

  IParameter bias;
  bias.DefineDouble("Bias", -51.0, -70.0, -30.0, 0.1, "Volt");
  bias.SetFromNormalized(0.5);
  EXPECT_DOUBLE_EQ(bias.Value(), -50.0);
  bias.SetFromNormalized(0.123456);
  EXPECT_DOUBLE_EQ(bias.Value(), -70.0 + 0.123456 * 40.0);

  IParameter stereo;
  stereo.DefineBool("Stereo", false, "ignored");
  EXPECT_STREQ(stereo.Label(), "");
  stereo.SetFromNormalized(0.4);
  EXPECT_EQ(Display(stereo, stereo.Value(), false), "off");
  stereo.SetFromNormalized(0.5);
  EXPECT_EQ(Display(stereo, stereo.Value(), false), "on");
}

TEST(IParameter, HostValuesOutsideZeroToOneStayInRange) {
  IParameter input;
  input.DefineDouble("RED:Input", 1.0, 0.001, 2.0, 0.001, "Input");
  input.SetFromNormalized(-3.0);
  EXPECT_DOUBLE_EQ(input.Value(), 0.001);
  input.SetFromNormalized(std::nan(""));
  EXPECT_DOUBLE_EQ(input.Value(), 0.001);  // NaN leaves the value alone
}

TEST(IParameter, DisplayFormatsNonZeroWithPrecisionAndExactZeroAsZero) {
  IParameter p;
  p.DefineDouble("RED:PostGain", 0.3, 0.0, 1.0, 0.001, "Post Gain");
  EXPECT_EQ(Display(p, 0.3, false), "0.300");
  EXPECT_EQ(Display(p, 0.0004, false), "0.000");
  EXPECT_EQ(Display(p, 0.0, false), "0");
  EXPECT_EQ(Display(p, 0.5, true), "0.500");

  IParameter type;
  type.DefineInt("PA TubeType", 0, 0, 3, "Type");
  EXPECT_EQ(Display(type, 0.0, false), "0");
  EXPECT_EQ(Display(type, 2.0, false), "2");
  EXPECT_EQ(Display(type, 2.9, false), "2");            // truncated, not rounded
  EXPECT_EQ(Display(type, 1e30, false), "2000000000");  // defined for any host value
}

TEST(IParameter, NormalisationClampsAndInverts) {
  IParameter p;
  p.DefineDouble("Bias", -51.0, -70.0, -30.0, 0.1, "Volt");
  EXPECT_DOUBLE_EQ(p.Normalized(), 0.475);
  EXPECT_DOUBLE_EQ(p.NormalizeValue(-100.0), 0.0);
  EXPECT_DOUBLE_EQ(p.NormalizeValue(10.0), 1.0);
  p.SetClamped(-20.0);
  EXPECT_DOUBLE_EQ(p.Value(), -30.0);
}

TEST(IParameter, ValueForTextMatchesExactly) {
  IParameter p;
  p.DefineBool("Stereo", false, "");
  double v = -1.0;
  EXPECT_TRUE(p.ValueForText("on", &v));
  EXPECT_EQ(v, 1.0);
  EXPECT_FALSE(p.ValueForText("On", &v));
  EXPECT_FALSE(p.ValueForText(nullptr, &v));
}

}  // namespace
