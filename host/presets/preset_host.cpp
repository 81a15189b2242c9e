#include "host/presets/preset_host.h"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <iterator>

namespace presets {
namespace {

bool Fail(std::string* error, std::string message) {
  *error = std::move(message);
  return false;
}

bool KeepsChunks(const vst2::AEffect* e) { return (e->flags & vst2::effFlagsProgramChunks) != 0; }

bool CheckOwner(const vst2::AEffect* e, int32_t id, std::string* error) {
  if (id == e->uniqueID) return true;
  return Fail(error, "made for another plug-in (id '" + IdText(id) + "'; this one is '" +
                         IdText(e->uniqueID) + "')");
}

bool ApplyProgram(host::PluginInstance& instance, const FxProgram& p, std::string* error) {
  const vst2::AEffect* e = instance.effect();
  if (p.opaque) {
    if (!KeepsChunks(e))
      return Fail(error,
                  "holds an opaque chunk, and this plug-in keeps its programs as "
                  "parameter values");
    if (instance.SetChunk(p.chunk, true) != 1)
      return Fail(error, "the plug-in refused its " + std::to_string(p.chunk.size()) +
                             "-byte program chunk (corrupt, or from another version)");
    return true;
  }
  if (p.numParams != e->numParams)
    return Fail(error, "holds " + std::to_string(p.numParams) +
                           " parameter values, the plug-in has " + std::to_string(e->numParams));
  for (size_t i = 0; i < p.values.size(); ++i) {
    const float v = p.values[i];
    if (!std::isfinite(v) || v < 0.0f || v > 1.0f)
      return Fail(error,
                  "corrupt: parameter " + std::to_string(i) + " is not a value between 0 and 1");
  }
  for (size_t i = 0; i < p.values.size(); ++i)
    instance.SetParameter(static_cast<int32_t>(i), p.values[i]);
  // Some plug-ins store the current values under the name they are given.
  std::string name = p.name.substr(0, kNameBytes - 1);
  instance.Dispatch(vst2::effSetProgramName, 0, 0, name.data());
  return true;
}

bool ApplyBank(host::PluginInstance& instance, const FxBank& b, int program, std::string* error) {
  const vst2::AEffect* e = instance.effect();
  const int chosen = program >= 0 ? program : b.currentProgram;
  if (chosen < 0 || chosen >= b.numPrograms)
    return Fail(error, "has no program " + std::to_string(chosen) + " (programs 0 to " +
                           std::to_string(b.numPrograms - 1) + ")");
  if (b.opaque) {
    if (!KeepsChunks(e))
      return Fail(error,
                  "holds an opaque bank chunk, and this plug-in keeps its programs as "
                  "parameter values");
    if (b.numPrograms != e->numPrograms)
      return Fail(error, "holds " + std::to_string(b.numPrograms) + " programs, the plug-in has " +
                             std::to_string(e->numPrograms));
    if (instance.SetChunk(b.chunk, false) != 1)
      return Fail(error, "the plug-in refused its " + std::to_string(b.chunk.size()) +
                             "-byte bank chunk (corrupt, or from another version)");
    instance.Dispatch(vst2::effSetProgram, 0, chosen);
    return true;
  }
  // A list bank: the chosen program goes into the plug-in's program of the
  // same number when it has one, else into its current program.
  if (chosen < e->numPrograms) instance.Dispatch(vst2::effSetProgram, 0, chosen);
  if (!ApplyProgram(instance, b.programs[static_cast<size_t>(chosen)], error)) {
    *error = "program " + std::to_string(chosen) + ": " + *error;
    return false;
  }
  return true;
}

}  // namespace

bool ApplyPreset(host::PluginInstance& instance, const FxFile& file, int program,
                 std::string* error) {
  const vst2::AEffect* e = instance.effect();
  if (!CheckOwner(e, file.isBank ? file.bank.pluginId : file.program.pluginId, error)) return false;
  return file.isBank ? ApplyBank(instance, file.bank, program, error)
                     : ApplyProgram(instance, file.program, error);
}

FxProgram CaptureProgram(host::PluginInstance& instance) {
  const vst2::AEffect* e = instance.effect();
  FxProgram p;
  p.pluginId = e->uniqueID;
  p.pluginVersion = e->version;
  p.numParams = e->numParams;
  p.name = instance.ProgramName().substr(0, kNameBytes - 1);
  p.opaque = KeepsChunks(e);
  if (p.opaque) {
    p.chunk = instance.GetChunk(true);
  } else {
    for (int32_t i = 0; i < e->numParams; ++i) p.values.push_back(instance.GetParameter(i));
  }
  return p;
}

FxBank CaptureBank(host::PluginInstance& instance) {
  const vst2::AEffect* e = instance.effect();
  FxBank b;
  b.formatVersion = 2;
  b.pluginId = e->uniqueID;
  b.pluginVersion = e->version;
  b.numPrograms = std::max(1, e->numPrograms);
  b.currentProgram = static_cast<int32_t>(instance.Dispatch(vst2::effGetProgram));
  b.opaque = KeepsChunks(e);
  if (b.opaque) {
    b.chunk = instance.GetChunk(false);
    return b;
  }
  for (int32_t i = 0; i < b.numPrograms; ++i) {
    if (e->numPrograms > 1) instance.Dispatch(vst2::effSetProgram, 0, i);
    b.programs.push_back(CaptureProgram(instance));
  }
  if (e->numPrograms > 1) instance.Dispatch(vst2::effSetProgram, 0, b.currentProgram);
  return b;
}

bool LoadFxFile(const std::string& path, FxFile* out, std::string* error) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return Fail(error, "cannot open the preset file " + path);
  std::vector<uint8_t> bytes;
  char buffer[65536];
  while (in.read(buffer, sizeof buffer) || in.gcount() > 0) {
    bytes.insert(bytes.end(), buffer, buffer + in.gcount());
    if (bytes.size() > kMaxFileBytes) break;
  }
  if (in.bad()) return Fail(error, "cannot read the preset file " + path);
  if (bytes.empty()) return Fail(error, "the preset file " + path + " is empty");
  if (!ParseFx(bytes.data(), bytes.size(), out, error)) {
    *error = "the preset file " + path + " is refused: " + *error;
    return false;
  }
  return true;
}

}  // namespace presets
