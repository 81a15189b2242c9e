// A batch: many inputs (files, or folders of sound files) rendered into one
// folder, several at once, each by its own plug-in instance; one progress bar,
// a table at the end, and a failed file does not stop the others.
#pragma once

#include <csignal>
#include <string>
#include <vector>

#include "host/amprender/options.h"
#include "host/amprender/prepare.h"

namespace amprender {

// The inputs with folders replaced by the sound files inside them (sorted
// by name). False with *error when a folder cannot be read.
bool ExpandInputs(const std::vector<std::string>& inputs, std::vector<std::string>* files,
                  std::string* error);

// Output paths in `outDir`, named after each input's file name with a .wav
// extension. False with *error when two inputs would write the same file.
bool BatchOutputs(const std::vector<std::string>& files, const std::string& outDir,
                  std::vector<std::string>* outputs, std::string* error);

// Renders the files; returns the exit code (0 when every file was rendered).
int RunBatch(const Options& o, const Prepared& prepared, const std::vector<std::string>& files,
             const std::vector<std::string>& outputs, const volatile std::sig_atomic_t* stop);

}  // namespace amprender
