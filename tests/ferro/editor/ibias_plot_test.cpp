// The bias plot: which curve it holds, where its points and its line land.
#include "ferro/editor/ibias_plot.h"

#include <cstdlib>

#include "ferro/model/fixed_curves.h"
#include "tests/ferro/editor/editor_fixture.h"

namespace {

TEST(IBiasPlotTest, LoadsACurveOnlyWhenTheTypeChanges) {
  IBiasPlot plot(nullptr, 201, 26, 98, 56);
  plot.SetTubeType(0);
  EXPECT_EQ(plot.CurveLoads(), 1);
  EXPECT_NEAR(plot.Curve()[400], 19.23, 0.01);
  plot.SetTubeType(1);
  EXPECT_NEAR(plot.Curve()[680], 202.49, 0.01);
  plot.SetTubeType(0);
  EXPECT_EQ(plot.CurveLoads(), 3);
  EXPECT_NEAR(plot.Curve()[1184], 467.36, 0.01);
  plot.SetTubeType(0);
  EXPECT_EQ(plot.CurveLoads(), 3);
  // The curve is the power amp's own table.
  for (int i = 0; i < IBiasPlot::kCurveSize; ++i)
    ASSERT_EQ(plot.Curve()[i], Ostra::curves::kPowerValveCurves[0][i]);
}

class BiasPlotDrawingTest : public EditorFixture {
 protected:
  bool IsBiasRed(int x, int y) {
    const uint8_t* p = Pixel(x, y);
    return std::abs(p[0] - 200) <= 2 && p[1] <= 2 && p[2] <= 2;
  }
  bool IsWhite(int x, int y) {
    const uint8_t* p = Pixel(x, y);
    return p[0] == 255 && p[1] == 255 && p[2] == 255;
  }
  void CheckCurve(int type, int skipColumn) {
    for (int n = 0; n <= 98; ++n) {
      if (201 + n == skipColumn) continue;
      const double v = Ostra::curves::kPowerValveCurves[type][400 + 8 * n];
      const int row = static_cast<int>(26 + 56 - v * 56 / 500 + 0.5);
      EXPECT_TRUE(IsWhite(201 + n, row)) << "type " << type << " column " << n;
    }
  }
};

TEST_F(BiasPlotDrawingTest, LineFollowsBiasAndPointsFollowTheValveType) {
  window_->Tick();
  EXPECT_TRUE(IsBiasRed(248, 30));
  EXPECT_TRUE(IsBiasRed(248, 60));
  EXPECT_TRUE(IsWhite(201, 80));  // type 0's lowest sample
  CheckCurve(0, 248);

  SetNormalized(kBias, 0.0);  // -70 V
  window_->Tick();
  EXPECT_TRUE(IsBiasRed(229, 30));
  EXPECT_TRUE(IsBiasRed(229, 60));
  EXPECT_FALSE(IsBiasRed(248, 30));
  SetNormalized(kBias, 1.0);  // -30 V
  window_->Tick();
  EXPECT_TRUE(IsBiasRed(269, 60));

  SetNormalized(kTubeType, 1.0 / 3.0);
  window_->Tick();
  EXPECT_EQ(editor_->BiasPlot()->TubeType(), 1);
  CheckCurve(1, 269);
}

TEST_F(BiasPlotDrawingTest, HalfVoltBiasSharesTheLineBetweenTwoColumns) {
  SetNormalized(kBias, (70.0 - 50.5) / 40.0);
  window_->Tick();
  const uint8_t* left = Pixel(248, 60);
  const uint8_t* right = Pixel(249, 60);
  EXPECT_GT(left[0], left[1] + 40);
  EXPECT_GT(right[0], right[1] + 40);
  EXPECT_FALSE(IsBiasRed(248, 60));
}

}  // namespace
