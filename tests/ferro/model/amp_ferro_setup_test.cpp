// Engine initialisation, the rate change and the design setters of Amp_Ferro.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "ferro/model/amp_ferro.h"

namespace Ostra {
namespace {

template <int N>
void ExpectSameCoefficients(const CircuitFilter<N>& got, const CircuitFilter<N>& want,
                            const char* what) {
  EXPECT_EQ(got.fs, want.fs) << what;
  for (int k = 0; k <= N; ++k) {
    EXPECT_EQ(got.b[k], want.b[k]) << what << " b" << k;
    EXPECT_EQ(got.a[k], want.a[k]) << what << " a" << k;
  }
}

// Every network of the engine against fresh designs from the engine's inputs.
void ExpectDesignedFor(Amp_Ferro& amp, double fs) {
  const EngineControls& c = amp.controls();
  GreenToneStack green_stack;
  green_stack.Design(fs, c.bass, c.mid, c.treble);
  ExpectSameCoefficients(amp.green_tone_stack(), green_stack, "GreenToneStack");
  RedToneStack red_stack;
  red_stack.Design(fs, c.bass, c.mid, c.treble, c.lead_mod);
  ExpectSameCoefficients(amp.red_tone_stack(), red_stack, "RedToneStack");
  RedInputNetwork red_input;
  red_input.Design(fs, c.pre_gain, c.lead_mod);
  ExpectSameCoefficients(amp.red_input_network(), red_input, "RedInputNetwork");
  GreenBrightNetwork bright;
  bright.Design(fs, c.channel, c.bright);
  ExpectSameCoefficients(amp.green_bright_network(), bright, "GreenBrightNetwork");
  RedLeadNetwork lead;
  lead.Design(fs, c.lead_mod);
  for (int k = 0; k < 6; ++k) EXPECT_EQ(amp.red_lead_network().c[k], lead.c[k]);
  PrePowerShelf shelf;
  shelf.Design(fs);
  EXPECT_EQ(amp.pre_power_shelf().h, shelf.h);
  EXPECT_EQ(amp.controls().sample_rate, fs);
}

class AmpFerroSetup : public ::testing::Test {
 protected:
  void SetUp() override {
    amp = std::make_unique<Amp_Ferro>();  // large: never on the stack
    amp->Initialise(88200.0);
  }
  void Run(int samples) {
    for (int n = 0; n < samples; ++n) {
      double s = 0.05 * std::sin(0.03 * n);
      amp->ProcessOversampled2(s);
      ASSERT_TRUE(std::isfinite(s));
    }
  }
  std::unique_ptr<Amp_Ferro> amp;
};

TEST_F(AmpFerroSetup, InitialiseDesignsEveryNetworkAtTheEngineRate) {
  ExpectDesignedFor(*amp, 88200.0);
  EXPECT_EQ(amp->green_input_network().fs, 88200.0);
  EXPECT_EQ(amp->preamp_stages().hp_lead_mod.fc, 105.5);
}

TEST_F(AmpFerroSetup, RateChangeRedesignsButKeepsEveryState) {
  Run(500);
  const double stack_state = amp->green_tone_stack().s[0];
  const double lead_state = amp->red_lead_network().y1;
  const double shelf_state = amp->pre_power_shelf().s;
  const GreenInputNetwork input_before = amp->green_input_network();

  amp->SetSampleRate(88200.5);  // less than 1 Hz: the GREEN input network keeps its design
  EXPECT_EQ(amp->green_input_network().fs, input_before.fs);
  EXPECT_EQ(amp->green_input_network().b[0], input_before.b[0]);

  amp->SetSampleRate(176400.0);
  ExpectDesignedFor(*amp, 176400.0);
  EXPECT_EQ(amp->green_input_network().fs, 176400.0);
  EXPECT_EQ(amp->green_tone_stack().s[0], stack_state);
  EXPECT_EQ(amp->red_lead_network().y1, lead_state);
  EXPECT_EQ(amp->pre_power_shelf().s, shelf_state);
  Run(500);
}

TEST_F(AmpFerroSetup, LeadModMovesTheCouplingCornerAndRedesignsTheRedNetworks) {
  amp->SetLeadMod(true);
  EXPECT_EQ(amp->preamp_stages().hp_lead_mod.fc, 105.7);
  EXPECT_NEAR(amp->preamp_stages().hp_lead_mod.c.R, 1505.7232, 1e-3);
  EXPECT_TRUE(amp->red_tone_stack().lead_mod);
  EXPECT_TRUE(amp->red_input_network().lead_mod);
  EXPECT_TRUE(amp->red_lead_network().lead_mod);
  amp->SetLeadMod(false);
  EXPECT_EQ(amp->preamp_stages().hp_lead_mod.fc, 7.0);
  EXPECT_NEAR(amp->preamp_stages().hp_lead_mod.c.R, 22736.420, 1e-2);
  ExpectDesignedFor(*amp, 88200.0);
}

TEST_F(AmpFerroSetup, BrightDesignFollowsTheChannelAtDesignTime) {
  amp->SetChannel(1);
  amp->SetBright(true);
  EXPECT_EQ(amp->green_bright_network().channel, 1);
  amp->SetChannel(0);  // the RED design stays until a Bright or rate change
  EXPECT_EQ(amp->green_bright_network().channel, 1);
  amp->SetBright(true);
  EXPECT_EQ(amp->green_bright_network().channel, 0);
}

}  // namespace
}  // namespace Ostra
