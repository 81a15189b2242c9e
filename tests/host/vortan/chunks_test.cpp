#include <cmath>
#include <limits>

#include "tests/host/vortan/vortan_host_fixture.h"

namespace vortan_host {
namespace {

// A program that differs from the defaults in every part the bank stores:
// name, values and all four mode memories.
void Customise(host::PluginInstance& p, int program, float base) {
  p.Dispatch(vst2::effSetProgram, 0, program);
  std::string name = "Prog " + std::to_string(program);
  p.Dispatch(vst2::effSetProgramName, 0, 0, name.data());
  for (int channel : {0, 1}) {
    p.SetParameter(1, static_cast<float>(channel));
    for (int gain : {1, 0}) {
      p.SetParameter(channel == 0 ? 2 : 3, static_cast<float>(gain));
      const int first = channel == 0 ? 4 : 12;
      for (int k = 0; k < 5; ++k) p.SetParameter(first + k, base + 0.01f * (k + 1) + 0.1f * gain);
      p.SetParameter(first + 5 + gain, 1.0f);  // a voicing switch
      p.SetParameter(0, base + 0.2f * gain + 0.05f * channel);
      p.SetParameter(20, base + 0.3f + 0.05f * channel);
    }
  }
  p.SetParameter(21, 1.0f);
}

TEST_F(VortanHost, ChunkSizesFollowTheIndex) {
  EXPECT_EQ(plugin->GetChunk(false).size(), kBankSize);
  EXPECT_EQ(plugin->GetChunk(true).size(), kProgramSize);
  void* data = nullptr;
  EXPECT_EQ(plugin->Dispatch(vst2::effGetChunk, 0, 0, &data), 2920);
  EXPECT_EQ(plugin->Dispatch(vst2::effGetChunk, 1, 0, &data), 292);
}

TEST_F(VortanHost, BankRoundTripRestoresEveryProgramIntoAFreshInstance) {
  for (int program : {0, 4, 9}) Customise(*plugin, program, 0.05f * program);
  plugin->Dispatch(vst2::effSetProgram, 0, 4);
  const std::vector<uint8_t> bank = plugin->GetChunk(false);
  std::vector<float> current(23);
  for (int i = 0; i < 23; ++i) current[i] = plugin->GetParameter(i);
  // The memories were really written (B-high Input of program 9).
  EXPECT_FLOAT_EQ(FloatAt(bank, 9 * kProgramSize + MemoryOffset(3, 0)), 0.45f + 0.2f + 0.05f);

  auto fresh = NewInstance();
  ASSERT_EQ(fresh->SetChunk(bank, false), 1);
  EXPECT_EQ(fresh->GetChunk(false), bank);
  EXPECT_EQ(fresh->ProgramName(), "Prog 0") << "the current program stays 0";
  fresh->Dispatch(vst2::effSetProgram, 0, 4);
  EXPECT_EQ(fresh->ProgramName(), "Prog 4");
  for (int i = 0; i < 23; ++i) EXPECT_EQ(fresh->GetParameter(i), current[i]) << i;
  EXPECT_EQ(fresh->GetChunk(false), bank) << "loading programs changed the bank";

  // The memories recall: program 4's B-low, then its A-crunch.
  fresh->SetParameter(3, 0.0f);
  EXPECT_EQ(fresh->GetParameter(12), 0.2f + 0.01f);
  fresh->SetParameter(1, 0.0f);
  fresh->SetParameter(2, 1.0f);
  EXPECT_EQ(fresh->GetParameter(8), 0.2f + 0.05f + 0.1f);
  EXPECT_EQ(fresh->GetParameter(10), 1.0f);
}

TEST_F(VortanHost, ProgramChunkOverwritesTheCurrentProgram) {
  Customise(*plugin, 3, 0.3f);
  const std::vector<uint8_t> program3 = plugin->GetChunk(true);
  plugin->Dispatch(vst2::effSetProgram, 0, 7);
  ASSERT_EQ(plugin->SetChunk(program3, true), 1);
  EXPECT_EQ(plugin->Dispatch(vst2::effGetProgram), 7);
  EXPECT_EQ(plugin->ProgramName(), "Prog 3");
  EXPECT_EQ(plugin->GetChunk(true), program3);
  EXPECT_EQ(plugin->GetParameter(21), 1.0f);
  EXPECT_EQ(plugin->GetParameter(0), FloatAt(program3, ValueOffset(0)));
  const std::vector<uint8_t> bank = plugin->GetChunk(false);
  EXPECT_TRUE(std::equal(program3.begin(), program3.end(), bank.begin() + 7 * kProgramSize));
  EXPECT_TRUE(std::equal(program3.begin(), program3.end(), bank.begin() + 3 * kProgramSize));
}

TEST_F(VortanHost, UnusableChunksAreRefusedWithNothingChanged) {
  Customise(*plugin, 0, 0.1f);
  const std::vector<uint8_t> bank = plugin->GetChunk(false);
  const float input = plugin->GetParameter(0);

  std::vector<uint8_t> other(kBankSize, 0);
  for (size_t size : {size_t{0}, size_t{291}, size_t{293}, size_t{2919}, size_t{2921}}) {
    std::vector<uint8_t> wrong(size, 0);
    EXPECT_EQ(plugin->SetChunk(wrong, true), 0) << size;
    EXPECT_EQ(plugin->SetChunk(wrong, false), 0) << size;
  }
  EXPECT_EQ(plugin->SetChunk(std::vector<uint8_t>(kProgramSize, 0), false), 0);
  EXPECT_EQ(plugin->SetChunk(std::vector<uint8_t>(kBankSize, 0), true), 0);
  EXPECT_EQ(plugin->Dispatch(vst2::effSetChunk, 0, kBankSize, nullptr), 0);

  std::vector<uint8_t> corrupt = bank;
  const float nan = std::numeric_limits<float>::quiet_NaN();
  std::memcpy(corrupt.data() + 5 * kProgramSize + ValueOffset(3), &nan, sizeof(nan));
  EXPECT_EQ(plugin->SetChunk(corrupt, false), 0);

  EXPECT_EQ(plugin->GetChunk(false), bank);
  EXPECT_EQ(plugin->GetParameter(0), input);
}

TEST_F(VortanHost, UnterminatedNameFromAChunkIsReadInsideItsField) {
  std::vector<uint8_t> program = plugin->GetChunk(true);
  std::memset(program.data(), 'N', 24);
  ASSERT_EQ(plugin->SetChunk(program, true), 1);
  EXPECT_EQ(plugin->ProgramName(), std::string(23, 'N'));
  char text[64];
  std::memset(text, 0, sizeof(text));
  EXPECT_EQ(plugin->Dispatch(vst2::effGetProgramNameIndexed, 0, 0, text), 1);
  EXPECT_EQ(std::string(text), std::string(23, 'N'));
}

}  // namespace
}  // namespace vortan_host
