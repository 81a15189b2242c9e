// Debian's Ardour as a test host: where its headless tools are, a private
// HOME and XDG tree for one test so nothing of the user's set-up is read or
// written, and the VST scan that its headless tools depend on.
#pragma once

#include <string>
#include <vector>

namespace daw {

struct ArdourTools {
  int major = 0;
  std::string lua;       // the Lua session tool (ardourN-lua)
  std::string exporter;  // the session export tool (ardourN-export)
  std::string scanner;   // the VST 2 scanner that writes the plug-in cache
  std::string libDir;    // Ardour's private libraries, which the scanner needs
};

// Finds an installed Ardour's tools; false with *why when there is none.
bool FindArdourTools(ArdourTools* tools, std::string* why);

// One test's private host folders under `root` (created empty): home, XDG
// config, cache, data, state and runtime folders, and a VST folder that is
// the only one the tools search.
class PrivateHost {
 public:
  PrivateHost(const ArdourTools& tools, std::string root);
  const std::string& root() const { return root_; }
  std::string pluginDir() const { return root_ + "/vst"; }
  std::string scanCacheDir() const;
  // The parent's environment without anything that would lead a tool to the
  // user's files or plug-ins, plus the private folders.
  std::vector<std::string> Environment() const;

  // Copies `module` into the VST folder dated a day back, then makes the
  // scanner rescan it by force. Ardour ignores a cache entry that is not
  // strictly newer, in whole seconds, than the module file, so a module that
  // was just built could otherwise be skipped. Returns the installed path,
  // or "" with *error.
  // `extraEnv` is added to the scanner's environment.
  std::string InstallAndScan(const std::string& module, std::string* error,
                             const std::vector<std::string>& extraEnv = {}) const;

  // The scan cache's entry for an installed module: the plug-in's numeric id
  // as Ardour names it and the cache file's text; false when there is none
  // that is newer than the module.
  bool CacheEntry(const std::string& installed, std::string* id, std::string* text) const;

 private:
  const ArdourTools& tools_;
  std::string root_;
};

}  // namespace daw
