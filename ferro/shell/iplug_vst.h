// The VST 2.4 binding: fills the AEffect record handed to the host, answers
// the dispatcher, converts the host's audio buffers for the 64-bit block
// process, and reports automation to the host.
#pragma once

#include <vector>

#include "ferro/shell/iplug_base.h"
#include "platform/vst2/aeffect.h"

class IPlugVST : public IPlugBase {
 public:
  IPlugVST(vst2::HostCallback hostCallback, const IPlugConfig& config);
  ~IPlugVST() override = default;

  vst2::AEffect* GetAEffect() { return &aeffect_; }
  static IPlugVST* FromEffect(vst2::AEffect* effect);

  void HostEditBegin(int index) override;
  void HostAutomate(int index, double normalized) override;
  void HostEditEnd(int index) override;
  // Incoming MIDI: by default sent back to the host unchanged. Called
  // without the instance lock (the echo is a call to the host): an override
  // that changes the plug-in's state takes the lock for that change only.
  virtual void ProcessMidiMsg(int offset, uint8_t status, uint8_t data1, uint8_t data2);
  // Asks the host for its product string and version, once per instance
  // (effOpen), with the instance lock released.
  void AskHostIdentity();
  // Identifies the host from those answers, once per instance (effOpen,
  // instance lock held).
  void IdentifyHostOnce();
  // Marks the effect as having an editor of this size (after AdoptEditor).
  void SetEditorSize(int width, int height);
  int HostExtensionBits() const { return hostExtensions_; }
  // The text of one step of an int parameter for wrappers that list steps
  // (not the host display, which stays the number); null when it has none.
  virtual const char* StepName(int /*paramIdx*/, int /*step*/) const { return nullptr; }

  // Record callbacks.
  static intptr_t VST2_CALL VSTDispatcher(vst2::AEffect* effect, int32_t opcode, int32_t index,
                                          intptr_t value, void* ptr, float opt);
  static void VST2_CALL VSTProcess(vst2::AEffect* effect, float** inputs, float** outputs,
                                   int32_t frames);
  static void VST2_CALL VSTProcessReplacing(vst2::AEffect* effect, float** inputs, float** outputs,
                                            int32_t frames);
  static void VST2_CALL VSTProcessDoubleReplacing(vst2::AEffect* effect, double** inputs,
                                                  double** outputs, int32_t frames);
  static void VST2_CALL VSTSetParameterCallback(vst2::AEffect* effect, int32_t index, float value);
  static float VST2_CALL VSTGetParameterCallback(vst2::AEffect* effect, int32_t index);

 private:
  intptr_t Dispatch(int32_t opcode, int32_t index, intptr_t value, void* ptr, float opt);
  // effEditOpen and effEditClose, under the editor lock only.
  intptr_t OpenOrCloseEditor(bool open, void* parentWindow);
  // The parameter requests of platform/vst2/parameter_description.h; 0 when
  // `request` is not one of them or the parameter does not exist.
  intptr_t AnswerParameterRequest(int32_t request, intptr_t paramIdx, void* ptr);
  intptr_t HostCall(int32_t opcode, int32_t index = 0, intptr_t value = 0, void* ptr = nullptr,
                    float opt = 0.0f);
  intptr_t GetChunk(bool bank, void** data);
  intptr_t SetChunk(bool bank, const void* data, intptr_t size);
  intptr_t ProcessEvents(const vst2::VstEvents* events);
  intptr_t CanDo(const char* capability);
  void SetSpeakerArrangement(const vst2::VstSpeakerArrangement* in,
                             const vst2::VstSpeakerArrangement* out);
  void UpdateChannelCounts();
  void ProcessFloat(float** inputs, float** outputs, int frames, bool accumulate);
  void ProcessDouble(double** inputs, double** outputs, int frames);

  vst2::AEffect aeffect_;
  vst2::HostCallback hostCallback_;
  vst2::ERect editRect_ = {0, 0, 0, 0};
  vst2::VstSpeakerArrangement inputArrangement_;
  vst2::VstSpeakerArrangement outputArrangement_;
  int hostExtensions_ = 0;
  bool hostIdentified_ = false;
  bool hostAsked_ = false;
  char hostProduct_[256] = {};
  int hostProductVersion_ = 0;
  // Serialises opening and closing the editor window. Not the instance lock:
  // closing waits for the window thread, which may be inside a call to the
  // host that waits for a host thread calling the dispatcher.
  platform::RecursiveLock editorLock_;
  // What the last effGetChunk of each kind handed out: untouched until the
  // next effGetChunk of that kind (effSetChunk reads into its own copy).
  StateChunk bankChunk_;
  StateChunk programChunk_;
  std::vector<double*> inputSlots_;
  std::vector<double*> outputSlots_;
};
