// The three process callbacks of Ostra Ferro B3 through the ABI.
#include <cmath>
#include <cstring>

#include "tests/host/ferro/ferro_host_fixture.h"

namespace {

using Floats = std::vector<std::vector<float>>;
using Doubles = std::vector<std::vector<double>>;

Floats Sine(int channels, int frames, double freq = 220.0) {
  Floats in(static_cast<size_t>(channels), std::vector<float>(static_cast<size_t>(frames)));
  for (int c = 0; c < channels; ++c)
    for (int i = 0; i < frames; ++i)
      in[static_cast<size_t>(c)][static_cast<size_t>(i)] =
          static_cast<float>(0.3 * std::sin(2 * M_PI * freq * (i + 17 * c) / 44100.0));
  return in;
}

TEST_F(FerroHost, AccumulatingProcessAddsToTheHostsOutput) {
  auto a = CreateOpen();
  auto b = CreateOpen();
  Floats in = Sine(2, 512);
  Floats once(2, std::vector<float>(512, 0.0f));
  Floats twice(2, std::vector<float>(512, 0.0f));
  a->ProcessReplacing(in, once);
  b->ProcessAccumulating(in, twice);
  b->ProcessAccumulating(in, twice);  // same state path as a's second block
  Floats aSecond(2, std::vector<float>(512, 0.0f));
  a->ProcessReplacing(in, aSecond);
  double energy = 0.0;
  for (int i = 0; i < 512; ++i) {
    EXPECT_FLOAT_EQ(twice[0][static_cast<size_t>(i)],
                    once[0][static_cast<size_t>(i)] + aSecond[0][static_cast<size_t>(i)]);
    energy += std::fabs(once[0][static_cast<size_t>(i)]);
  }
  EXPECT_GT(energy, 0.0);
}

TEST_F(FerroHost, DoublePathRunsInPlaceAndMatchesTheFloatPath) {
  auto f = CreateOpen();
  auto d = CreateOpen();
  Floats in = Sine(2, 300);
  Floats out(2, std::vector<float>(300));
  f->ProcessReplacing(in, out);
  Doubles io(2, std::vector<double>(300));
  for (int c = 0; c < 2; ++c)
    for (int i = 0; i < 300; ++i)
      io[static_cast<size_t>(c)][static_cast<size_t>(i)] =
          in[static_cast<size_t>(c)][static_cast<size_t>(i)];
  d->ProcessDouble(io, io);  // the same buffers as input and output
  for (int i = 0; i < 300; ++i)
    EXPECT_FLOAT_EQ(static_cast<float>(io[0][static_cast<size_t>(i)]),
                    out[0][static_cast<size_t>(i)]);
}

TEST_F(FerroHost, MonoArrangementReadsZerosOnTheSecondInput) {
  auto p = CreateOpen();
  p->SetParameter(5, 1.0f);  // stereo, so the right engine runs on the second input
  vst2::VstSpeakerArrangement mono;
  std::memset(&mono, 0, sizeof mono);
  mono.type = vst2::kSpeakerArrMono;
  mono.numChannels = 1;
  EXPECT_EQ(
      p->Dispatch(vst2::effSetSpeakerArrangement, 0, reinterpret_cast<intptr_t>(&mono), &mono), 1);
  Floats in = Sine(1, 256);
  Floats out(1, std::vector<float>(256));
  p->ProcessReplacing(in, out);  // one input and one output pointer only
  double sum = 0.0;
  for (float s : out[0]) sum += std::fabs(s);
  EXPECT_GT(sum, 0.0);
}

TEST_F(FerroHost, BlocksLongerThanTheDeclaredSizeAreProcessedWhole) {
  auto small = CreateOpen();
  small->SetBlockSize(64);
  auto big = CreateOpen();
  Floats in = Sine(2, 1000);
  Floats a(2, std::vector<float>(1000)), b(2, std::vector<float>(1000));
  small->ProcessReplacing(in, a);  // 1000 frames after declaring 64
  big->ProcessReplacing(in, b);
  EXPECT_EQ(a, b);
  Doubles din(2, std::vector<double>(1000, 0.2)), dout(2, std::vector<double>(1000));
  small->ProcessDouble(din, dout);
  EXPECT_NE(dout[0][999], 0.0);
}

TEST_F(FerroHost, MonoOutputCopiesTheLeftSideAndIgnoresTheRightInput) {
  auto p = CreateOpen();
  auto q = CreateOpen();
  Floats in = Sine(2, 400);
  Floats other = in;
  for (float& s : other[1]) s = 0.9f;
  Floats a(2, std::vector<float>(400)), b(2, std::vector<float>(400));
  p->ProcessReplacing(in, a);
  q->ProcessReplacing(other, b);
  EXPECT_EQ(a[0], a[1]);
  EXPECT_EQ(a, b);
}

TEST_F(FerroHost, ZeroFramesWriteNothing) {
  auto p = CreateOpen();
  Floats in(2, std::vector<float>(8, 0.5f));
  Floats out(2, std::vector<float>(8, 7.0f));
  p->effect()->processReplacing(p->effect(), nullptr, nullptr, 0);
  float* ip[2] = {in[0].data(), in[1].data()};
  float* op[2] = {out[0].data(), out[1].data()};
  p->effect()->processReplacing(p->effect(), ip, op, 0);
  p->effect()->processReplacing(p->effect(), ip, op, -5);
  EXPECT_EQ(out[0][0], 7.0f);
}

}  // namespace
