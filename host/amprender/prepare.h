// The state every render of one command starts from: the plug-in located,
// the chunk and preset files read once, and a session brought to that state
// (program, preset, chunk, settings, program name, in that order).
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "host/amprender/options.h"
#include "host/amprender/plugin_session.h"
#include "host/presets/fx_file.h"

namespace amprender {

struct Prepared {
  std::string pluginPath;
  std::vector<uint8_t> chunkIn;
  bool hasPreset = false;
  presets::FxFile preset;
};

// Reads what the options name (plug-in, chunk file, preset file). False
// with *failure set when one is missing or unreadable.
bool PrepareInputs(const Options& o, Prepared* prepared, Failure* failure);

// Opens an instance at `rate` and applies the options to it.
std::unique_ptr<PluginSession> OpenPrepared(const Options& o, const Prepared& prepared, int rate,
                                            Failure* failure);

// Writes --save-chunk and --save-preset from the session; false with *failure set.
bool SaveState(const Options& o, PluginSession& session, Failure* failure);

}  // namespace amprender
