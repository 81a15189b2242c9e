// Feeds arbitrary bytes to Vortan's chunk reader as a program or a bank.
// A refused chunk changes no stored program, name or working value; a
// taken one leaves every value a number within 0..1; a block after either
// is finite.
//
// First byte: bit 0 program (1) or bank (0); bit 1 pads or cuts the bytes to
// the size of the chosen kind (few random inputs have it); bits 2..5 pick
// the current program.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "vortan/shell/vortan.h"

namespace {

vortan::Vortan& Plugin() {
  static vortan::Vortan* plug = new vortan::Vortan(nullptr);
  return *plug;
}

std::vector<uint8_t> Snapshot(vortan::Vortan& plug) {
  vst2::AEffect* e = plug.getAeffect();
  void* bank = nullptr;
  const intptr_t size = e->dispatcher(e, vst2::effGetChunk, 0, 0, &bank, 0.0f);
  std::vector<uint8_t> bytes(static_cast<const uint8_t*>(bank),
                             static_cast<const uint8_t*>(bank) + size);
  for (int i = 0; i < vortan::kNumParams; ++i) {
    const float v = plug.getParameter(i);
    const auto* b = reinterpret_cast<const uint8_t*>(&v);
    bytes.insert(bytes.end(), b, b + sizeof v);
  }
  bytes.push_back(static_cast<uint8_t>(plug.getProgram()));
  return bytes;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  vortan::Vortan& plug = Plugin();
  vst2::AEffect* e = plug.getAeffect();
  const bool program = (data[0] & 1) != 0;
  e->dispatcher(e, vst2::effSetProgram, 0, ((data[0] >> 2) & 15) % vortan::kNumPrograms, nullptr,
                0.0f);
  std::vector<uint8_t> chunk(data + 1, data + size);
  if (data[0] & 2) chunk.resize(program ? vortan::kProgramChunkSize : vortan::kBankChunkSize);
  const std::vector<uint8_t> before = Snapshot(plug);
  const intptr_t taken =
      e->dispatcher(e, vst2::effSetChunk, program ? 1 : 0, static_cast<intptr_t>(chunk.size()),
                    chunk.empty() ? nullptr : chunk.data(), 0.0f);
  if (taken == 0 && Snapshot(plug) != before) std::abort();
  for (int i = 0; i < vortan::kNumParams; ++i) {
    const float v = plug.getParameter(i);
    if (!(v >= 0.0f && v <= 1.0f)) std::abort();
  }

  float in[64];
  float out[2][64];
  for (int i = 0; i < 64; ++i) in[i] = 0.5f * std::sin(0.1f * i);
  float* ip[2] = {in, in};
  float* op[2] = {out[0], out[1]};
  e->processReplacing(e, ip, op, 64);
  for (int c = 0; c < 2; ++c)
    for (int i = 0; i < 64; ++i)
      if (!std::isfinite(out[c][i])) std::abort();
  return 0;
}
