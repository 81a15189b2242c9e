// Loads Ostra_Ferro_B3.so once per test binary, as a host would.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "host/vst_host.h"

class FerroHost : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    std::string error;
    module_ = host::PluginModule::Load(OSTRA_FERRO_B3_PLUGIN_PATH, &error).release();
    ASSERT_NE(module_, nullptr) << error;
  }
  static void TearDownTestSuite() {
    delete module_;
    module_ = nullptr;
  }
  std::unique_ptr<host::PluginInstance> Create(host::HostConfig config = {}) {
    auto p = std::make_unique<host::PluginInstance>(*module_, config);
    EXPECT_TRUE(p->ok());
    return p;
  }
  std::unique_ptr<host::PluginInstance> CreateOpen(host::HostConfig config = {}) {
    auto p = Create(config);
    p->Open();
    return p;
  }
  static host::PluginModule* module_;
};

inline host::PluginModule* FerroHost::module_ = nullptr;
