#include <algorithm>
#include <limits>

#include "tests/host/vortan/vortan_host_fixture.h"

namespace vortan_host {
namespace {

// Gives a program a name, values and all four mode memories of its own.
void Customise(host::PluginInstance& p, int program, float base) {
  p.Dispatch(vst2::effSetProgram, 0, program);
  std::string name = "Prog " + std::to_string(program);
  p.Dispatch(vst2::effSetProgramName, 0, 0, name.data());
  for (int channel : {0, 1}) {
    p.SetParameter(1, static_cast<float>(channel));
    for (int gain : {1, 0}) {
      p.SetParameter(channel == 0 ? 2 : 3, static_cast<float>(gain));
      const int drive = channel == 0 ? 4 : 12;
      for (int k = 0; k < 5; ++k) p.SetParameter(drive + k, base + 0.01f * k + 0.1f * gain);
      p.SetParameter(drive + 5 + gain, 1.0f);  // Open/Focus in one mode, Bottom in the other
      p.SetParameter(0, base + 0.2f * gain + 0.05f * channel);
    }
  }
  p.SetParameter(21, 1.0f);
}

TEST_F(VortanHost, BankRoundTripRestoresEveryProgramIntoAFreshInstance) {
  for (int program : {0, 4, 9}) Customise(*plugin, program, 0.05f * program);
  plugin->Dispatch(vst2::effSetProgram, 0, 4);
  const std::vector<uint8_t> bank = plugin->GetChunk(false);
  ASSERT_EQ(bank.size(), kBankSize);
  EXPECT_FLOAT_EQ(FloatAt(bank, 9 * kProgramSize + 116 + 44 * 3), 0.45f + 0.2f + 0.05f)
      << "B-high Input of program 9";
  std::vector<float> current;
  for (int i = 0; i < 23; ++i) current.push_back(plugin->GetParameter(i));

  auto fresh = NewInstance();
  ASSERT_EQ(fresh->SetChunk(bank, false), 1);
  EXPECT_EQ(fresh->ProgramName(), "Prog 0");
  fresh->Dispatch(vst2::effSetProgram, 0, 4);
  for (int i = 0; i < 23; ++i) EXPECT_EQ(fresh->GetParameter(i), current[i]) << i;
  EXPECT_EQ(fresh->GetChunk(false), bank) << "loading programs changed the bank";
  fresh->SetParameter(1, 0.0f);
  fresh->SetParameter(2, 1.0f);  // program 4's A-crunch memory
  EXPECT_FLOAT_EQ(fresh->GetParameter(8), 0.2f + 0.04f + 0.1f);
  EXPECT_EQ(fresh->GetParameter(10), 1.0f);
}

TEST_F(VortanHost, ProgramChunkOverwritesTheCurrentProgram) {
  Customise(*plugin, 3, 0.3f);
  const std::vector<uint8_t> program3 = plugin->GetChunk(true);
  ASSERT_EQ(program3.size(), kProgramSize);
  plugin->Dispatch(vst2::effSetProgram, 0, 7);
  ASSERT_EQ(plugin->SetChunk(program3, true), 1);
  EXPECT_EQ(plugin->Dispatch(vst2::effGetProgram), 7);
  EXPECT_EQ(plugin->ProgramName(), "Prog 3");
  EXPECT_EQ(plugin->GetParameter(0), FloatAt(program3, 24));
  const std::vector<uint8_t> bank = plugin->GetChunk(false);
  EXPECT_TRUE(std::equal(program3.begin(), program3.end(), bank.begin() + 7 * kProgramSize));
}

TEST_F(VortanHost, UnusableChunksAreRefusedWithNothingChanged) {
  Customise(*plugin, 0, 0.1f);
  const std::vector<uint8_t> bank = plugin->GetChunk(false);
  const float input = plugin->GetParameter(0);
  for (size_t size : {size_t{0}, size_t{291}, size_t{293}, kBankSize - 1, kBankSize + 1}) {
    EXPECT_EQ(plugin->SetChunk(std::vector<uint8_t>(size), true), 0) << size;
    EXPECT_EQ(plugin->SetChunk(std::vector<uint8_t>(size), false), 0) << size;
  }
  EXPECT_EQ(plugin->SetChunk(std::vector<uint8_t>(kProgramSize), false), 0);
  EXPECT_EQ(plugin->Dispatch(vst2::effSetChunk, 0, kBankSize, nullptr), 0);
  std::vector<uint8_t> corrupt = bank;
  const float nan = std::numeric_limits<float>::quiet_NaN();
  std::memcpy(corrupt.data() + 5 * kProgramSize + 200, &nan, sizeof(nan));
  EXPECT_EQ(plugin->SetChunk(corrupt, false), 0);
  EXPECT_EQ(plugin->GetChunk(false), bank);
  EXPECT_EQ(plugin->GetParameter(0), input);
}

TEST_F(VortanHost, UnterminatedNameFromAChunkIsReadInsideItsField) {
  std::vector<uint8_t> program = plugin->GetChunk(true);
  std::memset(program.data(), 'N', 24);
  ASSERT_EQ(plugin->SetChunk(program, true), 1);
  EXPECT_EQ(plugin->ProgramName(), std::string(23, 'N'));
  EXPECT_EQ(plugin->GetChunk(true), program) << "the stored bytes stay as the host gave them";
}

}  // namespace
}  // namespace vortan_host
