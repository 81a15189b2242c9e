// A tiny VST 2.4 effect for the amprender tests: a stereo gain with a mode
// switch and a bypass, two programs and a 16-byte program chunk. Built in
// variants: TEST_PLUGIN_RETURNS_NULL makes the entry point fail, and
// TEST_PLUGIN_LATENCY=N delays the audio by N frames and reports it.
#include <cmath>
#include <cstdio>
#include <cstring>
#include <new>

#include "platform/vst2/aeffect.h"

#ifndef TEST_PLUGIN_LATENCY
#define TEST_PLUGIN_LATENCY 0
#endif

namespace {

constexpr int kParams = 3;  // 0 Gain, 1 Mode, 2 Bypass
constexpr int kPrograms = 2;
constexpr uint8_t kMagic[4] = {'T', 'G', 'P', 'C'};
constexpr int kChunkSize = 4 + 4 * kParams;
constexpr int kDelaySlots = TEST_PLUGIN_LATENCY > 0 ? TEST_PLUGIN_LATENCY : 1;

struct TestGain {
  vst2::AEffect effect;
  float values[kParams] = {0.5f, 0.0f, 0.0f};  // Gain 0.5 is unity (0.0 dB)
  int program = 0;
  uint8_t chunk[kChunkSize];
  float delay[2][kDelaySlots] = {};
  int delayPos = 0;
};

TestGain* Self(vst2::AEffect* e) { return static_cast<TestGain*>(e->object); }

void Copy(void* ptr, const char* text) { std::snprintf(static_cast<char*>(ptr), 24, "%s", text); }

void Display(const TestGain* g, int index, char* out) {
  const float v = g->values[index];
  if (index == 0) {
    const double gain = 2.0 * v;
    if (gain <= 0.0)
      std::snprintf(out, 24, "-inf");
    else
      std::snprintf(out, 24, "%.1f", 20.0 * std::log10(gain));
  } else if (index == 1) {
    static const char* const kModes[] = {"clean", "crunch", "lead"};
    std::snprintf(out, 24, "%s", kModes[static_cast<int>(v * 2.999f)]);
  } else {
    std::snprintf(out, 24, "%s", v >= 0.5f ? "on" : "off");
  }
}

void SetProgram(TestGain* g, int program) {
  g->program = program;
  g->values[0] = program == 1 ? 0.25f : 0.5f;
  g->values[1] = 0.0f;
  g->values[2] = 0.0f;
}

intptr_t Dispatch(vst2::AEffect* e, int32_t opcode, int32_t index, intptr_t value, void* ptr,
                  float) {
  TestGain* g = Self(e);
  switch (opcode) {
    case vst2::effClose:
      delete g;
      return 1;
    case vst2::effSetProgram:
      if (value >= 0 && value < kPrograms) SetProgram(g, static_cast<int>(value));
      return 0;
    case vst2::effGetProgram:
      return g->program;
    case vst2::effGetParamName:
    case vst2::effGetParamLabel:
    case vst2::effGetParamDisplay: {
      if (index < 0 || index >= kParams || !ptr) return 0;
      static const char* const kNames[] = {"Gain", "Mode", "Bypass"};
      if (opcode == vst2::effGetParamName) Copy(ptr, kNames[index]);
      if (opcode == vst2::effGetParamLabel) Copy(ptr, index == 0 ? "dB" : "");
      if (opcode == vst2::effGetParamDisplay) Display(g, index, static_cast<char*>(ptr));
      return 0;
    }
    case vst2::effGetEffectName:
      Copy(ptr, "Test Gain");
      return 1;
    case vst2::effGetChunk: {
      std::memcpy(g->chunk, kMagic, 4);
      std::memcpy(g->chunk + 4, g->values, sizeof g->values);
      *static_cast<void**>(ptr) = g->chunk;
      return kChunkSize;
    }
    case vst2::effSetChunk: {
      if (value != kChunkSize || !ptr || std::memcmp(ptr, kMagic, 4) != 0) return 0;
      std::memcpy(g->values, static_cast<const uint8_t*>(ptr) + 4, sizeof g->values);
      return 1;
    }
    default:
      return 0;
  }
}

void SetParameter(vst2::AEffect* e, int32_t index, float value) {
  if (index >= 0 && index < kParams) Self(e)->values[index] = value;
}

float GetParameter(vst2::AEffect* e, int32_t index) {
  return index >= 0 && index < kParams ? Self(e)->values[index] : 0.0f;
}

void Process(vst2::AEffect* e, float** in, float** out, int32_t frames) {
  TestGain* g = Self(e);
  const float gain = g->values[2] >= 0.5f ? 1.0f : 2.0f * g->values[0];
  for (int32_t t = 0; t < frames; ++t) {
    for (int c = 0; c < 2; ++c) {
      float x = in[c][t] * gain;
      if (TEST_PLUGIN_LATENCY > 0) {
        float delayed = g->delay[c][g->delayPos];
        g->delay[c][g->delayPos] = x;
        x = delayed;
      }
      out[c][t] = x;
    }
    if (TEST_PLUGIN_LATENCY > 0) g->delayPos = (g->delayPos + 1) % kDelaySlots;
  }
}

vst2::AEffect* Create() {
  TestGain* g = new (std::nothrow) TestGain();
  if (!g) return nullptr;
  vst2::AEffect& e = g->effect;
  std::memset(&e, 0, sizeof e);
  e.magic = vst2::kEffectMagic;
  e.dispatcher = Dispatch;
  e.setParameter = SetParameter;
  e.getParameter = GetParameter;
  e.processReplacing = Process;
  e.numPrograms = kPrograms;
  e.numParams = kParams;
  e.numInputs = 2;
  e.numOutputs = 2;
  e.flags = vst2::effFlagsCanReplacing | vst2::effFlagsProgramChunks;
  e.initialDelay = TEST_PLUGIN_LATENCY;
  e.ioRatio = 1.0f;
  e.object = g;
  e.uniqueID = 0x54477431;
  e.version = 1;
  return &e;
}

#ifdef TEST_PLUGIN_RETURNS_NULL
constexpr bool kReturnsNull = true;
#else
constexpr bool kReturnsNull = false;
#endif

}  // namespace

VST2_EXPORT vst2::AEffect* VSTPluginMain(vst2::HostCallback) {
  return kReturnsNull ? nullptr : Create();
}
