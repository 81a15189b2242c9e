// Feeds arbitrary bytes to the chunk reader as a bank or a program, then
// processes a block: nothing may read outside the host's buffer, crash, or
// leave the engines producing non-finite samples, and a refused chunk
// changes no parameter, preset name or preset slot.
//
// First byte: bit 0 program (1) or bank (0); the other bits pick a parameter
// moved before the load, so the live values differ from the stored slot.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "ferro/shell/iplug_ferro.h"

namespace {

IPlug_Ferro& Plugin() {
  // One instance for the whole run: construction solves the valve stages,
  // far slower than one input.
  static IPlug_Ferro* plug = [] {
    auto* p = new IPlug_Ferro(nullptr);
    p->GetAEffect()->dispatcher(p->GetAEffect(), vst2::effOpen, 0, 0, nullptr, 0.0f);
    return p;
  }();
  return *plug;
}

// Every value, and every slot's name, flag and stored state.
std::vector<uint8_t> Snapshot(IPlug_Ferro& plug) {
  std::vector<uint8_t> bytes;
  for (int i = 0; i < plug.NParams(); ++i) {
    const double v = plug.GetParam(i)->Value();
    const auto* b = reinterpret_cast<const uint8_t*>(&v);
    bytes.insert(bytes.end(), b, b + sizeof v);
  }
  for (int i = 0; i < plug.NPresets(); ++i) {
    const IPresetSlot* slot = plug.Preset(i);
    bytes.insert(bytes.end(), slot->name, slot->name + std::strlen(slot->name) + 1);
    bytes.push_back(slot->initialised ? 1 : 0);
    bytes.insert(bytes.end(), slot->chunk.Data(), slot->chunk.Data() + slot->chunk.Size());
  }
  return bytes;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  IPlug_Ferro& plug = Plugin();
  vst2::AEffect* e = plug.GetAEffect();
  const bool program = (data[0] & 1) != 0;
  plug.VSTSetParameter((data[0] >> 1) % plug.NParams(), (data[0] >> 1) / 127.0);
  const std::vector<uint8_t> before = Snapshot(plug);
  std::vector<uint8_t> chunk(data + 1, data + size);
  const intptr_t taken =
      e->dispatcher(e, vst2::effSetChunk, program ? 1 : 0, static_cast<intptr_t>(chunk.size()),
                    chunk.empty() ? nullptr : chunk.data(), 0.0f);
  if (taken == 0 && Snapshot(plug) != before) std::abort();

  float in[2][64];
  float out[2][64];
  for (int i = 0; i < 64; ++i) in[0][i] = in[1][i] = 0.5f * std::sin(0.1f * i);
  float* ip[2] = {in[0], in[1]};
  float* op[2] = {out[0], out[1]};
  e->processReplacing(e, ip, op, 64);
  for (int c = 0; c < 2; ++c)
    for (int i = 0; i < 64; ++i)
      if (!std::isfinite(out[c][i])) std::abort();

  void* saved = nullptr;
  if (e->dispatcher(e, vst2::effGetChunk, program ? 1 : 0, 0, &saved, 0.0f) <= 0) std::abort();
  return 0;
}
