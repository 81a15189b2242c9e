// The VST 2.4 effect base: owns the AEffect record the host talks to, routes
// the record's entries and the basic dispatcher requests to virtual
// operations, and keeps the host callback, the editor, the sample rate, the
// block size and the current program.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>

#include "platform/vst2/aeffect.h"
#include "vortan/shell/aeff_editor.h"

namespace vortan {

class AudioEffect {
 public:
  static constexpr float kDefaultSampleRate = 44100.0f;
  static constexpr int32_t kDefaultBlockSize = 1024;
  // effSetSampleRate outside this range is ignored (the rate stays): no
  // audio interface runs there, and the designs would not hold.
  static constexpr float kMinSampleRate = 8000.0f;
  static constexpr float kMaxSampleRate = 768000.0f;

  AudioEffect(vst2::HostCallback audioMaster, int32_t numPrograms, int32_t numParams) noexcept;
  virtual ~AudioEffect();
  AudioEffect(const AudioEffect&) = delete;
  AudioEffect& operator=(const AudioEffect&) = delete;

  // The record handed to the host; its object field points back here.
  vst2::AEffect* getAeffect() noexcept { return &effect_; }

  // Host's dispatcher thread. Answers the basic requests; everything else 0.
  virtual intptr_t dispatcher(int32_t opcode, int32_t index, intptr_t value, void* ptr,
                              float opt) noexcept;

  // Audio thread. The deprecated accumulating entry and the double entry do
  // nothing; replacing processing is the subclass's.
  virtual void process(float** inputs, float** outputs, int32_t frames) noexcept;
  virtual void processReplacing(float** inputs, float** outputs, int32_t frames) noexcept;
  virtual void processDoubleReplacing(double** inputs, double** outputs, int32_t frames) noexcept;

  // Any host thread.
  virtual void setParameter(int32_t index, float value) noexcept;
  virtual float getParameter(int32_t index) noexcept;
  // Applies the value, then tells the host (audioMasterAutomate). Editor thread.
  virtual void setParameterAutomated(int32_t index, float value) noexcept;

  virtual void setProgram(int32_t program) noexcept { curProgram_.store(program); }
  virtual int32_t getProgram() noexcept { return curProgram_.load(); }
  virtual void setProgramName(const char* /*name*/) noexcept {}
  virtual void getProgramName(char* name) noexcept { name[0] = '\0'; }

  virtual void getParameterLabel(int32_t /*index*/, char* /*label*/) noexcept {}
  virtual void getParameterDisplay(int32_t /*index*/, char* /*text*/) noexcept {}
  virtual void getParameterName(int32_t /*index*/, char* /*text*/) noexcept {}

  // Chunks: *data points into the effect's own storage; returns the size.
  virtual int32_t getChunk(void** data, bool isProgram) noexcept;
  // Returns 1 when the chunk was taken, 0 when refused.
  virtual int32_t setChunk(const void* data, int32_t size, bool isProgram) noexcept;

  virtual void setSampleRate(float rate) noexcept { sampleRate_.store(rate); }
  virtual void setBlockSize(int32_t frames) noexcept { blockSize_ = frames; }
  virtual void suspend() noexcept {}
  virtual void resume() noexcept {}

  // Takes ownership and sets the has-editor flag (null detaches).
  void setEditor(AEffEditor* editor) noexcept;
  AEffEditor* getEditor() const noexcept { return editor_.get(); }

  float getSampleRate() const noexcept { return sampleRate_.load(); }
  int32_t getBlockSize() const noexcept { return blockSize_; }
  int32_t numPrograms() const noexcept { return effect_.numPrograms; }
  int32_t numParams() const noexcept { return effect_.numParams; }

 protected:
  void setNumInputs(int32_t inputs) noexcept { effect_.numInputs = inputs; }
  void setNumOutputs(int32_t outputs) noexcept { effect_.numOutputs = outputs; }
  void setUniqueID(int32_t id) noexcept { effect_.uniqueID = id; }
  void setVersion(int32_t version) noexcept { effect_.version = version; }
  void canProcessReplacing(bool state) noexcept { setFlag(vst2::effFlagsCanReplacing, state); }
  void programsAreChunks(bool state) noexcept { setFlag(vst2::effFlagsProgramChunks, state); }
  void setFlag(int32_t flag, bool state) noexcept;

  // Calls the host; 0 when there is no callback.
  intptr_t callHost(int32_t opcode, int32_t index = 0, intptr_t value = 0, void* ptr = nullptr,
                    float opt = 0.0f) noexcept;

  // Set and read by different host threads.
  std::atomic<int32_t> curProgram_{0};

 private:
  intptr_t dispatchEditor(int32_t opcode, void* ptr) noexcept;

  vst2::AEffect effect_;
  vst2::HostCallback audioMaster_;
  std::unique_ptr<AEffEditor> editor_;
  std::atomic<float> sampleRate_{kDefaultSampleRate};
  int32_t blockSize_ = kDefaultBlockSize;
};

// Four characters as a 32-bit code, the first in the most significant byte.
constexpr int32_t FourCharCode(char a, char b, char c, char d) {
  return static_cast<int32_t>((static_cast<uint32_t>(static_cast<unsigned char>(a)) << 24) |
                              (static_cast<uint32_t>(static_cast<unsigned char>(b)) << 16) |
                              (static_cast<uint32_t>(static_cast<unsigned char>(c)) << 8) |
                              static_cast<uint32_t>(static_cast<unsigned char>(d)));
}

// Copies at most capacity - 1 bytes of text (never half a UTF-8 character)
// and terminates dst.
void CopyString(char* dst, const char* src, int capacity) noexcept;

}  // namespace vortan
