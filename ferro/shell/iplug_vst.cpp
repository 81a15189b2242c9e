#include "ferro/shell/iplug_vst.h"

#include <cmath>
#include <cstdio>
#include <cstring>

#include "platform/text/utf8_cut.h"

namespace {

// Capacities of the host buffers we write into. Program names follow the
// 24-byte program-name buffers hosts give; parameter strings are at most 31
// characters here (the table's longest name is 14).
constexpr int kProgramNameCapacity = vst2::kMaxProgNameLen;
constexpr int kParamStringCapacity = 32;

// The host rates the engines are built for.
constexpr float kMinSampleRate = 8000.0f;
constexpr float kMaxSampleRate = 768000.0f;

// Copies at most capacity - 1 bytes and a terminator (cut, not an error),
// never ending inside a UTF-8 character.
void CopyOut(void* ptr, const char* text, int capacity) {
  platform::CopyUtf8Cut(static_cast<char*>(ptr), text, static_cast<size_t>(capacity));
}

int32_t SpeakerType(int channels) {
  if (channels <= 0) return vst2::kSpeakerArrEmpty;
  if (channels == 1) return vst2::kSpeakerArrMono;
  if (channels == 2) return vst2::kSpeakerArrStereo;
  return vst2::kSpeakerArrUserDefined;
}

void SetArrangement(vst2::VstSpeakerArrangement* arrangement, int channels) {
  arrangement->numChannels = channels;
  arrangement->type = SpeakerType(channels);
}

int DecimalVersion(int version) {
  return ((version >> 16) & 0xFFFF) * 10000 + ((version >> 8) & 0xFF) * 100 + (version & 0xFF);
}

}  // namespace

IPlugVST::IPlugVST(vst2::HostCallback hostCallback, const IPlugConfig& config)
    : IPlugBase(config), hostCallback_(hostCallback) {
  std::memset(&aeffect_, 0, sizeof aeffect_);
  std::memset(&inputArrangement_, 0, sizeof inputArrangement_);
  std::memset(&outputArrangement_, 0, sizeof outputArrangement_);

  aeffect_.magic = vst2::kEffectMagic;
  aeffect_.dispatcher = &IPlugVST::VSTDispatcher;
  aeffect_.process = &IPlugVST::VSTProcess;
  aeffect_.setParameter = &IPlugVST::VSTSetParameterCallback;
  aeffect_.getParameter = &IPlugVST::VSTGetParameterCallback;
  aeffect_.processReplacing = &IPlugVST::VSTProcessReplacing;
  aeffect_.processDoubleReplacing = &IPlugVST::VSTProcessDoubleReplacing;
  aeffect_.numPrograms = NPresets();
  aeffect_.numParams = NParams();
  aeffect_.numInputs = NInChannels();
  aeffect_.numOutputs = NOutChannels();
  aeffect_.flags = vst2::effFlagsCanReplacing | vst2::effFlagsCanDoubleReplacing;
  if (DoesChunks()) aeffect_.flags |= vst2::effFlagsProgramChunks;
  if (LegalIO(1, -1)) aeffect_.flags |= vst2::effFlagsCanMono;
  if (IsInstrument()) aeffect_.flags |= vst2::effFlagsIsSynth;
  aeffect_.initialDelay = Latency();
  aeffect_.ioRatio = 1.0f;
  aeffect_.object = this;
  aeffect_.uniqueID = UniqueId();
  aeffect_.version = DecimalVersion(VendorVersion());

  SetArrangement(&inputArrangement_, NInChannels());
  SetArrangement(&outputArrangement_, NOutChannels());
  inputSlots_.assign(static_cast<size_t>(NInChannels()), nullptr);
  outputSlots_.assign(static_cast<size_t>(NOutChannels()), nullptr);
}

IPlugVST* IPlugVST::FromEffect(vst2::AEffect* effect) {
  return effect ? static_cast<IPlugVST*>(effect->object) : nullptr;
}

void IPlugVST::SetEditorSize(int width, int height) {
  aeffect_.flags |= vst2::effFlagsHasEditor;
  editRect_ = {0, 0, static_cast<int16_t>(height), static_cast<int16_t>(width)};
}

intptr_t IPlugVST::HostCall(int32_t opcode, int32_t index, intptr_t value, void* ptr, float opt) {
  return hostCallback_ ? hostCallback_(&aeffect_, opcode, index, value, ptr, opt) : 0;
}

void IPlugVST::HostEditBegin(int index) { HostCall(vst2::audioMasterBeginEdit, index); }
void IPlugVST::HostEditEnd(int index) { HostCall(vst2::audioMasterEndEdit, index); }
void IPlugVST::HostAutomate(int index, double normalized) {
  HostCall(vst2::audioMasterAutomate, index, 0, nullptr, static_cast<float>(normalized));
}

void IPlugVST::ProcessMidiMsg(int offset, uint8_t status, uint8_t data1, uint8_t data2) {
  vst2::VstMidiEvent event;
  std::memset(&event, 0, sizeof event);
  event.type = vst2::kVstMidiType;
  event.byteSize = static_cast<int32_t>(sizeof event);
  event.deltaFrames = offset;
  event.midiData[0] = static_cast<char>(status);
  event.midiData[1] = static_cast<char>(data1);
  event.midiData[2] = static_cast<char>(data2);
  vst2::VstEvents events;
  std::memset(&events, 0, sizeof events);
  events.numEvents = 1;
  events.events[0] = reinterpret_cast<vst2::VstEvent*>(&event);
  HostCall(vst2::audioMasterProcessEvents, 0, 0, &events);
}

void IPlugVST::AskHostIdentity() {
  {
    platform::ScopedLock guard(Lock());
    if (hostAsked_ || hostIdentified_ || HostId() != -1) return;
    hostAsked_ = true;
  }
  char product[sizeof hostProduct_] = {};
  HostCall(vst2::audioMasterGetProductString, 0, 0, product);
  product[sizeof product - 1] = '\0';
  int version = 0;
  if (product[0]) {
    const int v = static_cast<int>(HostCall(vst2::audioMasterGetVendorVersion));
    // decimal major*10000 + minor*100 + revision -> 0xMMMMmmrr
    version = v + (v / 10000) * 55536 + ((v % 10000) / 100) * 156;
  }
  platform::ScopedLock guard(Lock());
  std::memcpy(hostProduct_, product, sizeof product);
  hostProductVersion_ = version;
}

void IPlugVST::IdentifyHostOnce() {
  if (hostIdentified_) return;
  hostIdentified_ = true;
  if (HostId() == -1) SetHost(hostProduct_, hostProductVersion_);
  const int id = HostId();
  if (id == 15 || id == 17 || id == 18 || id == 20) {
    for (size_t i = 2; i < Inputs().size(); ++i) Inputs()[i].connected = false;
    for (size_t i = 2; i < Outputs().size(); ++i) Outputs()[i].connected = true;
  }
  UpdateChannelCounts();
}

void IPlugVST::UpdateChannelCounts() {
  aeffect_.numInputs = NInChannels();
  aeffect_.numOutputs = NOutChannels();
  SetArrangement(&inputArrangement_, NInChannels());
  SetArrangement(&outputArrangement_, NOutChannels());
}

void IPlugVST::SetSpeakerArrangement(const vst2::VstSpeakerArrangement* in,
                                     const vst2::VstSpeakerArrangement* out) {
  auto apply = [](std::vector<ChannelConnection>& channels, int n) {
    for (size_t i = 0; i < channels.size(); ++i) {
      const bool connected = static_cast<int>(i) < n;
      if (!connected && channels[i].connected) {
        // A disconnected input reads zeros from here on.
        std::fill(channels[i].scratch.begin(), channels[i].scratch.end(), 0.0);
      }
      channels[i].connected = connected;
    }
  };
  if (in) apply(Inputs(), in->numChannels);
  if (out) apply(Outputs(), out->numChannels);
}

intptr_t IPlugVST::CanDo(const char* capability) {
  if (!capability) return 0;
  if (!std::strcmp(capability, "receiveVstTimeInfo")) return 1;
  if (DoesMidi()) {
    static const char* const kMidi[] = {"sendVstEvents", "sendVstMidiEvent", "receiveVstEvents",
                                        "receiveVstMidiEvent"};
    for (const char* c : kMidi)
      if (!std::strcmp(capability, c)) return 1;
  }
  if (!std::strcmp(capability, "hasCockosExtensions")) {
    hostExtensions_ |= 1;
    return static_cast<intptr_t>(0xBEEF0000u);
  }
  if (!std::strcmp(capability, "hasCockosViewAsConfig")) {
    hostExtensions_ |= 2;
    return static_cast<intptr_t>(0xBEEF0000u);
  }
  return 0;
}

intptr_t IPlugVST::ProcessEvents(const vst2::VstEvents* events) {
  if (!events) return 0;
  for (int32_t i = 0; i < events->numEvents; ++i) {
    vst2::VstEvent* event = events->events[i];
    if (!event) continue;
    if (event->type == vst2::kVstMidiType) {
      const auto* midi = reinterpret_cast<const vst2::VstMidiEvent*>(event);
      ProcessMidiMsg(midi->deltaFrames, static_cast<uint8_t>(midi->midiData[0]),
                     static_cast<uint8_t>(midi->midiData[1]),
                     static_cast<uint8_t>(midi->midiData[2]));
    } else {
      vst2::VstEvents one;
      std::memset(&one, 0, sizeof one);
      one.numEvents = 1;
      one.events[0] = event;
      HostCall(vst2::audioMasterProcessEvents, 0, 0, &one);
    }
  }
  return 1;
}

intptr_t IPlugVST::GetChunk(bool bank, void** data) {
  StateChunk& chunk = bank ? bankChunk_ : programChunk_;
  chunk.Clear();
  WriteChunkHeader(&chunk);
  bool ok;
  if (bank) {
    StoreCurrentPreset(nullptr);
    ok = WritePresetBank(&chunk);
  } else {
    ok = SerializeState(&chunk);
  }
  if (!ok || chunk.Size() == 0) return 0;
  *data = chunk.Data();
  return chunk.Size();
}

intptr_t IPlugVST::SetChunk(bool bank, const void* data, intptr_t size) {
  // Refuse sizes no state of ours can have before touching any memory.
  constexpr intptr_t kLargestChunk = 1 << 24;
  if (size < 0 || size > kLargestChunk || (size > 0 && !data)) return 0;
  // A copy of its own: the chunk the last effGetChunk handed out may still
  // be being copied by another host thread, so it is never reused here.
  StateChunk chunk;
  chunk.Resize(static_cast<int>(size));
  if (size > 0) std::memcpy(chunk.Data(), data, static_cast<size_t>(size));
  int position = 0;
  const int version = ReadChunkHeader(chunk, &position);
  if (bank && version >= kChunkVersion) {
    position = ReadPresetBank(chunk, position);
  } else {
    position = UnserializeState(chunk, position);
    // A refused state leaves the slot as it was too.
    if (position >= 0) StoreCurrentPreset(nullptr);
  }
  if (position < 0) return 0;
  RedrawParamControls();
  return 1;
}

intptr_t VST2_CALL IPlugVST::VSTDispatcher(vst2::AEffect* effect, int32_t opcode, int32_t index,
                                           intptr_t value, void* ptr, float opt) {
  IPlugVST* plug = FromEffect(effect);
  if (!plug) return 0;
  // Requests that call the host, or wait for the editor's window thread
  // (which may be inside a call to the host), run without the instance lock:
  // a host may hand our call to another thread and wait there while that
  // thread calls the dispatcher.
  switch (opcode) {
    case vst2::effClose:
      delete plug;
      return 0;
    case vst2::effEditOpen:
    case vst2::effEditClose:
      return plug->OpenOrCloseEditor(opcode == vst2::effEditOpen, ptr);
    case vst2::effProcessEvents:
      return plug->ProcessEvents(static_cast<const vst2::VstEvents*>(ptr));
    case vst2::effOpen:
      plug->AskHostIdentity();
      break;
    default:
      break;
  }
  platform::ScopedLock guard(plug->Lock());
  return plug->Dispatch(opcode, index, value, ptr, opt);
}

intptr_t IPlugVST::OpenOrCloseEditor(bool open, void* parentWindow) {
  platform::ScopedLock guard(editorLock_);
  IGraphics* gui = GetGUI();
  if (!gui) return 0;
  if (open) return gui->OpenWindow(parentWindow) ? 1 : 0;
  gui->CloseWindow();
  return 1;
}

intptr_t IPlugVST::Dispatch(int32_t opcode, int32_t index, intptr_t value, void* ptr, float opt) {
  const IParameter* param = GetParam(index);
  switch (opcode) {
    case vst2::effOpen:
      IdentifyHostOnce();
      for (int i = 0; i < NParams(); ++i) OnParamChange(i);
      return 0;
    case vst2::effSetProgram:
      StoreCurrentPreset(nullptr);
      LoadPreset(static_cast<int>(value));
      return 0;
    case vst2::effGetProgram:
      return CurrentPresetIdx();
    case vst2::effSetProgramName:
      if (ptr) StoreCurrentPreset(static_cast<const char*>(ptr));
      return 0;
    case vst2::effGetProgramName:
      if (ptr) CopyOut(ptr, PresetName(CurrentPresetIdx()), kProgramNameCapacity);
      return 0;
    case vst2::effGetParamLabel:
      if (ptr && param) CopyOut(ptr, param->Label(), kParamStringCapacity);
      return 0;
    case vst2::effGetParamDisplay:
      if (ptr && param) param->FormatValue(static_cast<char*>(ptr), kParamStringCapacity);
      return 0;
    case vst2::effGetParamName:
      if (ptr && param) CopyOut(ptr, param->Name(), kParamStringCapacity);
      return 0;
    case vst2::effSetSampleRate:
      // A rate no audio interface runs at (below 8 kHz, above 768 kHz, not a
      // number) is ignored: the engines keep the rate they were designed for.
      // The answer is 0 either way, as for every accepted rate.
      if (opt >= kMinSampleRate && opt <= kMaxSampleRate) {
        SetSampleRate(opt);
        Reset();
      }
      return 0;
    case vst2::effSetBlockSize:
      if (value > 0 && value <= (1 << 20)) {
        SetBlockSize(static_cast<int>(value));
        Reset();
      }
      return 0;
    case vst2::effMainsChanged:
      OnActivate(value != 0);
      if (value == 0) Reset();
      return 0;
    case vst2::effEditGetRect:
      if (ptr && GetGUI()) {
        *static_cast<vst2::ERect**>(ptr) = &editRect_;
        return 1;
      }
      return 0;
    case vst2::effEditIdle:
    case vst2::effIdle:
      return 0;
    case vst2::effIdentify:
      return 0x4E764566;  // 'NvEf'
    case vst2::effGetChunk:
      return ptr ? GetChunk(index == 0, static_cast<void**>(ptr)) : 0;
    case vst2::effSetChunk:
      return SetChunk(index == 0, ptr, value);
    case vst2::effCanBeAutomated:
      return 1;
    case vst2::effGetProgramNameIndexed:
      if (!ptr) return 0;
      CopyOut(ptr, PresetName(index), kProgramNameCapacity);
      return static_cast<char*>(ptr)[0] ? 1 : 0;
    case vst2::effGetInputProperties:
    case vst2::effGetOutputProperties: {
      const bool input = opcode == vst2::effGetInputProperties;
      const int count = input ? NInChannels() : NOutChannels();
      if (!ptr || index < 0 || index >= count) return 0;
      auto* pin = static_cast<vst2::VstPinProperties*>(ptr);
      std::memset(pin, 0, sizeof *pin);
      pin->flags = vst2::kVstPinIsActive;
      if (index % 2 == 0 && index < count - 1) pin->flags |= vst2::kVstPinIsStereo;
      std::snprintf(pin->label, sizeof pin->label, input ? "Input %d" : "Output %d", index + 1);
      return 1;
    }
    case vst2::effGetPlugCategory:
      return IsInstrument() ? vst2::kPlugCategSynth : vst2::kPlugCategEffect;
    case vst2::effProcessVarIo:
      return 0;
    case vst2::effSetSpeakerArrangement:
      SetSpeakerArrangement(reinterpret_cast<const vst2::VstSpeakerArrangement*>(value),
                            static_cast<const vst2::VstSpeakerArrangement*>(ptr));
      return 1;
    case vst2::effGetEffectName:
      if (!ptr) return 0;
      CopyOut(ptr, EffectName(), vst2::kMaxEffectNameLen);
      return 1;
    case vst2::effGetVendorString:
      if (!ptr) return 0;
      CopyOut(ptr, VendorName(), vst2::kMaxVendorStrLen);
      return 1;
    case vst2::effGetProductString:
      if (!ptr) return 0;
      CopyOut(ptr, ProductName(), vst2::kMaxProductStrLen);
      return 1;
    case vst2::effVendorSpecific:
      if (index != 7) return AnswerParameterRequest(index, value, ptr);
      if (!ptr) return 0;
      if (value >= 0 && value < NParams())
        GetParam(static_cast<int>(value))
            ->FormatValue(opt, true, static_cast<char*>(ptr), kParamStringCapacity);
      return 0xBEEF;
    case vst2::effCanDo:
      return CanDo(static_cast<const char*>(ptr));
    case vst2::effGetVstVersion:
      return 2400;
    case vst2::effGetMidiKeyName:
      if (ptr) static_cast<vst2::MidiKeyName*>(ptr)->keyName[0] = '\0';
      return 0;
    case vst2::effGetSpeakerArrangement:
      if (value) *reinterpret_cast<vst2::VstSpeakerArrangement**>(value) = &inputArrangement_;
      if (ptr) *static_cast<vst2::VstSpeakerArrangement**>(ptr) = &outputArrangement_;
      return 1;
    default:
      return 0;
  }
}

void VST2_CALL IPlugVST::VSTSetParameterCallback(vst2::AEffect* effect, int32_t index,
                                                 float value) {
  if (IPlugVST* plug = FromEffect(effect)) plug->VSTSetParameter(index, value);
}

float VST2_CALL IPlugVST::VSTGetParameterCallback(vst2::AEffect* effect, int32_t index) {
  IPlugVST* plug = FromEffect(effect);
  return plug ? plug->VSTGetParameter(index) : 0.0f;
}

void VST2_CALL IPlugVST::VSTProcess(vst2::AEffect* effect, float** inputs, float** outputs,
                                    int32_t frames) {
  if (IPlugVST* plug = FromEffect(effect)) plug->ProcessFloat(inputs, outputs, frames, true);
}

void VST2_CALL IPlugVST::VSTProcessReplacing(vst2::AEffect* effect, float** inputs, float** outputs,
                                             int32_t frames) {
  if (IPlugVST* plug = FromEffect(effect)) plug->ProcessFloat(inputs, outputs, frames, false);
}

void VST2_CALL IPlugVST::VSTProcessDoubleReplacing(vst2::AEffect* effect, double** inputs,
                                                   double** outputs, int32_t frames) {
  if (IPlugVST* plug = FromEffect(effect)) plug->ProcessDouble(inputs, outputs, frames);
}

// Audio thread. A host may pass more frames than the block size it set; the
// scratch buffers hold one block, so such a call runs in pieces of that size.
void IPlugVST::ProcessFloat(float** inputs, float** outputs, int frames, bool accumulate) {
  platform::ScopedLock guard(Lock());
  const int piece = GetBlockSize();
  for (int done = 0; done < frames; done += piece) {
    const int n = frames - done < piece ? frames - done : piece;
    int host = 0;
    for (size_t c = 0; c < Inputs().size(); ++c) {
      ChannelConnection& ch = Inputs()[c];
      if (ch.connected) {
        const float* src = inputs ? inputs[host++] : nullptr;
        for (int i = 0; i < n; ++i) ch.scratch[static_cast<size_t>(i)] = src ? src[done + i] : 0.0f;
      }
      inputSlots_[c] = ch.scratch.data();
    }
    host = 0;
    for (size_t c = 0; c < Outputs().size(); ++c) {
      ChannelConnection& ch = Outputs()[c];
      ch.destination = ch.connected && outputs ? outputs[host++] : nullptr;
      outputSlots_[c] = ch.scratch.data();
    }
    ProcessDoubleReplacing(inputSlots_.data(), outputSlots_.data(), n);
    for (ChannelConnection& ch : Outputs()) {
      if (!ch.connected || !ch.destination) continue;
      float* dst = ch.destination + done;
      const double* src = ch.scratch.data();
      if (accumulate) {
        for (int i = 0; i < n; ++i) dst[i] += static_cast<float>(src[i]);
      } else {
        for (int i = 0; i < n; ++i) dst[i] = static_cast<float>(src[i]);
      }
    }
  }
}

// Audio thread. Connected channels run in place on the host's buffers.
void IPlugVST::ProcessDouble(double** inputs, double** outputs, int frames) {
  platform::ScopedLock guard(Lock());
  const int piece = GetBlockSize();
  for (int done = 0; done < frames; done += piece) {
    const int n = frames - done < piece ? frames - done : piece;
    int host = 0;
    for (size_t c = 0; c < Inputs().size(); ++c) {
      ChannelConnection& ch = Inputs()[c];
      double* src = ch.connected && inputs ? inputs[host++] : nullptr;
      inputSlots_[c] = src ? src + done : ch.scratch.data();
    }
    host = 0;
    for (size_t c = 0; c < Outputs().size(); ++c) {
      ChannelConnection& ch = Outputs()[c];
      double* dst = ch.connected && outputs ? outputs[host++] : nullptr;
      outputSlots_[c] = dst ? dst + done : ch.scratch.data();
    }
    ProcessDoubleReplacing(inputSlots_.data(), outputSlots_.data(), n);
  }
}
