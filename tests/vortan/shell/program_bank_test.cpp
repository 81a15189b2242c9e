#include "vortan/shell/program_bank.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

namespace vortan {
namespace {

std::string NameOf(const ProgramBank& bank, int index) {
  char text[64];
  std::memset(text, 'x', sizeof(text));
  bank.copyName(index, text);
  EXPECT_LE(std::strlen(text), static_cast<size_t>(kProgramNameSize - 1));
  return text;
}

TEST(ProgramBank, StartsWithTenInitProgramsAtTheirDefaults) {
  ProgramBank bank;
  for (int i = 0; i < kNumPrograms; ++i) {
    EXPECT_EQ(NameOf(bank, i), "Init");
    const ProgramBody& body = bank.program(i).body;
    for (int k = 0; k < kNumParams; ++k) EXPECT_EQ(body.values[k], k < 12 ? 0.5f : 0.0f) << k;
    for (const ModeMemory& m : body.memory) {
      for (int g = 0; g < kNumModeMemoryValues; ++g) EXPECT_EQ(m.g[g], g < 7 ? 0.5f : 0.0f);
    }
  }
}

TEST(ProgramBank, RecordBytesFollowTheChunkLayout) {
  ProgramBank bank;
  ProgramRecord& p = bank.program(0);
  p.body.values[11] = 0.25f;
  p.body.memory[3].g[ModeMemory::kBright] = 1.0f;
  const auto* bytes = reinterpret_cast<const unsigned char*>(&p);
  float volume, bright;
  std::memcpy(&volume, bytes + 24 + 4 * 11, 4);
  std::memcpy(&bright, bytes + 248 + 4 * 10, 4);
  EXPECT_EQ(volume, 0.25f);
  EXPECT_EQ(bright, 1.0f);
  EXPECT_EQ(static_cast<unsigned char*>(bank.bankBytes()) + kProgramChunkSize,
            reinterpret_cast<unsigned char*>(&bank.program(1)));
}

TEST(ProgramBank, NamesStayInsideTheirField) {
  ProgramBank bank;
  bank.setName(2, "abcdefghijklmnopqrstuvwxyz1234");  // 30 characters
  EXPECT_EQ(NameOf(bank, 2), "abcdefghijklmnopqrstuvw");
  EXPECT_EQ(bank.program(2).name[23], '\0');
  bank.setName(2, "Lead");
  EXPECT_EQ(NameOf(bank, 2), "Lead");
  for (int i = 5; i < kProgramNameSize; ++i) EXPECT_EQ(bank.program(2).name[i], '\0');

  // A chunk from a host may fill the field without a terminator.
  std::vector<unsigned char> chunk(kProgramChunkSize, 0);
  std::memcpy(chunk.data(), &bank.program(0), kProgramChunkSize);
  std::memset(chunk.data(), 'Q', kProgramNameSize);
  ASSERT_TRUE(bank.loadProgram(4, chunk.data()));
  EXPECT_EQ(NameOf(bank, 4), std::string(23, 'Q'));
  EXPECT_EQ(std::memcmp(&bank.program(4), chunk.data(), kProgramChunkSize), 0)
      << "the stored bytes are kept as the host gave them";
}

TEST(ProgramBank, ChunkWithNonFiniteValueIsRefusedWhole) {
  ProgramBank bank;
  std::vector<unsigned char> chunk(kBankChunkSize);
  std::memcpy(chunk.data(), bank.bankBytes(), kBankChunkSize);
  std::memcpy(chunk.data(), "Other", 6);
  const float nan = std::numeric_limits<float>::quiet_NaN();
  std::memcpy(chunk.data() + 9 * kProgramChunkSize + 200, &nan, 4);  // last program's memory
  EXPECT_FALSE(bank.loadBank(chunk.data()));
  EXPECT_EQ(NameOf(bank, 0), "Init");

  const float inf = std::numeric_limits<float>::infinity();
  std::memcpy(chunk.data() + 24, &inf, 4);
  EXPECT_FALSE(bank.loadProgram(0, chunk.data()));
  EXPECT_EQ(NameOf(bank, 0), "Init");
}

TEST(ProgramBank, ChunkValuesOutsideTheRangeAreBounded) {
  ProgramBank bank;
  ProgramRecord incoming = bank.program(0);
  incoming.body.values[0] = 1.5f;
  incoming.body.memory[1].g[ModeMemory::kDrive] = -2.0f;
  ASSERT_TRUE(bank.loadProgram(3, &incoming));
  EXPECT_EQ(bank.program(3).body.values[0], 1.0f);
  EXPECT_EQ(bank.program(3).body.memory[1].g[ModeMemory::kDrive], 0.0f);
}

}  // namespace
}  // namespace vortan
