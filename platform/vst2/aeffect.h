// The VST 2.4 binary interface between a host and an effect: the effect
// record, the callback types, the opcode numbers in both directions and the
// small records passed through the dispatcher. Written from the published
// interface; every layout is checked below for 32- and 64-bit targets.
#pragma once

#include <cstddef>
#include <cstdint>

#if defined(_WIN32) && !defined(_WIN64)
#define VST2_CALL __cdecl
#else
#define VST2_CALL
#endif

namespace vst2 {

struct AEffect;

using Dispatcher = intptr_t(VST2_CALL*)(AEffect* effect, int32_t opcode, int32_t index,
                                        intptr_t value, void* ptr, float opt);
using ProcessFloat = void(VST2_CALL*)(AEffect* effect, float** inputs, float** outputs,
                                      int32_t frames);
using ProcessDouble = void(VST2_CALL*)(AEffect* effect, double** inputs, double** outputs,
                                       int32_t frames);
using SetParameterProc = void(VST2_CALL*)(AEffect* effect, int32_t index, float value);
using GetParameterProc = float(VST2_CALL*)(AEffect* effect, int32_t index);
using HostCallback = intptr_t(VST2_CALL*)(AEffect* effect, int32_t opcode, int32_t index,
                                          intptr_t value, void* ptr, float opt);

constexpr int32_t kEffectMagic = 0x56737450;  // 'VstP'

struct AEffect {
  int32_t magic;
  Dispatcher dispatcher;
  ProcessFloat process;  // accumulating (the old default)
  SetParameterProc setParameter;
  GetParameterProc getParameter;
  int32_t numPrograms;
  int32_t numParams;
  int32_t numInputs;
  int32_t numOutputs;
  int32_t flags;
  intptr_t resvd1;
  intptr_t resvd2;
  int32_t initialDelay;
  int32_t realQualities;
  int32_t offQualities;
  float ioRatio;
  void* object;
  void* user;
  int32_t uniqueID;
  int32_t version;
  ProcessFloat processReplacing;
  ProcessDouble processDoubleReplacing;
  char future[56];
};

// AEffect::flags
enum EffectFlags : int32_t {
  effFlagsHasEditor = 1 << 0,
  effFlagsCanMono = 1 << 3,
  effFlagsCanReplacing = 1 << 4,
  effFlagsProgramChunks = 1 << 5,
  effFlagsIsSynth = 1 << 8,
  effFlagsNoSoundInStop = 1 << 9,
  effFlagsCanDoubleReplacing = 1 << 12,
};

// Requests from the host to the effect (dispatcher opcodes).
enum EffectOpcode : int32_t {
  effOpen = 0,
  effClose = 1,
  effSetProgram = 2,
  effGetProgram = 3,
  effSetProgramName = 4,
  effGetProgramName = 5,
  effGetParamLabel = 6,
  effGetParamDisplay = 7,
  effGetParamName = 8,
  effSetSampleRate = 10,
  effSetBlockSize = 11,
  effMainsChanged = 12,
  effEditGetRect = 13,
  effEditOpen = 14,
  effEditClose = 15,
  effEditIdle = 19,
  effIdentify = 22,
  effGetChunk = 23,
  effSetChunk = 24,
  effProcessEvents = 25,
  effCanBeAutomated = 26,
  effString2Parameter = 27,
  effGetProgramNameIndexed = 29,
  effGetInputProperties = 33,
  effGetOutputProperties = 34,
  effGetPlugCategory = 35,
  effProcessVarIo = 41,
  effSetSpeakerArrangement = 42,
  effSetBypass = 44,
  effGetEffectName = 45,
  effGetVendorString = 47,
  effGetProductString = 48,
  effGetVendorVersion = 49,
  effVendorSpecific = 50,
  effCanDo = 51,
  effGetTailSize = 52,
  effIdle = 53,
  effGetParameterProperties = 56,
  effGetVstVersion = 58,
  effEditKeyDown = 59,
  effEditKeyUp = 60,
  effSetEditKnobMode = 61,
  effGetMidiKeyName = 66,
  effBeginSetProgram = 67,
  effEndSetProgram = 68,
  effGetSpeakerArrangement = 69,
  effShellGetNextPlugin = 70,
  effStartProcess = 71,
  effStopProcess = 72,
  effSetProcessPrecision = 77,
};

// Requests from the effect to the host (host callback opcodes).
enum HostOpcode : int32_t {
  audioMasterAutomate = 0,
  audioMasterVersion = 1,
  audioMasterCurrentId = 2,
  audioMasterIdle = 3,
  audioMasterGetTime = 7,
  audioMasterProcessEvents = 8,
  audioMasterIOChanged = 13,
  audioMasterSizeWindow = 15,
  audioMasterGetSampleRate = 16,
  audioMasterGetBlockSize = 17,
  audioMasterGetCurrentProcessLevel = 23,
  audioMasterGetVendorString = 32,
  audioMasterGetProductString = 33,
  audioMasterGetVendorVersion = 34,
  audioMasterCanDo = 37,
  audioMasterUpdateDisplay = 42,
  audioMasterBeginEdit = 43,
  audioMasterEndEdit = 44,
};

// Plug-in categories answered to effGetPlugCategory.
enum PlugCategory : int32_t { kPlugCategEffect = 1, kPlugCategSynth = 2 };

// Fixed string capacities (bytes including the terminator) hosts allocate.
constexpr int kMaxProgNameLen = 24;
constexpr int kMaxParamStrLen = 8;
constexpr int kMaxEffectNameLen = 32;
constexpr int kMaxVendorStrLen = 64;
constexpr int kMaxProductStrLen = 64;
constexpr int kMaxLabelLen = 64;
constexpr int kMaxShortLabelLen = 8;

struct ERect {
  int16_t top;
  int16_t left;
  int16_t bottom;
  int16_t right;
};

enum PinFlags : int32_t { kVstPinIsActive = 1, kVstPinIsStereo = 2, kVstPinUseSpeaker = 4 };

struct VstPinProperties {
  char label[kMaxLabelLen];
  int32_t flags;
  int32_t arrangementType;
  char shortLabel[kMaxShortLabelLen];
  char future[48];
};

enum SpeakerArrangementType : int32_t {
  kSpeakerArrUserDefined = -2,
  kSpeakerArrEmpty = -1,
  kSpeakerArrMono = 0,
  kSpeakerArrStereo = 1,
};

struct VstSpeakerProperties {
  float azimuth;
  float elevation;
  float radius;
  float reserved;
  char name[64];
  int32_t type;
  char future[28];
};

struct VstSpeakerArrangement {
  int32_t type;
  int32_t numChannels;
  VstSpeakerProperties speakers[8];
};

enum EventType : int32_t { kVstMidiType = 1, kVstSysExType = 6 };

struct VstEvent {
  int32_t type;
  int32_t byteSize;
  int32_t deltaFrames;
  int32_t flags;
  char data[16];
};

struct VstMidiEvent {
  int32_t type;
  int32_t byteSize;
  int32_t deltaFrames;
  int32_t flags;
  int32_t noteLength;
  int32_t noteOffset;
  char midiData[4];
  char detune;
  char noteOffVelocity;
  char reserved1;
  char reserved2;
};

// A host passes as many event pointers as numEvents says; the declared array
// length is only the minimum.
struct VstEvents {
  int32_t numEvents;
  intptr_t reserved;
  VstEvent* events[2];
};

struct MidiKeyName {
  int32_t thisProgramIndex;
  int32_t thisKeyNumber;
  char keyName[kMaxLabelLen];
  int32_t reserved;
  int32_t flags;
};

// ---- layout checks ---------------------------------------------------------
#if INTPTR_MAX == INT64_MAX
static_assert(sizeof(AEffect) == 192, "AEffect size (64-bit)");
static_assert(offsetof(AEffect, dispatcher) == 8, "AEffect::dispatcher");
static_assert(offsetof(AEffect, numPrograms) == 40, "AEffect::numPrograms");
static_assert(offsetof(AEffect, flags) == 56, "AEffect::flags");
static_assert(offsetof(AEffect, resvd1) == 64, "AEffect::resvd1");
static_assert(offsetof(AEffect, initialDelay) == 80, "AEffect::initialDelay");
static_assert(offsetof(AEffect, ioRatio) == 92, "AEffect::ioRatio");
static_assert(offsetof(AEffect, object) == 96, "AEffect::object");
static_assert(offsetof(AEffect, uniqueID) == 112, "AEffect::uniqueID");
static_assert(offsetof(AEffect, processReplacing) == 120, "AEffect::processReplacing");
static_assert(offsetof(AEffect, processDoubleReplacing) == 128, "AEffect::processDoubleReplacing");
static_assert(offsetof(AEffect, future) == 136, "AEffect::future");
static_assert(sizeof(VstEvents) == 32, "VstEvents size (64-bit)");
#else
static_assert(sizeof(AEffect) == 144, "AEffect size (32-bit)");
static_assert(offsetof(AEffect, dispatcher) == 4, "AEffect::dispatcher");
static_assert(offsetof(AEffect, numPrograms) == 20, "AEffect::numPrograms");
static_assert(offsetof(AEffect, flags) == 36, "AEffect::flags");
static_assert(offsetof(AEffect, resvd1) == 40, "AEffect::resvd1");
static_assert(offsetof(AEffect, initialDelay) == 48, "AEffect::initialDelay");
static_assert(offsetof(AEffect, ioRatio) == 60, "AEffect::ioRatio");
static_assert(offsetof(AEffect, object) == 64, "AEffect::object");
static_assert(offsetof(AEffect, uniqueID) == 72, "AEffect::uniqueID");
static_assert(offsetof(AEffect, processReplacing) == 80, "AEffect::processReplacing");
static_assert(offsetof(AEffect, processDoubleReplacing) == 84, "AEffect::processDoubleReplacing");
static_assert(offsetof(AEffect, future) == 88, "AEffect::future");
static_assert(sizeof(VstEvents) == 16, "VstEvents size (32-bit)");
#endif
static_assert(sizeof(ERect) == 8, "ERect");
static_assert(sizeof(VstPinProperties) == 128, "VstPinProperties");
static_assert(sizeof(VstSpeakerProperties) == 112, "VstSpeakerProperties");
static_assert(sizeof(VstSpeakerArrangement) == 904, "VstSpeakerArrangement");
static_assert(sizeof(VstEvent) == 32, "VstEvent");
static_assert(sizeof(VstMidiEvent) == 32, "VstMidiEvent");
static_assert(offsetof(VstMidiEvent, midiData) == 24, "VstMidiEvent::midiData");
static_assert(sizeof(MidiKeyName) == 80, "MidiKeyName");

}  // namespace vst2

// Exported entry point signature of every plug-in module.
#if defined(_WIN32)
#define VST2_EXPORT extern "C" __declspec(dllexport)
#else
#define VST2_EXPORT extern "C" __attribute__((visibility("default")))
#endif
