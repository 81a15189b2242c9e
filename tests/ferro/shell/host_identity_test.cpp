#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>

#include "ferro/shell/iplug_ferro.h"

namespace {

const char* gProduct = "";
intptr_t VST2_CALL FakeHost(vst2::AEffect*, int32_t opcode, int32_t, intptr_t, void* ptr, float) {
  if (opcode == vst2::audioMasterGetProductString)
    std::snprintf(static_cast<char*>(ptr), 256, "%s", gProduct);
  if (opcode == vst2::audioMasterGetVendorVersion) return 20503;  // 2.5.3
  return 0;
}

TEST(HostIdentity, FirstMatchingSubstringIgnoringCase) {
  const struct {
    const char* product;
    int id;
  } cases[] = {{"REAPER", 1},
               {"Cubase LE", 3},
               {"my live rig", 9},
               {"Cubase Live", 3},
               {"FL Studio (fruity)", 7},
               {"Digital Performer", 22},
               {"", 0},
               {"Ardour", 0}};
  for (const auto& c : cases) {
    IPlug_Ferro p(nullptr);
    p.SetHost(c.product, 0);
    EXPECT_EQ(p.HostId(), c.id) << c.product;
  }
}

TEST(HostIdentity, OpenAsksOnceAndConvertsTheVendorVersion) {
  gProduct = "Reaper";
  IPlug_Ferro p(&FakeHost);
  EXPECT_EQ(p.HostId(), -1);
  p.GetAEffect()->dispatcher(p.GetAEffect(), vst2::effOpen, 0, 0, nullptr, 0.0f);
  EXPECT_EQ(p.HostId(), 1);
  EXPECT_EQ(p.HostVersion(), 0x00020503);

  gProduct = "";
  IPlug_Ferro q(&FakeHost);
  q.GetAEffect()->dispatcher(q.GetAEffect(), vst2::effOpen, 0, 0, nullptr, 0.0f);
  EXPECT_EQ(q.HostId(), 0);
  EXPECT_EQ(q.HostVersion(), 0);
}

}  // namespace
