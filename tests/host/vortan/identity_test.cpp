#include <dlfcn.h>

#include <algorithm>
#include <cmath>
#include <initializer_list>
#include <vector>

#include "tests/host/vortan/vortan_host_fixture.h"

namespace vortan_host {
namespace {

TEST(VortanEntry, AsksTheHostVersionOnceAndRefusesAHostWithout) {
  host::HostConfig config;
  config.vstVersion = 0;
  host::PluginInstance refused(Module(), config);
  EXPECT_FALSE(refused.ok());
  host::PluginInstance accepted(Module());
  ASSERT_TRUE(accepted.ok());
  EXPECT_EQ(accepted.CallsWith(vst2::audioMasterVersion).size(), 1u);
}

TEST(VortanEntry, MainIsASecondNameOfTheSameEntry) {
  void* handle = dlopen(VORTAN_V1_1_PLUGIN_PATH, RTLD_NOW | RTLD_LOCAL);
  ASSERT_NE(handle, nullptr);
  void* symbol = dlsym(handle, "main");
  ASSERT_NE(symbol, nullptr);
  host::EntryPoint entry;
  std::memcpy(&entry, &symbol, sizeof(entry));
  vst2::AEffect* effect = entry(&host::HostCallbackEntry);
  ASSERT_NE(effect, nullptr);
  EXPECT_EQ(effect->uniqueID, 0x56525451);
  EXPECT_EQ(effect->dispatcher(effect, vst2::effClose, 0, 0, nullptr, 0), 1);
  dlclose(handle);
}

TEST_F(VortanHost, DescribesItselfAsAStereoEffectWithChunks) {
  const vst2::AEffect* e = plugin->effect();
  EXPECT_EQ(e->uniqueID, 0x56525451);  // "VRTQ"
  EXPECT_EQ(e->version, 1);
  EXPECT_EQ(e->numPrograms, 10);
  EXPECT_EQ(e->numParams, 23);
  EXPECT_EQ(e->numInputs, 2);
  EXPECT_EQ(e->numOutputs, 2);
  EXPECT_EQ(e->flags,
            vst2::effFlagsCanReplacing | vst2::effFlagsProgramChunks | vst2::effFlagsHasEditor);
  EXPECT_EQ(e->initialDelay, 0);
  EXPECT_EQ(e->ioRatio, 1.0f);
  EXPECT_EQ(plugin->EffectName(), "Vortan_v1_1b");
  EXPECT_EQ(plugin->ProductString(), "Vortan_v1_1b");
  EXPECT_EQ(plugin->VendorString(), "Quillon Plugins");
  EXPECT_EQ(plugin->Dispatch(vst2::effGetVendorVersion), 1000);
  EXPECT_EQ(plugin->Dispatch(vst2::effGetVstVersion), 2400);
  EXPECT_EQ(plugin->Dispatch(vst2::effIdentify), 0x4E764566);  // "NvEf"
}

TEST_F(VortanHost, OtherRequestsGetNeutralAnswers) {
  char query[] = "receiveVstMidiEvent";
  EXPECT_EQ(plugin->Dispatch(vst2::effCanDo, 0, 0, query), 0);
  EXPECT_EQ(plugin->Dispatch(vst2::effGetPlugCategory), 0);
  for (int32_t op :
       std::initializer_list<int32_t>{vst2::effEditGetRect, vst2::effEditOpen, vst2::effGetTailSize,
                                      vst2::effSetBypass, vst2::effMainsChanged, int32_t{9999}}) {
    EXPECT_EQ(plugin->Dispatch(op, 0, 1), 0) << op;
  }
  vst2::VstSpeakerArrangement dummy{};
  vst2::VstSpeakerArrangement *in = &dummy, *out = &dummy;
  plugin->Dispatch(vst2::effGetSpeakerArrangement, 0, reinterpret_cast<intptr_t>(&in), &out);
  EXPECT_EQ(in, nullptr);
  EXPECT_EQ(out, nullptr);
}

TEST_F(VortanHost, ReplacingWritesEveryFrameWhileTheOtherEntriesLeaveBuffers) {
  plugin->SetBlockSize(64);
  std::vector<std::vector<float>> in(2, std::vector<float>(100, 0.25f)), out(2), acc(2);
  out[0] = out[1] = acc[0] = acc[1] = std::vector<float>(100, 3.0f);
  plugin->ProcessReplacing(in, out);  // more frames than the block size
  plugin->ProcessAccumulating(in, acc);
  for (int c = 0; c < 2; ++c) {
    for (int i = 0; i < 100; ++i) ASSERT_TRUE(std::isfinite(out[c][i]) && out[c][i] != 3.0f);
    EXPECT_EQ(acc[c][99], 3.0f);
  }
  std::vector<std::vector<double>> din(2, std::vector<double>(16, 0.5)), dout = din;
  plugin->ProcessDouble(din, dout);
  EXPECT_EQ(dout[0][0], 0.5);
}

}  // namespace
}  // namespace vortan_host

namespace vortan_host {
namespace {

// Rates no audio interface runs at are refused: the design stays, so the
// output is bit for bit that of the untouched instance; the ends of the
// accepted range run and stay bounded on a silent input.
TEST_F(VortanHost, RatesOutsideEightTo768KilohertzAreRefused) {
  auto render = [](host::PluginInstance& p, int frames, float level) {
    std::vector<std::vector<float>> in(2, std::vector<float>(512)), out(2, std::vector<float>(512));
    std::vector<float> all;
    for (int done = 0; done < frames; done += 512) {
      for (int i = 0; i < 512; ++i) in[0][i] = in[1][i] = level * std::sin(0.03f * (done + i));
      p.ProcessReplacing(in, out);
      all.insert(all.end(), out[0].begin(), out[0].end());
    }
    return all;
  };
  const std::vector<float> reference = render(*plugin, 4096, 0.2f);
  for (float rate : {1e9f, 1e-40f, 7999.0f, 768001.0f}) {
    auto p = NewInstance();
    p->SetSampleRate(rate);
    EXPECT_EQ(render(*p, 4096, 0.2f), reference) << rate;
  }
  for (float rate : {8000.0f, 768000.0f}) {
    auto p = NewInstance();
    p->SetSampleRate(rate);
    EXPECT_NE(render(*p, 4096, 0.2f), reference) << rate;
    // Silence: what the tone left dies away instead of growing.
    const std::vector<float> silent = render(*p, 192 * 1024, 0.0f);
    float tail = 0.0f;
    for (size_t i = silent.size() - 16384; i < silent.size(); ++i)
      tail = std::max(tail, std::fabs(silent[i]));
    EXPECT_LT(tail, 0.01f) << rate;
  }
}

}  // namespace
}  // namespace vortan_host
