// What a host may call on its audio thread allocates nothing once the
// plug-in exists: processing, automation with memory recalls, program
// changes and chunk loads.
#include <gtest/gtest.h>

#include <vector>

#include "tests/support/allocation_count.h"
#include "vortan/shell/vortan.h"

namespace vortan {
namespace {

TEST(VortanRealtime, AudioThreadCallsAllocateNothing) {
  if (!valve_test::CountsAllocations()) GTEST_SKIP() << "allocation counting is off under ASan";
  Vortan plugin(nullptr);
  std::vector<float> in(512, 0.1f), left(512), right(512);
  std::vector<unsigned char> bank(kBankChunkSize);
  float* ins[2] = {in.data(), in.data()};
  float* outs[2] = {left.data(), right.data()};
  const long before = valve_test::AllocationCount();
  for (int block = 0; block < 8; ++block) {
    plugin.setParameter(block % kNumParams, (block % 3) * 0.5f);
    plugin.setParameter(kChannel, static_cast<float>(block & 1));
    plugin.setParameter(kCleanCrunch, static_cast<float>((block >> 1) & 1));
    plugin.setParameter(kQuality, static_cast<float>((block >> 2) & 1));
    plugin.processReplacing(ins, outs, 512);
  }
  plugin.setProgram(3);
  void* chunk = nullptr;
  const int32_t size = plugin.getChunk(&chunk, false);
  std::copy_n(static_cast<unsigned char*>(chunk), size, bank.begin());
  EXPECT_EQ(plugin.setChunk(bank.data(), kBankChunkSize, false), 1);
  EXPECT_EQ(valve_test::AllocationCount() - before, 0);
}

}  // namespace
}  // namespace vortan
