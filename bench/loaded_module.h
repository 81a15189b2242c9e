// The plug-in module a benchmark program measures, loaded once for the whole
// program. A benchmark without its plug-in has nothing to measure: a module
// that does not load ends the program with the reason.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "host/vst_host.h"

namespace bench {

inline host::PluginModule& LoadedModule(const char* path) {
  static std::unique_ptr<host::PluginModule> module = [path] {
    std::string error;
    auto m = host::PluginModule::Load(path, &error);
    if (!m) {
      std::fprintf(stderr, "cannot load %s: %s\n", path, error.c_str());
      std::abort();
    }
    return m;
  }();
  return *module;
}

}  // namespace bench
