#include "vortan/model/engine_controls.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace vortan {
namespace {

TEST(EngineControls, ChannelADriveTapersAndCleanMakeUpGain) {
  struct Case {
    float v;
    double D, Dg, z;
  };
  const Case cases[] = {{0.0f, 0.086128, 0.05408, 55.46},
                        {0.5f, 0.29517, 0.16588, 18.08},
                        {1.0f, 0.99649, 0.62144, 4.827}};
  for (const Case& c : cases) {
    EngineControls ctl;
    ctl.setControl(EngineParam::kChaDrive, c.v);
    const ControlValues cv = ctl.read();
    EXPECT_NEAR(driveTaper(c.v), c.D, 5e-6);
    EXPECT_NEAR(cv.aDriveTarget, 0.5 * driveTaper(c.v), 1e-15) << "clean halves the drive";
    EXPECT_NEAR(cv.Dg, c.Dg, 5e-6);
    EXPECT_NEAR(3.0 * cv.Dinv, c.z, 0.0005 * c.z);
    EXPECT_DOUBLE_EQ(cv.Dq, std::sqrt(2.0 * cv.Dg));
  }
}

TEST(EngineControls, ContourGain) {
  EXPECT_DOUBLE_EQ(contourGain(0.0), 0.5225);
  EXPECT_NEAR(contourGain(0.5), 1.010475, 1e-12);
  EXPECT_NEAR(contourGain(1.0), 1.4446, 1e-12);
  EngineControls ctl;
  ctl.setControl(EngineParam::kChbContour, 1.0f);
  EXPECT_NEAR(ctl.read().bGc, 1.4446, 1e-12);
  EXPECT_EQ(ctl.read().bContour, 1.0);
}

TEST(EngineControls, InputAndDriveDependOnTheModeAtTheTimeOfTheCall) {
  EngineControls ctl;
  ctl.setControl(EngineParam::kInput, 0.5f);
  EXPECT_DOUBLE_EQ(ctl.read().inputTarget, 0.5001);
  ctl.setSwitch(EngineParam::kCleanCrunch, true);
  EXPECT_DOUBLE_EQ(ctl.read().inputTarget, 0.5001) << "recomputed only when Input is set";
  ctl.setControl(EngineParam::kInput, 0.5f);
  EXPECT_DOUBLE_EQ(ctl.read().inputTarget, 1.0001);
  ctl.setControl(EngineParam::kChaDrive, 0.5f);
  EXPECT_DOUBLE_EQ(ctl.read().aDriveTarget, driveTaper(0.5));
  ctl.setSwitch(EngineParam::kCleanCrunch, false);
  ctl.setSwitch(EngineParam::kChannel, true);
  ctl.setControl(EngineParam::kInput, 0.25f);
  EXPECT_DOUBLE_EQ(ctl.read().inputTarget, 0.5001);
  ctl.setControl(EngineParam::kChbDrive, 1.0f);
  EXPECT_DOUBLE_EQ(ctl.read().bDriveTarget, driveTaper(1.0));
}

TEST(EngineControls, OnlyTheQualitySwitchRequestsARedesign) {
  EngineControls ctl;
  ctl.setParameter(EngineParam::kMonoStereo, 0.5f);
  EXPECT_TRUE(ctl.read().stereo);
  EXPECT_FALSE(ctl.redesignPending());
  ctl.setParameter(EngineParam::kQuality, 1.0f);
  EXPECT_TRUE(ctl.read().highQuality);
  EXPECT_TRUE(ctl.takeRedesignRequest());
  EXPECT_FALSE(ctl.takeRedesignRequest());
}

TEST(EngineControls, OutOfRangeAndNanValuesAreClamped) {
  EngineControls ctl;
  ctl.setControl(EngineParam::kVolume, std::numeric_limits<float>::quiet_NaN());
  EXPECT_EQ(ctl.read().volume, 0.0f);
  ctl.setControl(EngineParam::kChaLow, 7.0f);
  EXPECT_EQ(ctl.read().aLow, 1.0);
  ctl.setControl(EngineParam::kChaMid, -std::numeric_limits<float>::infinity());
  EXPECT_EQ(ctl.read().aMid, 0.0);
  ctl.setControl(99, 0.3f);  // ignored
  ctl.setSwitch(-1, true);   // ignored
  EXPECT_FALSE(ctl.redesignPending());
}

}  // namespace
}  // namespace vortan
