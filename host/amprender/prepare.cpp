#include "host/amprender/prepare.h"

#include "host/amprender/atomic_file.h"
#include "host/amprender/plugin_locator.h"
#include "host/presets/preset_host.h"

namespace amprender {

bool PrepareInputs(const Options& o, Prepared* prepared, Failure* failure) {
  std::string error;
  if (!o.loadChunk.empty() && !ReadWholeFile(o.loadChunk, &prepared->chunkIn, &error)) {
    failure->message = error;
    return false;
  }
  if (!o.preset.empty()) {
    if (!presets::LoadFxFile(o.preset, &prepared->preset, &error)) {
      failure->message = error;
      return false;
    }
    prepared->hasPreset = true;
  }
  LocatedPlugin located = LocatePlugin(o.plugin, ExecutableDir());
  if (!located.ok) {
    failure->message = located.error;
    return false;
  }
  prepared->pluginPath = located.path;
  return true;
}

std::unique_ptr<PluginSession> OpenPrepared(const Options& o, const Prepared& prepared, int rate,
                                            Failure* failure) {
  std::unique_ptr<PluginSession> session =
      PluginSession::Open(prepared.pluginPath, rate, o.blockSize, failure);
  if (!session) return nullptr;
  // With a bank, --program picks the bank's program; otherwise the plug-in's.
  const bool bank = prepared.hasPreset && prepared.preset.isBank;
  if (o.program >= 0 && !bank && !session->SelectProgram(o.program, failure)) return nullptr;
  if (prepared.hasPreset) {
    std::string error;
    if (!presets::ApplyPreset(session->instance(), prepared.preset, o.program, &error)) {
      failure->message = "the preset file " + o.preset + " is refused: " + error;
      return nullptr;
    }
  }
  if (!o.loadChunk.empty() && !session->LoadProgramChunk(prepared.chunkIn, o.loadChunk, failure))
    return nullptr;
  if (!session->Apply(o.settings, failure)) return nullptr;
  if (o.presetNameGiven) {
    std::string name = o.presetName.substr(0, presets::kNameBytes - 1);
    session->instance().Dispatch(vst2::effSetProgramName, 0, 0, name.data());
  }
  return session;
}

bool SaveState(const Options& o, PluginSession& session, Failure* failure) {
  std::string error;
  if (!o.saveChunk.empty()) {
    std::vector<uint8_t> chunk = session.ProgramChunk(failure);
    if (chunk.empty()) return false;
    if (!WriteFileAtomically(o.saveChunk, chunk, &error)) {
      failure->message = error;
      return false;
    }
  }
  if (!o.savePreset.empty()) {
    const bool bank = o.savePreset.compare(o.savePreset.size() - 4, 4, ".fxb") == 0;
    std::vector<uint8_t> bytes =
        bank ? presets::WriteBank(presets::CaptureBank(session.instance()))
             : presets::WriteProgram(presets::CaptureProgram(session.instance()));
    if (!WriteFileAtomically(o.savePreset, bytes, &error)) {
      failure->message = error;
      return false;
    }
  }
  return true;
}

}  // namespace amprender
