// One input through one prepared plug-in instance and the cabinet into one WAV
// file, with the output trim or the two-pass peak normalisation.
#pragma once

#include <csignal>
#include <functional>
#include <string>

#include "host/amprender/audio_io.h"
#include "host/amprender/options.h"
#include "host/amprender/plugin_session.h"
#include "host/amprender/progress.h"

namespace amprender {

struct FileRender {
  AudioSource* source = nullptr;
  std::string outPath;
  ProgressBar* progress = nullptr;
  const volatile std::sig_atomic_t* stop = nullptr;
  // Runs once the file is complete, before it takes its name; a false
  // return (with *error) abandons it.
  std::function<bool(std::string*)> beforeCommit;
};

// Renders; the file appears only when everything succeeded.
bool RenderFile(const Options& o, PluginSession& session, const FileRender& r, RenderStats* stats,
                Failure* failure);

}  // namespace amprender
