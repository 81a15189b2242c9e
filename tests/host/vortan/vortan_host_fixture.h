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

class VortanHost : public ::testing::Test {
 protected:
  void SetUp() override {
    plugin = std::make_unique<host::PluginInstance>(Module());
    ASSERT_TRUE(plugin->ok());
    plugin->Open();
  }
  std::unique_ptr<host::PluginInstance> NewInstance() {
    auto p = std::make_unique<host::PluginInstance>(Module());
    EXPECT_TRUE(p->ok());
    p->Open();
    return p;
  }
  std::unique_ptr<host::PluginInstance> plugin;
};

// A float of a chunk, at a byte offset.
inline float FloatAt(const std::vector<uint8_t>& chunk, size_t offset) {
  float v;
  std::memcpy(&v, chunk.data() + offset, sizeof(v));
  return v;
}

// Byte offsets of the stored record.
constexpr size_t kProgramSize = 292;
constexpr size_t kBankSize = 2920;
inline size_t ValueOffset(int slot) { return 24 + 4 * static_cast<size_t>(slot); }
inline size_t MemoryOffset(int mode, int g) { return 116 + 44 * mode + 4 * static_cast<size_t>(g); }

}  // namespace vortan_host
