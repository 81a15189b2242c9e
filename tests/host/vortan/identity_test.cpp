#include <cmath>
#include <cstring>

#include "tests/host/vortan/vortan_host_fixture.h"

namespace vortan_host {
namespace {

TEST(VortanEntry, RefusesAHostThatReportsNoVersion) {
  host::HostConfig config;
  config.vstVersion = 0;
  host::PluginInstance instance(Module(), config);
  EXPECT_FALSE(instance.ok());
  EXPECT_EQ(instance.CallsWith(vst2::audioMasterVersion).size(), 1u);
}

TEST_F(VortanHost, RecordDescribesTheEffect) {
  const vst2::AEffect* e = plugin->effect();
  EXPECT_EQ(e->magic, vst2::kEffectMagic);
  EXPECT_EQ(e->uniqueID, 0x56525451);
  EXPECT_EQ(e->version, 1);
  EXPECT_EQ(e->numPrograms, 10);
  EXPECT_EQ(e->numParams, 23);
  EXPECT_EQ(e->numInputs, 2);
  EXPECT_EQ(e->numOutputs, 2);
  EXPECT_EQ(e->flags & (vst2::effFlagsCanReplacing | vst2::effFlagsProgramChunks),
            vst2::effFlagsCanReplacing | vst2::effFlagsProgramChunks);
  EXPECT_EQ(e->flags & (vst2::effFlagsIsSynth | vst2::effFlagsCanDoubleReplacing), 0);
  EXPECT_EQ(e->initialDelay, 0);
  EXPECT_EQ(e->ioRatio, 1.0f);
  EXPECT_EQ(plugin->CallsWith(vst2::audioMasterVersion).size(), 1u);
}

TEST_F(VortanHost, AnswersIdentityRequests) {
  EXPECT_EQ(plugin->EffectName(), "Vortan_v1_1b");
  EXPECT_EQ(plugin->ProductString(), "Vortan_v1_1b");
  EXPECT_EQ(plugin->VendorString(), "Quillon Plugins");
  EXPECT_EQ(plugin->Dispatch(vst2::effGetEffectName, 0, 0, nullptr), 0);
  EXPECT_EQ(plugin->Dispatch(vst2::effGetVendorVersion), 1000);
  EXPECT_EQ(plugin->Dispatch(vst2::effGetVstVersion), 2400);
  EXPECT_EQ(plugin->Dispatch(vst2::effGetPlugCategory), 0);
  EXPECT_EQ(plugin->Dispatch(vst2::effIdentify), 0x4E764566);  // "NvEf"
  char query[] = "receiveVstMidiEvent";
  EXPECT_EQ(plugin->Dispatch(vst2::effCanDo, 0, 0, query), 0);
  char bypass[] = "bypass";
  EXPECT_EQ(plugin->Dispatch(vst2::effCanDo, 0, 0, bypass), 0);
}

TEST_F(VortanHost, OtherRequestsGetNeutralAnswers) {
  EXPECT_EQ(plugin->Dispatch(vst2::effEditGetRect), 0) << "no editor yet";
  EXPECT_EQ(plugin->Dispatch(vst2::effEditOpen), 0);
  EXPECT_EQ(plugin->Dispatch(vst2::effSetEditKnobMode, 0, 2), 0);
  EXPECT_EQ(plugin->Dispatch(vst2::effGetTailSize), 0);
  EXPECT_EQ(plugin->Dispatch(vst2::effSetBypass, 0, 1), 0);
  EXPECT_EQ(plugin->Dispatch(vst2::effMainsChanged, 0, 1), 0);
  EXPECT_EQ(plugin->Dispatch(vst2::effSetProcessPrecision, 0, 1), 0);
  vst2::VstSpeakerArrangement dummy{};
  vst2::VstSpeakerArrangement* in = &dummy;
  vst2::VstSpeakerArrangement* out = &dummy;
  EXPECT_EQ(
      plugin->Dispatch(vst2::effGetSpeakerArrangement, 0, reinterpret_cast<intptr_t>(&in), &out),
      0);
  EXPECT_EQ(in, nullptr);
  EXPECT_EQ(out, nullptr);
  EXPECT_EQ(plugin->Dispatch(9999), 0);
}

TEST_F(VortanHost, ReplacingWritesEveryFrameAndOtherEntriesLeaveBuffers) {
  plugin->SetSampleRate(48000.0f);
  plugin->SetBlockSize(64);
  plugin->MainsChanged(true);
  std::vector<std::vector<float>> in(2, std::vector<float>(100, 0.25f));
  std::vector<std::vector<float>> out(2, std::vector<float>(100, 3.0f));
  plugin->ProcessReplacing(in, out);  // more frames than the block size
  for (const auto& channel : out) {
    for (float v : channel) ASSERT_TRUE(std::isfinite(v) && v != 3.0f) << v;
  }
  std::vector<std::vector<float>> acc(2, std::vector<float>(16, 3.0f));
  plugin->ProcessAccumulating(in, acc);
  EXPECT_EQ(acc[1][15], 3.0f);
  std::vector<std::vector<double>> din(2, std::vector<double>(16, 0.5));
  std::vector<std::vector<double>> dout(2, std::vector<double>(16, 3.0));
  plugin->ProcessDouble(din, dout);
  EXPECT_EQ(dout[0][0], 3.0);
}

}  // namespace
}  // namespace vortan_host
