// The Vortan plug-in object: identity, the 23 parameters, the bank of 10
// programs with their channel-mode memories, and the raw chunk state. The
// amplifier engine reads the flags and control values kept here.
#pragma once

#include <atomic>
#include <cstdint>

#include "vortan/model/amp_processor.h"
#include "vortan/shell/audio_effect_x.h"
#include "vortan/shell/parameter_table.h"
#include "vortan/shell/program_bank.h"

namespace vortan {

class Vortan : public AudioEffectX {
 public:
  static constexpr int32_t kUniqueId = FourCharCode('V', 'R', 'T', 'Q');
  static constexpr int32_t kVendorVersion = 1000;
  static constexpr int kDisplayChars = 8;

  explicit Vortan(vst2::HostCallback audioMaster) noexcept;
  ~Vortan() override;

  // Audio thread.
  void processReplacing(float** inputs, float** outputs, int32_t frames) noexcept override;

  // Any host thread; the editor comes in through setParameterAutomated.
  void setParameter(int32_t index, float value) noexcept override;
  float getParameter(int32_t index) noexcept override;
  void getParameterLabel(int32_t index, char* label) noexcept override;
  void getParameterDisplay(int32_t index, char* text) noexcept override;
  void getParameterName(int32_t index, char* text) noexcept override;

  // Any host thread (a host that loads programs from two threads at once
  // gets one of them).
  void setProgram(int32_t program) noexcept override;
  void setProgramName(const char* name) noexcept override;
  void getProgramName(char* name) noexcept override;
  bool getProgramNameIndexed(int32_t category, int32_t index, char* text) noexcept override;
  int32_t getChunk(void** data, bool isProgram) noexcept override;
  int32_t setChunk(const void* data, int32_t size, bool isProgram) noexcept override;
  // Hosts call it while the plug-in is suspended; called while audio runs,
  // the redesign goes to the audio thread.
  void setSampleRate(float rate) noexcept override;

  bool getEffectName(char* text) noexcept override;
  bool getVendorString(char* text) noexcept override;
  bool getProductString(char* text) noexcept override;
  int32_t getVendorVersion() noexcept override { return kVendorVersion; }
  // The parameter requests of platform/vst2/parameter_description.h.
  intptr_t vendorSpecific(int32_t index, intptr_t value, void* ptr, float opt) noexcept override;

  // What the engine, the editor and the tests read.
  const ProgramBank& bank() const noexcept { return bank_; }
  bool flag(Switch s) const noexcept {
    return flags_[static_cast<int>(s)].load(std::memory_order_relaxed) != 0;
  }
  ChannelMode channelMode() const noexcept;
  bool redesignPending() const noexcept { return amp_.controls().redesignPending(); }
  const AmpProcessor& amp() const noexcept { return amp_; }

 private:
  // Mode memories.
  ChannelMode gainModeOf(MemoryChannel channel) const noexcept;
  void storeInModeMemory(int program, const ParamInfo& info, float value) noexcept;
  // Re-applies memory values of a mode through setParameter, in the given order.
  void recallMemory(ChannelMode mode, const int* memoryValues, int count) noexcept;
  void recallAfterModeSwitch(int32_t index) noexcept;

  // ---- where the amplifier engine plugs in --------------------------------
  // Construction: clear both engines' half-band memories.
  void clearHalfbandMemories() noexcept { amp_.clearHalfbandMemories(); }
  // Construction: input gain and both drives start smoothed at 0.5.
  void resetSmoothedControls() noexcept { amp_.resetSmoothedControls(); }
  // Construction, last step: the triode stages for the internal rate.
  void designTriodeStages() noexcept { amp_.designTriodeStages(); }
  // setParameter: a switch's flag changed; runs before any memory recall, so
  // values recalled next see the new channel mode.
  void switchChanged(int32_t index, bool on) noexcept { amp_.controls().setSwitch(index, on); }
  // setParameter: derive the engine's control values from one parameter.
  void updateControlValues(int32_t index, float value) noexcept {
    amp_.controls().setControl(index, value);
  }
  // Everything that depends on the rate, now, on the calling thread; clears
  // the redesign-pending flag. Only where no block can run (construction, a
  // suspended plug-in).
  void runSampleRateDesign() noexcept;
  // The audio thread runs the design before its next frame.
  void requestSampleRateDesign() noexcept { amp_.requestRedesign(); }

  // Construction: build and attach the editor (it calls setEditor itself).
  void createEditor() noexcept;

  ProgramBank bank_;
  // What the last getChunk of each kind handed out.
  ProgramRecord programChunk_;
  ProgramRecord bankChunk_[kNumPrograms];
  // Held by processReplacing for its block and by setSampleRate for a design
  // made on its own thread; neither ever waits for the other.
  std::atomic<bool> audioBusy_{false};
  std::atomic<int> flags_[static_cast<int>(Switch::kCount)];
  // The amplifier: its control values are written by the parameter thread,
  // its audio state is touched only by processReplacing and the designs.
  AmpProcessor amp_;
};

}  // namespace vortan
