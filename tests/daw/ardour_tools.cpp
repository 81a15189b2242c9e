#include "tests/daw/ardour_tools.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "tests/daw/tool_runner.h"

extern char** environ;

namespace daw {
namespace fs = std::filesystem;
namespace {

bool Executable(const std::string& path) { return access(path.c_str(), X_OK) == 0; }

std::string InPath(const std::string& name) {
  const char* path = std::getenv("PATH");
  std::stringstream dirs(path ? path : "/usr/bin");
  std::string dir;
  while (std::getline(dirs, dir, ':'))
    if (!dir.empty() && Executable(dir + "/" + name)) return dir + "/" + name;
  return "";
}

std::string ReadText(const std::string& path) {
  std::ifstream in(path);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

bool DropsFromChildren(const std::string& entry) {
  static const char* const kPrefixes[] = {
      "HOME=", "XDG_",         "LXVST_PATH=", "VST_PATH=",  "ARDOUR",
      "JACK_", "LADSPA_PATH=", "LV2_PATH=",   "VST3_PATH=", "LD_PRELOAD="};
  for (const char* p : kPrefixes)
    if (entry.rfind(p, 0) == 0) return true;
  return false;
}

}  // namespace

bool FindArdourTools(ArdourTools* tools, std::string* why) {
  for (int major : {8, 7}) {
    const std::string n = std::to_string(major);
    ArdourTools t;
    t.major = major;
    t.lua = InPath("ardour" + n + "-lua");
    t.exporter = InPath("ardour" + n + "-export");
    t.libDir = "/usr/lib/ardour" + n;
    t.scanner = t.libDir + "/ardour-vst-scanner";
    if (!t.lua.empty() && !t.exporter.empty() && Executable(t.scanner)) {
      *tools = t;
      return true;
    }
  }
  *why =
      "Ardour is not installed (no ardour7-lua, ardour7-export and "
      "/usr/lib/ardour7/ardour-vst-scanner): scripts/install-deps.sh installs Debian's ardour";
  return false;
}

PrivateHost::PrivateHost(const ArdourTools& tools, std::string root)
    : tools_(tools), root_(std::move(root)) {
  fs::remove_all(root_);
  for (const char* sub : {"home", "config", "cache", "data", "state", "runtime", "vst"})
    fs::create_directories(root_ + "/" + sub);
  chmod((root_ + "/runtime").c_str(), 0700);
}

std::string PrivateHost::scanCacheDir() const {
  return root_ + "/cache/ardour" + std::to_string(tools_.major) + "/vst";
}

std::vector<std::string> PrivateHost::Environment() const {
  std::vector<std::string> env;
  for (char** e = environ; *e; ++e)
    if (!DropsFromChildren(*e)) env.push_back(*e);
  env.push_back("HOME=" + root_ + "/home");
  env.push_back("XDG_CONFIG_HOME=" + root_ + "/config");
  env.push_back("XDG_CACHE_HOME=" + root_ + "/cache");
  env.push_back("XDG_DATA_HOME=" + root_ + "/data");
  env.push_back("XDG_STATE_HOME=" + root_ + "/state");
  env.push_back("XDG_RUNTIME_DIR=" + root_ + "/runtime");
  env.push_back("LXVST_PATH=" + pluginDir());
  return env;
}

std::string PrivateHost::InstallAndScan(const std::string& module, std::string* error,
                                        const std::vector<std::string>& extraEnv) const {
  const std::string installed = pluginDir() + "/" + fs::path(module).filename().string();
  std::error_code ec;
  fs::copy_file(module, installed, fs::copy_options::overwrite_existing, ec);
  if (ec) {
    *error = "cannot copy " + module + ": " + ec.message();
    return "";
  }
  fs::last_write_time(installed, fs::file_time_type::clock::now() - std::chrono::hours(24), ec);
  std::vector<std::string> env = Environment();
  env.push_back("LD_LIBRARY_PATH=" + tools_.libDir);
  env.insert(env.end(), extraEnv.begin(), extraEnv.end());
  ToolResult r = RunTool({tools_.scanner, "--force", "--verbose", installed}, env, root_,
                         root_ + "/scan.log", 60);
  if (r.exitCode != 0) {
    *error = "the VST scanner failed (exit " + std::to_string(r.exitCode) + "):\n" + r.output;
    return "";
  }
  return installed;
}

bool PrivateHost::CacheEntry(const std::string& installed, std::string* id,
                             std::string* text) const {
  std::error_code ec;
  const auto moduleTime = fs::last_write_time(installed, ec);
  if (ec) return false;
  for (const auto& entry : fs::directory_iterator(scanCacheDir(), ec)) {
    if (entry.path().extension() != ".v2i") continue;
    std::string body = ReadText(entry.path().string());
    if (body.find("binary=\"" + installed + "\"") == std::string::npos) continue;
    const std::string tag = "<VST2Info id=\"";
    const size_t at = body.find(tag);
    if (at == std::string::npos) continue;
    const size_t from = at + tag.size();
    const size_t to = body.find('"', from);
    if (to == std::string::npos || to == from) continue;
    if (fs::last_write_time(entry.path()) <= moduleTime) continue;
    *id = body.substr(from, to - from);
    *text = body;
    return true;
  }
  return false;
}

}  // namespace daw
