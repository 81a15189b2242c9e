#include "vortan/shell/audio_effect.h"

#include <cmath>
#include <cstring>

#include "platform/text/utf8_cut.h"

namespace vortan {
namespace {

constexpr int32_t kIdentifyCode = FourCharCode('N', 'v', 'E', 'f');

AudioEffect* EffectOf(vst2::AEffect* e) {
  return e ? static_cast<AudioEffect*>(e->object) : nullptr;
}

// The record's entries. Each finds the object through the record.
intptr_t VST2_CALL DispatchEntry(vst2::AEffect* e, int32_t opcode, int32_t index, intptr_t value,
                                 void* ptr, float opt) {
  AudioEffect* effect = EffectOf(e);
  if (!effect) return 0;
  if (opcode == vst2::effClose) {
    // Nothing else is done: the object and its editor go away with it.
    delete effect;
    return 1;
  }
  return effect->dispatcher(opcode, index, value, ptr, opt);
}

void VST2_CALL ProcessEntry(vst2::AEffect* e, float** in, float** out, int32_t frames) {
  if (AudioEffect* effect = EffectOf(e)) effect->process(in, out, frames);
}

void VST2_CALL ProcessReplacingEntry(vst2::AEffect* e, float** in, float** out, int32_t frames) {
  if (AudioEffect* effect = EffectOf(e)) effect->processReplacing(in, out, frames);
}

void VST2_CALL ProcessDoubleEntry(vst2::AEffect* e, double** in, double** out, int32_t frames) {
  if (AudioEffect* effect = EffectOf(e)) effect->processDoubleReplacing(in, out, frames);
}

void VST2_CALL SetParameterEntry(vst2::AEffect* e, int32_t index, float value) {
  if (AudioEffect* effect = EffectOf(e)) effect->setParameter(index, value);
}

float VST2_CALL GetParameterEntry(vst2::AEffect* e, int32_t index) {
  AudioEffect* effect = EffectOf(e);
  return effect ? effect->getParameter(index) : 0.0f;
}

}  // namespace

void CopyString(char* dst, const char* src, int capacity) noexcept {
  if (capacity > 0) platform::CopyUtf8Cut(dst, src, static_cast<size_t>(capacity));
}

AudioEffect::AudioEffect(vst2::HostCallback audioMaster, int32_t numPrograms,
                         int32_t numParams) noexcept
    : audioMaster_(audioMaster) {
  std::memset(&effect_, 0, sizeof(effect_));
  effect_.magic = vst2::kEffectMagic;
  effect_.dispatcher = &DispatchEntry;
  effect_.process = &ProcessEntry;
  effect_.setParameter = &SetParameterEntry;
  effect_.getParameter = &GetParameterEntry;
  effect_.numPrograms = numPrograms;
  effect_.numParams = numParams;
  effect_.numInputs = 1;
  effect_.numOutputs = 2;
  effect_.ioRatio = 1.0f;
  effect_.object = this;
  effect_.version = 1;
  effect_.processReplacing = &ProcessReplacingEntry;
  effect_.processDoubleReplacing = &ProcessDoubleEntry;
}

AudioEffect::~AudioEffect() = default;

void AudioEffect::setFlag(int32_t flag, bool state) noexcept {
  if (state) {
    effect_.flags |= flag;
  } else {
    effect_.flags &= ~flag;
  }
}

void AudioEffect::setEditor(AEffEditor* editor) noexcept {
  editor_.reset(editor);
  setFlag(vst2::effFlagsHasEditor, editor != nullptr);
}

intptr_t AudioEffect::callHost(int32_t opcode, int32_t index, intptr_t value, void* ptr,
                               float opt) noexcept {
  return audioMaster_ ? audioMaster_(&effect_, opcode, index, value, ptr, opt) : 0;
}

void AudioEffect::process(float**, float**, int32_t) noexcept {}
void AudioEffect::processReplacing(float**, float**, int32_t) noexcept {}
void AudioEffect::processDoubleReplacing(double**, double**, int32_t) noexcept {}

void AudioEffect::setParameter(int32_t, float) noexcept {}
float AudioEffect::getParameter(int32_t) noexcept { return 0.0f; }

void AudioEffect::setParameterAutomated(int32_t index, float value) noexcept {
  setParameter(index, value);
  callHost(vst2::audioMasterAutomate, index, 0, nullptr, value);
}

int32_t AudioEffect::getChunk(void**, bool) noexcept { return 0; }
int32_t AudioEffect::setChunk(const void*, int32_t, bool) noexcept { return 0; }

intptr_t AudioEffect::dispatchEditor(int32_t opcode, void* ptr) noexcept {
  AEffEditor* editor = editor_.get();
  if (!editor) return 0;
  switch (opcode) {
    case vst2::effEditGetRect:
      return ptr && editor->getRect(static_cast<vst2::ERect**>(ptr)) ? 1 : 0;
    case vst2::effEditOpen:
      return editor->open(ptr) ? 1 : 0;
    case vst2::effEditClose:
      editor->close();
      return 0;
    case vst2::effEditIdle:
      editor->idle();
      return 0;
    default:
      return 0;
  }
}

intptr_t AudioEffect::dispatcher(int32_t opcode, int32_t index, intptr_t value, void* ptr,
                                 float opt) noexcept {
  switch (opcode) {
    case vst2::effOpen:
      return 0;
    case vst2::effSetProgram:
      if (value >= 0 && value < effect_.numPrograms) setProgram(static_cast<int32_t>(value));
      return 0;
    case vst2::effGetProgram:
      return getProgram();
    case vst2::effSetProgramName:
      if (ptr) setProgramName(static_cast<const char*>(ptr));
      return 0;
    case vst2::effGetProgramName:
      if (ptr) getProgramName(static_cast<char*>(ptr));
      return 0;
    case vst2::effGetParamLabel:
      if (ptr) getParameterLabel(index, static_cast<char*>(ptr));
      return 0;
    case vst2::effGetParamDisplay:
      if (ptr) getParameterDisplay(index, static_cast<char*>(ptr));
      return 0;
    case vst2::effGetParamName:
      if (ptr) getParameterName(index, static_cast<char*>(ptr));
      return 0;
    case vst2::effSetSampleRate:
      // A rate the model could not be designed for is ignored; the answer is
      // 0 either way, as for every accepted rate.
      if (opt >= kMinSampleRate && opt <= kMaxSampleRate) setSampleRate(opt);
      return 0;
    case vst2::effSetBlockSize:
      setBlockSize(static_cast<int32_t>(value));
      return 0;
    case vst2::effMainsChanged:
      if (value == 0) {
        suspend();
      } else {
        resume();
      }
      return 0;
    case vst2::effEditGetRect:
    case vst2::effEditOpen:
    case vst2::effEditClose:
    case vst2::effEditIdle:
      return dispatchEditor(opcode, ptr);
    case vst2::effIdentify:
      return kIdentifyCode;
    case vst2::effGetChunk:
      if (!ptr) return 0;
      return getChunk(static_cast<void**>(ptr), index != 0);
    case vst2::effSetChunk:
      if (!ptr || value <= 0 || value > INT32_MAX) return 0;
      return setChunk(ptr, static_cast<int32_t>(value), index != 0);
    default:
      return 0;
  }
}

}  // namespace vortan
