#include "vortan/shell/audio_effect_x.h"

namespace vortan {

intptr_t AudioEffectX::dispatcher(int32_t opcode, int32_t index, intptr_t value, void* ptr,
                                  float opt) noexcept {
  char* text = static_cast<char*>(ptr);
  switch (opcode) {
    case vst2::effCanBeAutomated:
      return canParameterBeAutomated(index) ? 1 : 0;
    case vst2::effGetProgramNameIndexed:
      return text && getProgramNameIndexed(static_cast<int32_t>(value), index, text) ? 1 : 0;
    case vst2::effGetPlugCategory:
      return getPlugCategory();
    case vst2::effGetEffectName:
      return text && getEffectName(text) ? 1 : 0;
    case vst2::effGetVendorString:
      return text && getVendorString(text) ? 1 : 0;
    case vst2::effGetProductString:
      return text && getProductString(text) ? 1 : 0;
    case vst2::effGetVendorVersion:
      return getVendorVersion();
    case vst2::effCanDo:
      return text ? canDo(text) : 0;
    case vst2::effGetVstVersion:
      return getVstVersion();
    case vst2::effVendorSpecific:
      return vendorSpecific(index, value, ptr, opt);
    case vst2::effEditKeyDown:
    case vst2::effEditKeyUp: {
      AEffEditor* editor = getEditor();
      if (!editor) return 0;
      const KeyCode key{index, value, opt};
      const bool used =
          opcode == vst2::effEditKeyDown ? editor->onKeyDown(key) : editor->onKeyUp(key);
      return used ? 1 : 0;
    }
    case vst2::effSetEditKnobMode: {
      AEffEditor* editor = getEditor();
      return editor && editor->setKnobMode(static_cast<int32_t>(value)) ? 1 : 0;
    }
    case vst2::effGetSpeakerArrangement:
      // No arrangement of our own: both answers are null.
      if (value) *reinterpret_cast<vst2::VstSpeakerArrangement**>(value) = nullptr;
      if (ptr) *static_cast<vst2::VstSpeakerArrangement**>(ptr) = nullptr;
      return 0;
    default:
      // The basic requests; every other request (events, bypass, offline,
      // pins, tail size, precision, shell plug-ins ...) is answered with 0.
      return AudioEffect::dispatcher(opcode, index, value, ptr, opt);
  }
}

}  // namespace vortan
