// The Windows DLLs seen by a Windows host (run under Wine): both entry
// points, identity, parameters, chunks and audio through every process
// callback, compared with what the Linux build of the same plug-in answers
// for the same requests (reference files written by
// windows_render_reference; their folder comes in VALVE_LINUX_REFERENCE_DIR).
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "tests/windows/plugin_probe.h"

namespace {

struct Plugin {
  const char* name;
  const char* path;
  int params;
};

const Plugin kPlugins[] = {
    {"ferro", FERRO_DLL, 33},
    {"vortan", VORTAN_DLL, 23},
};

class WindowsPlugin : public ::testing::TestWithParam<Plugin> {
 protected:
  std::unique_ptr<host::PluginModule> Load() {
    std::string error;
    std::unique_ptr<host::PluginModule> module = host::PluginModule::Load(GetParam().path, &error);
    EXPECT_TRUE(module) << error;
    return module;
  }
};

TEST_P(WindowsPlugin, BothEntryPointsAreTheSameFunction) {
  HMODULE dll = LoadLibraryA(GetParam().path);
  ASSERT_NE(dll, nullptr) << "LoadLibrary error " << GetLastError();
  FARPROC plugin_main = GetProcAddress(dll, "VSTPluginMain");
  FARPROC main_alias = GetProcAddress(dll, "main");
  EXPECT_NE(plugin_main, nullptr);
  EXPECT_EQ(plugin_main, main_alias);
  FreeLibrary(dll);
}

TEST_P(WindowsPlugin, AnswersAndSoundsLikeTheLinuxBuild) {
  std::unique_ptr<host::PluginModule> module = Load();
  ASSERT_TRUE(module);
  const probe::Observation windows = probe::Observe(*module);
  ASSERT_FALSE(windows.lines.empty());
  {
    host::PluginInstance plug(*module);
    ASSERT_TRUE(plug.ok());
    EXPECT_EQ(plug.effect()->magic, vst2::kEffectMagic);
    EXPECT_EQ(plug.effect()->numParams, GetParam().params);
  }
  for (double v : windows.samples) ASSERT_TRUE(v == v) << "NaN in the output";

  const char* dir = std::getenv("VALVE_LINUX_REFERENCE_DIR");
  if (!dir || !*dir) GTEST_SKIP() << "VALVE_LINUX_REFERENCE_DIR not set: no Linux reference";
  const std::string path = std::string(dir) + "/" + GetParam().name + ".reference";
  probe::Observation linux_build;
  ASSERT_TRUE(probe::Read(path, &linux_build)) << "cannot read " << path;

  ASSERT_EQ(windows.lines.size(), linux_build.lines.size());
  for (size_t i = 0; i < windows.lines.size(); ++i) {
    EXPECT_EQ(windows.lines[i], linux_build.lines[i]) << "line " << i;
  }
  ASSERT_EQ(windows.samples.size(), linux_build.samples.size());
  size_t identical = 0;
  for (size_t i = 0; i < windows.samples.size(); ++i) {
    if (windows.samples[i] == linux_build.samples[i]) ++identical;
  }
  const double largest = probe::LargestDifference(windows.samples, linux_build.samples);
  std::printf("%s (%d-bit): %zu samples, %zu bit-identical, largest difference %.3g\n",
              GetParam().name, static_cast<int>(sizeof(void*) * 8), windows.samples.size(),
              identical, largest);
  EXPECT_LE(largest, 1e-6);
}

// Hosts scan and open instances from several threads at once; the creation
// lock and the instance locks are critical sections here.
TEST_P(WindowsPlugin, InstancesCreatedOnSeveralThreadsAllWork) {
  std::unique_ptr<host::PluginModule> module = Load();
  ASSERT_TRUE(module);
  constexpr int kThreads = 4;
  int working[kThreads] = {};
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&module, &working, t] {
      for (int i = 0; i < 3; ++i) {
        host::PluginInstance plug(*module);
        if (!plug.ok()) continue;
        plug.Open();
        plug.SetSampleRate(48000.0f);
        plug.SetBlockSize(64);
        plug.MainsChanged(true);
        std::vector<std::vector<float>> in(2, std::vector<float>(64, 0.1f));
        std::vector<std::vector<float>> out(2, std::vector<float>(64, 0.0f));
        plug.ProcessReplacing(in, out);
        if (out[0][63] == out[0][63]) ++working[t];
      }
    });
  }
  for (std::thread& thread : threads) thread.join();
  for (int t = 0; t < kThreads; ++t) EXPECT_EQ(working[t], 3) << "thread " << t;
}

INSTANTIATE_TEST_SUITE_P(Dll, WindowsPlugin, ::testing::ValuesIn(kPlugins),
                         [](const ::testing::TestParamInfo<Plugin>& info) {
                           return std::string(info.param.name);
                         });

}  // namespace
