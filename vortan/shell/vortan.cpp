#include "vortan/shell/vortan.h"

#include <algorithm>
#include <cmath>
#include <new>

#include "vortan/editor/sd_editor.h"
#include "vortan/shell/float_format.h"
#include "vortan/shell/relaxed_access.h"

namespace vortan {

namespace {

constexpr char kEffectName[] = "Vortan_v1_1b";
constexpr char kProductString[] = "Vortan_v1_1b";
constexpr char kVendorString[] = "Quillon Plugins";

// A channel switch recalls only the levels of the new mode.
constexpr int kChannelRecallValues[] = {ModeMemory::kInput, ModeMemory::kVolume};

}  // namespace

Vortan::Vortan(vst2::HostCallback audioMaster) noexcept
    : AudioEffectX(audioMaster, kNumPrograms, kNumParams) {
  setNumInputs(2);
  setNumOutputs(2);
  setUniqueID(kUniqueId);
  setVersion(1);
  canProcessReplacing(true);
  programsAreChunks(true);
  for (std::atomic<int>& f : flags_) f.store(0, std::memory_order_relaxed);

  clearHalfbandMemories();
  bank_.reset();

  resetSmoothedControls();
  requestSampleRateDesign();

  setProgram(0);
  // A host may process without ever setting the rate: design for the default
  // rate now, on this thread, before the first block can run.
  runSampleRateDesign();

  createEditor();
  designTriodeStages();
}

Vortan::~Vortan() {
  // Stop the editor's window thread while everything a user edit reaches
  // (this object, its bank) is still whole; the base deletes the editor.
  if (AEffEditor* editor = getEditor()) editor->close();
}

void Vortan::createEditor() noexcept {
  // The editor attaches itself; without memory for it the plug-in has none.
  new (std::nothrow) SDEditor(this);
}

ChannelMode Vortan::channelMode() const noexcept {
  if (flag(Switch::kChannelB)) {
    return flag(Switch::kBHighGain) ? ChannelMode::BHigh : ChannelMode::BLow;
  }
  return flag(Switch::kACrunch) ? ChannelMode::ACrunch : ChannelMode::AClean;
}

ChannelMode Vortan::gainModeOf(MemoryChannel channel) const noexcept {
  if (channel == MemoryChannel::kA) {
    return flag(Switch::kACrunch) ? ChannelMode::ACrunch : ChannelMode::AClean;
  }
  if (channel == MemoryChannel::kB) {
    return flag(Switch::kBHighGain) ? ChannelMode::BHigh : ChannelMode::BLow;
  }
  return channelMode();
}

void Vortan::storeInModeMemory(int program, const ParamInfo& info, float value) noexcept {
  if (info.memory == MemoryChannel::kNone) return;
  // A channel's knob belongs to that channel's gain mode even while the other
  // channel is selected; Input and Volume belong to the selected mode.
  const int mode = static_cast<int>(gainModeOf(info.memory));
  bank_.setMemoryValue(program, mode, info.memoryValue, value);
  bank_.setLiveMemoryValue(mode, info.memoryValue, value);
}

void Vortan::recallMemory(ChannelMode mode, const int* memoryValues, int count) noexcept {
  const ModeMemory recalled = bank_.memory(curProgram_.load(), static_cast<int>(mode));
  const bool channelB = mode == ChannelMode::BLow || mode == ChannelMode::BHigh;
  const MemoryChannel channel = channelB ? MemoryChannel::kB : MemoryChannel::kA;
  for (int i = 0; i < count; ++i) {
    const int g = memoryValues[i];
    setParameter(ChannelParamOfMemoryValue(channel, g), recalled.g[g]);
  }
}

void Vortan::recallAfterModeSwitch(int32_t index) noexcept {
  switch (index) {
    case kChannel:
      recallMemory(channelMode(), kChannelRecallValues,
                   static_cast<int>(sizeof(kChannelRecallValues) / sizeof(int)));
      break;
    case kCleanCrunch:
      // While channel B plays, the new channel A mode is only remembered.
      if (!flag(Switch::kChannelB)) {
        recallMemory(channelMode(), kGainModeRecallValues, kGainModeRecallCount);
      }
      break;
    case kLowHighGain:
      if (flag(Switch::kChannelB)) {
        recallMemory(channelMode(), kGainModeRecallValues, kGainModeRecallCount);
      }
      break;
    default:
      break;
  }
}

void Vortan::setParameter(int32_t index, float value) noexcept {
  if (!IsValidParam(index) || std::isnan(value)) return;
  value = value < 0.0f ? 0.0f : (value > 1.0f ? 1.0f : value);
  const ParamInfo& info = ParamInfoOf(index);

  const int program = curProgram_.load();
  bank_.setValue(program, info.slot, value);
  bank_.setLiveValue(info.slot, value);
  storeInModeMemory(program, info, value);

  if (info.isSwitch) {
    const bool on = SwitchIsOn(value);
    flags_[static_cast<int>(info.flag)].store(on ? 1 : 0, std::memory_order_relaxed);
    switchChanged(index, on);
  }
  recallAfterModeSwitch(index);
  if (index == kQuality) requestSampleRateDesign();

  updateControlValues(index, value);
  if (AEffEditor* editor = getEditor()) editor->setParameter(index, value);
}

float Vortan::getParameter(int32_t index) noexcept {
  return IsValidParam(index) ? bank_.liveValue(ParamInfoOf(index).slot) : 0.0f;
}

void Vortan::getParameterLabel(int32_t index, char* label) noexcept {
  if (IsValidParam(index)) label[0] = '\0';  // no unit
}

void Vortan::getParameterDisplay(int32_t index, char* text) noexcept {
  if (IsValidParam(index)) FormatFloatCut(getParameter(index), text, kDisplayChars);
}

void Vortan::getParameterName(int32_t index, char* text) noexcept {
  if (IsValidParam(index)) CopyString(text, ParamInfoOf(index).name, vst2::kMaxLabelLen);
}

void Vortan::setProgram(int32_t program) noexcept {
  if (program < 0 || program >= kNumPrograms) return;
  curProgram_.store(program);
  // Apply the values as stored. The mode switches recall memories on the way
  // and every value passes through its memory; the stored program must come
  // out of loading exactly as it went in, so it is put back afterwards.
  const ProgramBody stored = bank_.body(program);
  for (int index : kProgramApplyOrder) {
    setParameter(index, stored.values[ParamInfoOf(index).slot]);
  }
  bank_.setBody(program, stored);
  bank_.setLiveBody(stored);
  requestSampleRateDesign();
}

void Vortan::setProgramName(const char* name) noexcept { bank_.setName(curProgram_.load(), name); }

void Vortan::getProgramName(char* name) noexcept { bank_.copyName(curProgram_.load(), name); }

bool Vortan::getProgramNameIndexed(int32_t /*category*/, int32_t index, char* text) noexcept {
  if (index < 0 || index >= kNumPrograms) return false;
  bank_.copyName(index, text);
  return true;
}

int32_t Vortan::getChunk(void** data, bool isProgram) noexcept {
  // A snapshot, so the host can copy it while other threads go on changing
  // the programs; it stays as it is until the next getChunk of its kind.
  if (isProgram) {
    bank_.copyProgram(curProgram_.load(), &programChunk_);
    *data = &programChunk_;
    return kProgramChunkSize;
  }
  bank_.copyBank(bankChunk_);
  *data = bankChunk_;
  return kBankChunkSize;
}

int32_t Vortan::setChunk(const void* data, int32_t size, bool isProgram) noexcept {
  if (!data) return 0;
  const int program = curProgram_.load();
  if (isProgram) {
    if (size != kProgramChunkSize || !bank_.loadProgram(program, data)) return 0;
  } else {
    if (size != kBankChunkSize || !bank_.loadBank(data)) return 0;
  }
  setProgram(program);
  return 1;
}

void Vortan::setSampleRate(float rate) noexcept {
  AudioEffectX::setSampleRate(rate);
  amp_.setSampleRate(getSampleRate());  // requests the redesign
  // Hosts set the rate while suspended, and then the design runs here at
  // once. A host that sets it while a block runs leaves the redesign to the
  // audio thread, before its next frame.
  if (!audioBusy_.exchange(true, std::memory_order_acquire)) {
    amp_.designNow();
    audioBusy_.store(false, std::memory_order_release);
  }
}

void Vortan::runSampleRateDesign() noexcept {
  amp_.setSampleRate(getSampleRate());
  amp_.designNow();
}

void Vortan::processReplacing(float** inputs, float** outputs, int32_t frames) noexcept {
  if (!outputs || !outputs[0] || !outputs[1] || frames <= 0) return;
  if (!inputs || !inputs[0] || !inputs[1]) {
    std::fill_n(outputs[0], frames, 0.0f);
    std::fill_n(outputs[1], frames, 0.0f);
    return;
  }
  // A rate being designed on another thread this very moment: this block
  // is silent rather than wait (it can only happen to a host that changes
  // the rate while it plays).
  if (audioBusy_.exchange(true, std::memory_order_acquire)) {
    std::fill_n(outputs[0], frames, 0.0f);
    std::fill_n(outputs[1], frames, 0.0f);
    return;
  }
  // A quality or program change made on another thread reaches the engine
  // through the redesign-pending flag, which it checks before every frame.
  amp_.process(inputs[0], inputs[1], outputs[0], outputs[1], frames);
  audioBusy_.store(false, std::memory_order_release);
}

bool Vortan::getEffectName(char* text) noexcept {
  CopyString(text, kEffectName, vst2::kMaxEffectNameLen);
  return true;
}

bool Vortan::getVendorString(char* text) noexcept {
  CopyString(text, kVendorString, vst2::kMaxVendorStrLen);
  return true;
}

bool Vortan::getProductString(char* text) noexcept {
  CopyString(text, kProductString, vst2::kMaxProductStrLen);
  return true;
}

}  // namespace vortan
