// Each bundle in a real LV2 host (lilv): found by URI, rendering bit for bit
// what its VST 2.4 module renders on the same input and settings at two
// rates and three block sizes; its state and presets restoring exactly.
#include <gtest/gtest.h>
#include <lilv/lilv.h>
#include <lv2/atom/atom.h>
#include <lv2/presets/presets.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <map>

#include "tests/lv2/lv2_world.h"
#include "tests/support/allocation_count.h"

using valve_test::AllocationCount;
using valve_test::CountsAllocations;

namespace {

using lv2test::Instance;
using lv2test::Reference;
using lv2test::World;

struct Case {
  const char* uri;
  const char* module;
  std::map<std::string, float> settings;  // port symbol -> value in its own units
};

const std::string kBase = "https://valve-amps.example/lv2/";
const Case kFerro{"Ostra_Ferro_B3", OSTRA_FERRO_B3_PLUGIN_PATH,
                  {{"bias", -45.0f}, {"oversample", 1.0f}, {"channel", 0.0f},
                   {"pa_tubetype", 1.0f}, {"green_pregain", 0.8f}, {"stereo", 1.0f}}};
const Case kVortan{"Vortan_v1_1", VORTAN_V1_1_PLUGIN_PATH,
                   {{"channel", 1.0f}, {"low_high_gain", 1.0f}, {"chb_drive", 0.8f},
                    {"volume", 0.6f}, {"mono_stereo", 1.0f}}};
void PrintTo(const Case& c, std::ostream* os) { *os << c.uri; }
constexpr int kFrames = 6000;
constexpr uint32_t kFirstParam = 5;

void Apply(const Case& c, Instance* lv2, Reference* ref) {
  for (const auto& [symbol, value] : c.settings) {
    const int port = lv2->PortOf(symbol);
    ASSERT_GE(port, 5) << symbol;
    lv2->Control(port) = value;
  }
  // The layer applies changed ports in parameter order; so does the reference.
  for (uint32_t port = kFirstParam; port < lv2->Symbols().size(); ++port) {
    auto it = c.settings.find(lv2->Symbols()[port]);
    if (it != c.settings.end()) ref->SetPlain(static_cast<int>(port - kFirstParam), it->second);
  }
}

void ExpectSameAudio(const std::vector<float>& a, const std::vector<float>& b, const char* what) {
  ASSERT_EQ(a.size(), b.size()) << what;
  float peak = 0.0f;
  for (float v : a) peak = std::max(peak, std::abs(v));
  EXPECT_GT(peak, 1e-3f) << what << ": silent";
  EXPECT_EQ(0, std::memcmp(a.data(), b.data(), a.size() * sizeof(float))) << what;
}

class Lv2Host : public ::testing::TestWithParam<Case> {
 protected:
  World world_;
  std::vector<float> inL_, inR_;
  void SetUp() override { lv2test::TestSignal(kFrames, &inL_, &inR_); }
  const LilvPlugin* Plugin() {
    const LilvPlugin* p = world_.Plugin(kBase + GetParam().uri);
    EXPECT_NE(p, nullptr) << "bundle not found by URI " << kBase + GetParam().uri;
    return p;
  }
};

TEST_P(Lv2Host, RendersBitIdenticalToTheVstModuleAtEachRateAndBlockSize) {
  const LilvPlugin* plugin = Plugin();
  ASSERT_NE(plugin, nullptr);
  for (double rate : {44100.0, 96000.0}) {
    Reference ref(GetParam().module, rate);
    Instance probe(world_, plugin, rate);
    ASSERT_TRUE(probe.ok());
    Apply(GetParam(), &probe, &ref);
    ref.Start();
    std::vector<float> refL, refR;
    ref.Render(inL_, inR_, 64, &refL, &refR);
    for (int block : {1, 64, 4096}) {
      Instance lv2(world_, plugin, rate);
      ASSERT_TRUE(lv2.ok());
      Reference unused(GetParam().module, rate);
      Apply(GetParam(), &lv2, &unused);
      lilv_instance_activate(lv2.instance());
      std::vector<float> outL, outR;
      lv2.Render(inL_, inR_, block, &outL, &outR);
      lilv_instance_deactivate(lv2.instance());
      SCOPED_TRACE(testing::Message() << GetParam().uri << " at " << rate << " Hz, block " << block);
      ExpectSameAudio(outL, refL, "left");
      ExpectSameAudio(outR, refR, "right");
      EXPECT_EQ(lv2.latency(), 0.0f);
    }
  }
}

TEST_P(Lv2Host, RunAllocatesNothingWhileControlsChange) {
  if (!CountsAllocations()) GTEST_SKIP() << "allocation counting is off under ASan";
  const LilvPlugin* plugin = Plugin();
  ASSERT_NE(plugin, nullptr);
  const long beforeCreation = AllocationCount();
  Instance lv2(world_, plugin, 48000.0);
  ASSERT_TRUE(lv2.ok());
  ASSERT_GT(AllocationCount(), beforeCreation) << "the count does not see the bundle";
  lilv_instance_activate(lv2.instance());
  std::vector<float> outL, outR;
  lv2.Render(inL_, inR_, 256, &outL, &outR);
  std::vector<float> inL(inL_.begin(), inL_.begin() + 256), inR(inR_.begin(), inR_.begin() + 256);
  const long before = AllocationCount();
  int round = 0;
  for (const auto& [symbol, value] : GetParam().settings) {
    const int port = lv2.PortOf(symbol);
    const float old = lv2.Control(port);
    lv2.Control(port) = value;
    lv2.Render(inL, inR, 256 >> (round++ % 3), &outL, &outR);
    lv2.Control(port) = old;
    lv2.Render(inL, inR, 256, &outL, &outR);
  }
  EXPECT_EQ(AllocationCount() - before, 0);
}

// Port values for lilv's state calls.
struct Ports {
  Instance* instance;
  LV2_URID floatType;
  std::map<std::string, float> set;
};

const void* GetValue(const char* symbol, void* user, uint32_t* size, uint32_t* type) {
  auto* p = static_cast<Ports*>(user);
  const int port = p->instance->PortOf(symbol);
  *size = sizeof(float);
  *type = p->floatType;
  return &p->instance->Control(port);
}

void SetValue(const char* symbol, void* user, const void* value, uint32_t size, uint32_t type) {
  auto* p = static_cast<Ports*>(user);
  const int port = p->instance->PortOf(symbol);
  if (port < 0 || size != sizeof(float) || type != p->floatType) return;
  std::memcpy(&p->instance->Control(port), value, sizeof(float));
  p->set[symbol] = p->instance->Control(port);
}

TEST_P(Lv2Host, SavedStateRestoresIntoAFreshInstanceBitIdentical) {
  const LilvPlugin* plugin = Plugin();
  ASSERT_NE(plugin, nullptr);
  const LV2_URID floatType = world_.urids().Map(LV2_ATOM__Float);
  std::vector<float> outL, outR, refL, refR;
  std::string text;
  {
    Instance saved(world_, plugin, 48000.0);
    Reference unused(GetParam().module, 48000.0);
    Apply(GetParam(), &saved, &unused);
    lilv_instance_activate(saved.instance());
    saved.Render(inL_, inR_, 256, &outL, &outR);  // the settings are taken over, then saved
    Ports ports{&saved, floatType, {}};
    LilvState* state = lilv_state_new_from_instance(
        plugin, saved.instance(), world_.urids().map(), nullptr, nullptr, nullptr, nullptr,
        GetValue, &ports, 0, world_.features());
    ASSERT_NE(state, nullptr);
    char* s = lilv_state_to_string(world_.world(), world_.urids().map(), world_.urids().unmap(),
                                   state, "urn:test:state", nullptr);
    text = s;
    lilv_free(s);
    lilv_state_free(state);
  }
  EXPECT_NE(text.find("programChunk"), std::string::npos) << text;
  LilvState* state = lilv_state_new_from_string(world_.world(), world_.urids().map(), text.c_str());
  ASSERT_NE(state, nullptr);
  Instance fresh(world_, plugin, 48000.0);
  Ports ports{&fresh, floatType, {}};
  lilv_state_restore(state, fresh.instance(), SetValue, &ports, 0, world_.features());
  lilv_state_free(state);
  lilv_instance_activate(fresh.instance());
  fresh.Render(inL_, inR_, 256, &outL, &outR);

  Reference ref(GetParam().module, 48000.0);
  Instance probe(world_, plugin, 48000.0);
  Apply(GetParam(), &probe, &ref);
  ref.Start();
  ref.Render(inL_, inR_, 256, &refL, &refR);
  ExpectSameAudio(outL, refL, "left");
  ExpectSameAudio(outR, refR, "right");
}

TEST_P(Lv2Host, EveryPresetLoadsAndSetsTheProgramItNames) {
  const LilvPlugin* plugin = Plugin();
  ASSERT_NE(plugin, nullptr);
  LilvNode* presetClass = lilv_new_uri(world_.world(), LV2_PRESETS__Preset);
  LilvNodes* presets = lilv_plugin_get_related(plugin, presetClass);
  ASSERT_GT(lilv_nodes_size(presets), 0u);
  int program = 0;
  LILV_FOREACH(nodes, it, presets) {
    const LilvNode* preset = lilv_nodes_get(presets, it);
    lilv_world_load_resource(world_.world(), preset);
    LilvState* state = lilv_state_new_from_world(world_.world(), world_.urids().map(), preset);
    ASSERT_NE(state, nullptr) << lilv_node_as_uri(preset);
    // Preset URIs end in their program number, one-based.
    const std::string uri = lilv_node_as_uri(preset);
    program = std::stoi(uri.substr(uri.rfind('-') + 1)) - 1;
    Instance lv2(world_, plugin, 44100.0);
    Ports ports{&lv2, world_.urids().Map(LV2_ATOM__Float), {}};
    lilv_state_restore(state, lv2.instance(), SetValue, &ports, 0, world_.features());
    lilv_state_free(state);
    EXPECT_EQ(ports.set.size(), lv2.Symbols().size() - kFirstParam) << uri;

    Reference ref(GetParam().module, 44100.0);
    ref.plugin().Dispatch(vst2::effSetProgram, 0, program);
    ref.Start();
    lilv_instance_activate(lv2.instance());
    std::vector<float> outL, outR, refL, refR;
    lv2.Render(inL_, inR_, 512, &outL, &outR);
    ref.Render(inL_, inR_, 512, &refL, &refR);
    SCOPED_TRACE(uri);
    ExpectSameAudio(outL, refL, "left");
    ExpectSameAudio(outR, refR, "right");
  }
  lilv_nodes_free(presets);
  lilv_node_free(presetClass);
}

INSTANTIATE_TEST_SUITE_P(Bundles, Lv2Host, ::testing::Values(kFerro, kVortan),
                         [](const auto& info) { return std::string(info.param.uri); });

}  // namespace
