// Saving and restoring the whole state through the host's chunk requests.
#include <cmath>

#include "tests/host/ferro/ferro_host_fixture.h"

namespace {

using Floats = std::vector<std::vector<float>>;

// A plucked-string-like test signal: decaying partials, restruck every 0.5 s.
Floats Pluck(int frames, int offset) {
  Floats in(2, std::vector<float>(static_cast<size_t>(frames)));
  for (int i = 0; i < frames; ++i) {
    const double t = (i + offset) / 44100.0;
    const double since = std::fmod(t, 0.5);
    double s = 0.0;
    for (int k = 1; k <= 6; ++k) s += std::sin(2 * M_PI * 110.0 * k * t) / k;
    s *= 0.25 * std::exp(-6.0 * since);
    in[0][static_cast<size_t>(i)] = static_cast<float>(s);
    in[1][static_cast<size_t>(i)] = static_cast<float>(0.8 * s);
  }
  return in;
}

void Apply(host::PluginInstance& p) {
  const struct {
    int index;
    float value;
  } settings[] = {{6, 0.0f},  {4, 0.5f},  {28, 0.0f},  {5, 1.0f},   {16, 0.8f},
                  {18, 0.3f}, {19, 0.7f}, {20, 0.65f}, {21, 0.4f},  {22, 0.2f},
                  {15, 1.0f}, {14, 1.0f}, {23, 0.3f},  {24, 0.67f}, {25, 0.5f},
                  {27, 1.0f}, {1, 0.6f},  {3, 0.4f},   {9, 0.1f},   {11, 0.9f}};
  for (const auto& s : settings) p.SetParameter(s.index, s.value);
}

std::vector<float> Parameters(host::PluginInstance& p) {
  std::vector<float> v;
  for (int i = 0; i < 33; ++i) v.push_back(p.GetParameter(i));
  return v;
}

TEST_F(FerroHost, BankAndProgramChunksRestoreEveryParameterIntoFreshInstances) {
  auto original = CreateOpen();
  Apply(*original);
  const std::vector<uint8_t> program = original->GetChunk(true);
  const std::vector<uint8_t> bank = original->GetChunk(false);
  ASSERT_EQ(program.size(), 272u);
  ASSERT_EQ(bank.size(), 287u);
  for (bool useProgram : {true, false}) {
    auto fresh = CreateOpen();
    EXPECT_EQ(fresh->SetChunk(useProgram ? program : bank, useProgram), 1);
    EXPECT_EQ(Parameters(*fresh), Parameters(*original)) << (useProgram ? "program" : "bank");
    EXPECT_EQ(fresh->GetChunk(true), program);
  }
}

TEST_F(FerroHost, InstancesRestoredFromOneChunkAreBitIdentical) {
  auto original = CreateOpen();
  Apply(*original);
  const std::vector<uint8_t> chunk = original->GetChunk(true);
  auto a = CreateOpen();
  auto b = CreateOpen();
  ASSERT_EQ(a->SetChunk(chunk, true), 1);
  ASSERT_EQ(b->SetChunk(chunk, true), 1);
  for (int block = 0; block < 20; ++block) {
    Floats in = Pluck(1024, block * 1024);
    Floats oa(2, std::vector<float>(1024)), ob = oa;
    a->ProcessReplacing(in, oa);
    b->ProcessReplacing(in, ob);
    ASSERT_EQ(oa, ob) << "block " << block;
  }
}

TEST_F(FerroHost, RestoredInstancesConvergeToTheOriginal) {
  auto original = CreateOpen();
  Apply(*original);
  // The four-times frame is left for the test above: there the power amp's
  // slowest mode (the 22 uF feedback capacitor over some 44 kOhm, about a
  // second) is excited differently by the restore's settling run and needs
  // longer than two seconds to fall below -80 dB.
  original->SetParameter(4, 0.0f);
  // The original has a history: a second of playing before the save.
  for (int block = 0; block < 43; ++block) {
    Floats in = Pluck(1024, block * 1024);
    Floats out(2, std::vector<float>(1024));
    original->ProcessReplacing(in, out);
  }
  const std::vector<uint8_t> chunk = original->GetChunk(true);
  auto a = CreateOpen();
  auto b = CreateOpen();
  ASSERT_EQ(a->SetChunk(chunk, true), 1);
  ASSERT_EQ(b->SetChunk(chunk, true), 1);

  double lastDiff = 0.0;
  double level = 0.0;
  const int blocks = 2 * 44100 / 1024 + 1;
  for (int block = 0; block < blocks; ++block) {
    Floats in = Pluck(1024, 50000 + block * 1024);
    Floats oo(2, std::vector<float>(1024)), oa = oo, ob = oo;
    original->ProcessReplacing(in, oo);
    a->ProcessReplacing(in, oa);
    b->ProcessReplacing(in, ob);
    ASSERT_EQ(oa, ob) << "block " << block;
    if (block == blocks - 1) {
      for (int c = 0; c < 2; ++c)
        for (size_t i = 0; i < 1024; ++i) {
          lastDiff = std::max(lastDiff, static_cast<double>(std::fabs(oa[c][i] - oo[c][i])));
          level = std::max(level, static_cast<double>(std::fabs(oo[c][i])));
        }
    }
  }
  EXPECT_GT(level, 1e-3);
  EXPECT_LT(20.0 * std::log10(lastDiff + 1e-30), -80.0) << "difference " << lastDiff;
}

}  // namespace
