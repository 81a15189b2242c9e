// Loads Vortan_v1_1 through dlopen and its entry point, as a host does.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "host/vst_host.h"

namespace vortan_host {

inline const host::PluginModule& Module() {
  static std::unique_ptr<host::PluginModule> module = [] {
    std::string error;
    auto m = host::PluginModule::Load(VORTAN_V1_1_PLUGIN_PATH, &error);
    if (!m) ADD_FAILURE() << error;
    return m;
  }();
  return *module;
}

inline std::unique_ptr<host::PluginInstance> NewInstance() {
  auto p = std::make_unique<host::PluginInstance>(Module());
  EXPECT_TRUE(p->ok());
  p->Open();
  return p;
}

class VortanHost : public ::testing::Test {
 protected:
  std::unique_ptr<host::PluginInstance> plugin = NewInstance();
};

constexpr size_t kProgramSize = 292;
constexpr size_t kBankSize = 2920;

// The float at a byte offset of a chunk: values at 24 + 4 slot, memories at
// 116 + 44 mode + 4 g.
inline float FloatAt(const std::vector<uint8_t>& chunk, size_t offset) {
  float v;
  std::memcpy(&v, chunk.data() + offset, sizeof(v));
  return v;
}

}  // namespace vortan_host
