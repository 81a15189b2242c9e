// What a host sees of Ostra Ferro B3 before any audio runs.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

#include "tests/host/ferro/ferro_host_fixture.h"

namespace {

struct Row {
  const char* name;
  const char* label;
  float normalized;  // default as the host reads it
  const char* display;
};

// Index order; the normalised defaults follow from default, min and max.
const Row kTable[33] = {
    {"RED:Input", "Input", 0.999f / 1.999f, "1.000"},
    {"GREEN:Input", "Input", 0.999f / 1.999f, "1.000"},
    {"RED:Output", "Output", 0.5f, "0.500"},
    {"GREEN:Output", "Output", 0.5f, "0.500"},
    {"Oversample", "LOW/HIGH/AUTO", 0.0f, "0"},
    {"Stereo", "", 0.0f, "off"},
    {"Channel", "GREEN / RED", 1.0f, "1"},
    {"RED:PreGain", "Pre Gain", 0.5f, "0.500"},
    {"RED:PostGain", "Post Gain", 0.3f, "0.300"},
    {"RED:Bass", "Bass", 0.5f, "0.500"},
    {"RED:Mid", "Mid", 0.5f, "0.500"},
    {"RED:Treble", "Treble", 0.5f, "0.500"},
    {"RED:Presence", "Presence", 0.5f, "0.500"},
    {"RED:LowEnd", "LowEnd", 0.5f, "0.500"},
    {"GREEN:Bright", "On/Off", 0.0f, "0"},
    {"GREEN:Crunch", "On/Off", 0.0f, "0"},
    {"GREEN:PreGain", "Pre Gain", 0.5f, "0.500"},
    {"GREEN:PostGain", "Post Gain", 0.3f, "0.300"},
    {"GREEN:Bass", "Bass", 0.5f, "0.500"},
    {"GREEN:Mid", "Mid", 0.5f, "0.500"},
    {"GREEN:Treble", "Treble", 0.5f, "0.500"},
    {"GREEN:Presence", "Presence", 0.5f, "0.500"},
    {"GREEN:LowEnd", "LowEnd", 0.5f, "0.500"},
    {"Bias", "Volt", 0.475f, "-51.0"},
    {"PA TubeType", "Type", 0.0f, "0"},
    {"Feedback", "Amount", 0.92f, "0.920"},
    {"Disable PA", " ", 0.0f, "0"},
    {"HIFI", " ", 0.0f, "0"},
    {"Lead Mod", " ", 1.0f, "1"},
    {"secret", "", 1.0f, "on"},
    {"grindlewick", "", 0.0f, "off"},
    {"switches", "", 1.0f, "on"},
    {"are dangerous", "", 1.0f, "on"},
};

TEST_F(FerroHost, IdentityAndRecordAsTheHostReadsThem) {
  auto p = CreateOpen();
  const vst2::AEffect* e = p->effect();
  EXPECT_EQ(e->magic, vst2::kEffectMagic);
  EXPECT_EQ(e->uniqueID, 0x4F734665);
  EXPECT_EQ(e->version, 10000);
  EXPECT_EQ(e->numParams, 33);
  EXPECT_EQ(e->numPrograms, 1);
  EXPECT_EQ(e->numInputs, 2);
  EXPECT_EQ(e->numOutputs, 2);
  EXPECT_EQ(e->initialDelay, 0);
  EXPECT_EQ(e->ioRatio, 1.0f);
  // hasEditor | canMono | canReplacing | canDoubleReplacing
  EXPECT_EQ(e->flags, 0x1019);
  vst2::ERect* rect = nullptr;
  EXPECT_EQ(p->Dispatch(vst2::effEditGetRect, 0, 0, &rect), 1);
  ASSERT_NE(rect, nullptr);
  EXPECT_EQ(rect->top, 0);
  EXPECT_EQ(rect->left, 0);
  EXPECT_EQ(rect->bottom, 278);
  EXPECT_EQ(rect->right, 834);
  EXPECT_EQ(p->Dispatch(vst2::effEditGetRect, 0, 0, nullptr), 0);
  EXPECT_EQ(p->EffectName(), "Ostra Ferro B3");
  EXPECT_EQ(p->VendorString(), "Ostra Audio");
  EXPECT_EQ(p->ProductString(), "");
  EXPECT_EQ(p->ProgramName(), "by Quarnby");
}

TEST_F(FerroHost, EveryParameterReportsNameLabelDefaultAndDisplay) {
  auto p = CreateOpen();
  for (int i = 0; i < 33; ++i) {
    SCOPED_TRACE(kTable[i].name);
    EXPECT_EQ(p->ParamName(i), kTable[i].name);
    EXPECT_EQ(p->ParamLabel(i), kTable[i].label);
    EXPECT_NEAR(p->GetParameter(i), kTable[i].normalized, 1e-6);
    EXPECT_EQ(p->ParamDisplay(i), kTable[i].display);
  }
  EXPECT_EQ(p->ParamName(33), "");
  EXPECT_EQ(p->ParamName(-1), "");
  EXPECT_EQ(p->GetParameter(33), 0.0f);
}

TEST_F(FerroHost, AutomationIsRoundedByKindAndNotEchoedToTheHost) {
  auto p = CreateOpen();
  p->ClearCalls();
  p->SetParameter(4, 0.74f);
  EXPECT_EQ(p->ParamDisplay(4), "1");
  p->SetParameter(23, 0.5f);
  EXPECT_EQ(p->ParamDisplay(23), "-50.0");
  p->SetParameter(5, 0.5f);
  EXPECT_EQ(p->ParamDisplay(5), "on");
  p->SetParameter(8, 0.0004f);
  EXPECT_EQ(p->ParamDisplay(8), "0.000");
  p->SetParameter(8, 0.0f);
  EXPECT_EQ(p->ParamDisplay(8), "0");
  p->SetParameter(99, 0.5f);  // ignored
  EXPECT_TRUE(p->CallsWith(vst2::audioMasterAutomate).empty());
}

TEST_F(FerroHost, InstancesAreIndependent) {
  auto a = CreateOpen();
  auto b = CreateOpen();
  a->SetParameter(9, 0.9f);
  EXPECT_NEAR(b->GetParameter(9), 0.5f, 1e-6);
  a->Close();
  b->SetParameter(9, 0.1f);
  EXPECT_NEAR(b->GetParameter(9), 0.1f, 1e-6);
  std::vector<std::vector<float>> in(2, std::vector<float>(64, 0.25f)),
      out(2, std::vector<float>(64));
  b->ProcessReplacing(in, out);
  EXPECT_TRUE(std::isfinite(out[0][63]));
}

TEST_F(FerroHost, HostIsIdentifiedOnceByProductSubstring) {
  const struct {
    const char* product;
    int vendorVersion;
  } hosts[] = {{"REAPER", 60012}, {"my live rig", 10000}, {"", 10000}};
  for (const auto& h : hosts) {
    host::HostConfig config;
    config.productString = h.product;
    config.vendorVersion = h.vendorVersion;
    auto p = Create(config);
    p->Open();
    p->Open();  // identification runs once per instance
    EXPECT_EQ(p->CallsWith(vst2::audioMasterGetProductString).size(), 1u) << h.product;
    EXPECT_EQ(p->CallsWith(vst2::audioMasterGetVendorVersion).size(), h.product[0] ? 1u : 0u);
  }
}

}  // namespace

namespace {

TEST_F(FerroHost, ModuleExportsOnlyTheTwoEntryPoints) {
  const std::string command = std::string("nm -D --defined-only ") + OSTRA_FERRO_B3_PLUGIN_PATH;
  FILE* pipe = popen(command.c_str(), "r");
  ASSERT_NE(pipe, nullptr);
  std::vector<std::string> names;
  char line[512];
  while (fgets(line, sizeof line, pipe)) {
    char address[64], type[8], name[400];
    if (std::sscanf(line, "%63s %7s %399s", address, type, name) == 3) names.push_back(name);
  }
  pclose(pipe);
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"VSTPluginMain", "main"}));
}

}  // namespace
