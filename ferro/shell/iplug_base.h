// The host-independent core of the plug-in object: parameters, preset slots,
// audio channel records, the adopted editor and the re-entrant instance lock.
// Every road by which a parameter changes ends in OnParamChange(index).
#pragma once

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "ferro/shell/channel_connection.h"
#include "ferro/shell/igraphics.h"
#include "ferro/shell/iparameter.h"
#include "ferro/shell/preset_slot.h"
#include "ferro/shell/state_chunk.h"
#include "platform/lock/recursive_lock.h"

// Identity and configuration the plug-in passes to its bases.
struct IPlugConfig {
  int nParams = 0;
  const char* channelIOStr = "";
  int nPresets = 1;
  const char* effectName = "";
  const char* productName = "";
  const char* vendorName = "";
  int vendorVersion = 0;
  int uniqueId = 0;
  int mfrId = 0;
  int latency = 0;
  bool plugDoesMidi = false;
  bool plugDoesChunks = false;
  bool plugIsInstrument = false;
};

class IPlugBase {
 public:
  static constexpr int kChunkMagic = 0x70666674;  // bytes 74 66 66 70
  static constexpr int kChunkVersion = 0x00010000;
  static constexpr int kNameLength = 128;

  explicit IPlugBase(const IPlugConfig& config);
  virtual ~IPlugBase();
  IPlugBase(const IPlugBase&) = delete;
  IPlugBase& operator=(const IPlugBase&) = delete;

  int NParams() const { return static_cast<int>(params_.size()); }
  IParameter* GetParam(int index);
  const IParameter* GetParam(int index) const;
  platform::RecursiveLock& Lock() { return lock_; }

  // ---- change roads ----
  // Host automation (host's automation or audio thread).
  void VSTSetParameter(int index, double normalized);
  // Host read (any host thread): 0 for an index outside the table.
  float VSTGetParameter(int index);
  // Editor edit (editor thread, instance lock held): applies the value; false
  // for an index outside the table. The editor reports it to the host
  // (HostAutomate) once it has released the instance lock.
  bool SetParameterFromGUI(int index, double normalized);
  // The parameter state: every value as a 64-bit float in index order.
  bool WriteParamValues(StateChunk* chunk);
  int UnserializeParams(const StateChunk& chunk, int position);
  // The position after a complete, loadable parameter state at `position`,
  // or -1; nothing changes.
  int CheckParamValues(const StateChunk& chunk, int position) const;
  // The virtual forms the binding and the preset code always use.
  virtual bool SerializeState(StateChunk* chunk) { return WriteParamValues(chunk); }
  virtual int UnserializeState(const StateChunk& chunk, int position) {
    return UnserializeParams(chunk, position);
  }
  virtual int CheckState(const StateChunk& chunk, int position) const {
    return CheckParamValues(chunk, position);
  }
  void AdoptEditor(IGraphics* graphics);
  IGraphics* GetGUI() const { return graphics_.get(); }
  // Every editor control shows its parameter's current value.
  void RedrawParamControls();

  virtual void OnParamChange(int index) = 0;
  virtual void Reset() {}
  virtual void OnActivate(bool) {}
  // Notices to the host. Never called with the instance lock held: a host may
  // hand them to another thread that calls the plug-in before it answers.
  virtual void HostEditBegin(int) {}
  virtual void HostAutomate(int, double) {}
  virtual void HostEditEnd(int) {}

  // ---- presets ----
  int NPresets() const { return static_cast<int>(presets_.size()); }
  int CurrentPresetIdx() const { return currentPreset_; }
  const char* PresetName(int index) const;
  // The slot itself (for tests and the chunk fuzzer); null outside the bank.
  const IPresetSlot* Preset(int index) const {
    return index >= 0 && index < NPresets() ? &presets_[static_cast<size_t>(index)] : nullptr;
  }
  void FillPresetsFromState(const char* name, int count);
  void EnsureOnePreset();
  bool LoadPreset(int index);
  void StoreCurrentPreset(const char* name);
  bool WritePresetBank(StateChunk* chunk);
  int ReadPresetBank(const StateChunk& chunk, int position);
  // Reads the chunk header at *position; returns its version, 0 without one.
  static int ReadChunkHeader(const StateChunk& chunk, int* position);
  static void WriteChunkHeader(StateChunk* chunk);

  // ---- identity and host ----
  const char* EffectName() const { return effectName_; }
  const char* ProductName() const { return productName_; }
  const char* VendorName() const { return vendorName_; }
  int VendorVersion() const { return vendorVersion_; }
  int UniqueId() const { return uniqueId_; }
  int Latency() const { return latency_; }
  bool DoesMidi() const { return doesMidi_; }
  bool DoesChunks() const { return doesChunks_; }
  bool IsInstrument() const { return isInstrument_; }
  int HostId() const { return hostId_; }
  int HostVersion() const { return hostVersion_; }
  // Identifies the host from its product string (case-insensitive substrings).
  void SetHost(const char* productString, int version);

  double GetSampleRate() const { return sampleRate_; }
  void SetSampleRate(double rate) { sampleRate_ = rate; }
  int GetBlockSize() const { return blockSize_; }
  void SetBlockSize(int frames);

  // ---- channels ----
  const std::vector<std::pair<int, int>>& ChannelConfigs() const { return channelConfigs_; }
  bool LegalIO(int nIn, int nOut) const;
  int NInChannels() const { return static_cast<int>(inputs_.size()); }
  int NOutChannels() const { return static_cast<int>(outputs_.size()); }
  std::vector<ChannelConnection>& Inputs() { return inputs_; }
  std::vector<ChannelConnection>& Outputs() { return outputs_; }

  // The block entry: channel pointers of 64-bit samples, in place allowed.
  virtual void ProcessDoubleReplacing(double** inputs, double** outputs, int nFrames) = 0;

 private:
  platform::RecursiveLock lock_;  // first member: destroyed last
  std::vector<IParameter> params_;
  std::vector<IPresetSlot> presets_;
  int currentPreset_ = 0;
  char effectName_[kNameLength] = {};
  char productName_[kNameLength] = {};
  char vendorName_[kNameLength] = {};
  int vendorVersion_ = 0;
  int uniqueId_ = 0;
  int mfrId_ = 0;
  int latency_ = 0;
  bool doesMidi_ = false;
  bool doesChunks_ = false;
  bool isInstrument_ = false;
  int hostId_ = -1;
  int hostVersion_ = 0;
  double sampleRate_ = 44100.0;
  int blockSize_ = 0;
  std::vector<std::pair<int, int>> channelConfigs_;
  std::vector<ChannelConnection> inputs_;
  std::vector<ChannelConnection> outputs_;
  std::unique_ptr<IGraphics> graphics_;
};
