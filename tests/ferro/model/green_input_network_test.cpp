// The glide of the GREEN pre-gain pot position and its redesign rules.
#include "ferro/model/green_input_network.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace Ostra {
namespace {

TEST(GreenInputNetwork, StepHalvesTheDistanceEvery51SamplesAndStops) {
  const double fs = 88200.0;
  GreenInputNetwork net;
  net.Design(fs, 0.3, false);
  net.SetTarget(0.9, false, fs);
  EXPECT_EQ(net.current, 0.3);  // no immediate redesign: same rate, same crunch

  std::vector<int> step_at;  // sample index of each step
  std::vector<double> distance{0.9 - 0.3};
  double last = net.current;
  for (int n = 0; n < 51 * 40; ++n) {
    net.Process(0.0);
    if (net.current != last) {
      step_at.push_back(n);
      distance.push_back(net.target - net.current);
      last = net.current;
      // Each step redesigns for the new position.
      GreenInputNetwork fresh;
      fresh.Design(fs, net.current, false);
      for (int k = 0; k <= 4; ++k) {
        EXPECT_EQ(net.b[k], fresh.b[k]);
        EXPECT_EQ(net.a[k], fresh.a[k]);
      }
    }
  }
  ASSERT_GE(step_at.size(), 2u);
  EXPECT_EQ(step_at[0], 51);  // the counter first exceeds 50 on the 52nd sample
  for (size_t i = 1; i < step_at.size(); ++i) EXPECT_EQ(step_at[i] - step_at[i - 1], 51);
  for (size_t i = 1; i < distance.size(); ++i)
    EXPECT_NEAR(distance[i], 0.5 * distance[i - 1], 1e-15);
  // It stops at the first distance of 1e-6 or less.
  EXPECT_LE(std::fabs(distance.back()), 1e-6);
  EXPECT_GT(std::fabs(distance[distance.size() - 2]), 1e-6);
  EXPECT_EQ(step_at.size(), 20u);  // 0.6 / 2^20 < 1e-6 < 0.6 / 2^19
}

TEST(GreenInputNetwork, CrunchOrRateMoveRedesignsAtOnceWithTheCurrentPosition) {
  GreenInputNetwork net;
  net.Design(88200.0, 0.3, false);
  const double b0_clean = net.b[0];

  net.SetTarget(0.7, true, 88200.0);  // crunch changed
  EXPECT_TRUE(net.crunch);
  EXPECT_EQ(net.current, 0.3);
  GreenInputNetwork ref;
  ref.Design(88200.0, 0.3, true);
  EXPECT_EQ(net.b[0], ref.b[0]);
  EXPECT_NE(net.b[0], b0_clean);

  net.SetRate(88200.5);  // within 1 Hz: kept
  EXPECT_EQ(net.fs, 88200.0);
  net.SetRate(176400.0);
  EXPECT_EQ(net.fs, 176400.0);
  ref.Design(176400.0, 0.3, true);
  EXPECT_EQ(net.b[1], ref.b[1]);

  net.SetTarget(0.7, true, 88200.0);  // engine rate moved by more than 1 Hz
  EXPECT_EQ(net.fs, 88200.0);
}

}  // namespace
}  // namespace Ostra
