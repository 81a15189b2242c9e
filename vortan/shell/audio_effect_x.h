// The VST 2.4 extensions of the effect base: identity strings, category,
// capabilities, indexed program names, the editor's key and knob-mode
// requests, and neutral answers for every other 2.x request.
#pragma once

#include "vortan/shell/audio_effect.h"

namespace vortan {

class AudioEffectX : public AudioEffect {
 public:
  AudioEffectX(vst2::HostCallback audioMaster, int32_t numPrograms, int32_t numParams) noexcept
      : AudioEffect(audioMaster, numPrograms, numParams) {}

  intptr_t dispatcher(int32_t opcode, int32_t index, intptr_t value, void* ptr,
                      float opt) noexcept override;

  virtual bool canParameterBeAutomated(int32_t index) noexcept {
    return index >= 0 && index < numParams();
  }
  virtual bool getProgramNameIndexed(int32_t /*category*/, int32_t /*index*/,
                                     char* /*text*/) noexcept {
    return false;
  }
  virtual int32_t getPlugCategory() noexcept { return 0; }
  // text holds at least kMaxEffectNameLen (effect name) or kMaxVendorStrLen /
  // kMaxProductStrLen bytes.
  virtual bool getEffectName(char* /*text*/) noexcept { return false; }
  virtual bool getVendorString(char* /*text*/) noexcept { return false; }
  virtual bool getProductString(char* /*text*/) noexcept { return false; }
  virtual int32_t getVendorVersion() noexcept { return 0; }
  virtual int32_t canDo(const char* /*text*/) noexcept { return 0; }
  virtual int32_t getVstVersion() noexcept { return 2400; }
  // effVendorSpecific: answers 0 unless a plug-in knows the request.
  virtual intptr_t vendorSpecific(int32_t /*index*/, intptr_t /*value*/, void* /*ptr*/,
                                  float /*opt*/) noexcept {
    return 0;
  }
};

}  // namespace vortan
