// Preset files and a live plug-in instance: loading a parsed .fxp/.fxb into
// it (after checking the file was made for it) and capturing its state as one.
#pragma once

#include <string>

#include "host/presets/fx_file.h"
#include "host/vst_host.h"

namespace presets {

// Applies a program file to the instance's current program, or, for a bank,
// the whole bank (a chunk) or one of its programs (a list of values).
// `program` picks the bank's program; -1 takes the bank's current program.
// False with *error when the file is for another plug-in, holds a kind of
// state the plug-in cannot take, has values that are not numbers within
// 0..1, or the plug-in refuses it.
bool ApplyPreset(host::PluginInstance& instance, const FxFile& file, int program,
                 std::string* error);

// The current program: an opaque chunk when the plug-in keeps its programs
// as chunks, else the list of parameter values.
FxProgram CaptureProgram(host::PluginInstance& instance);
// The whole bank, version 2 (with the current program).
FxBank CaptureBank(host::PluginInstance& instance);

// Reads and parses a file; false with *error naming the file and the reason.
bool LoadFxFile(const std::string& path, FxFile* out, std::string* error);

}  // namespace presets
