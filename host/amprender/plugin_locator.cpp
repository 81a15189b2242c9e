#include "host/amprender/plugin_locator.h"

#include <sys/stat.h>
#include <unistd.h>

#include <vector>

#ifndef AMPRENDER_PLUGIN_DIR
#define AMPRENDER_PLUGIN_DIR ""
#endif

namespace amprender {
namespace {

bool IsFile(const std::string& path) {
  struct stat st;
  return stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

}  // namespace

std::string ExecutableDir() {
  std::vector<char> buffer(4096, '\0');
  ssize_t n = readlink("/proc/self/exe", buffer.data(), buffer.size() - 1);
  if (n <= 0) return "";
  std::string path(buffer.data(), static_cast<size_t>(n));
  size_t slash = path.rfind('/');
  return slash == std::string::npos ? "" : path.substr(0, slash);
}

LocatedPlugin LocatePlugin(const std::string& choice, const std::string& exeDir) {
  LocatedPlugin r;
  std::string file, target;
  if (choice == "ferro") {
    file = "Ostra_Ferro_B3.so";
    target = "Ostra_Ferro_B3";
  } else if (choice == "vortan") {
    file = "Vortan_v1_1.so";
    target = "Vortan_v1_1";
  } else {
    if (!IsFile(choice)) {
      r.error = "plug-in " + choice + " not found (give ferro, vortan or the path of a module)";
      return r;
    }
    r.ok = true;
    r.path = choice;
    return r;
  }
  std::vector<std::string> candidates;
  // <build>/host/amprender/amprender -> <build>/plugins/
  auto parent = [](const std::string& dir) {
    size_t slash = dir.rfind('/');
    return slash == std::string::npos || slash == 0 ? std::string() : dir.substr(0, slash);
  };
  const std::string buildDir = parent(parent(exeDir));
  if (!buildDir.empty()) candidates.push_back(buildDir + "/plugins/" + file);
  const std::string built = AMPRENDER_PLUGIN_DIR;
  if (!built.empty()) candidates.push_back(built + "/" + file);
  for (const std::string& c : candidates) {
    if (IsFile(c)) {
      r.ok = true;
      r.path = c;
      return r;
    }
  }
  r.error = file + " not found (looked in";
  for (size_t i = 0; i < candidates.size(); ++i) r.error += (i ? ", " : " ") + candidates[i];
  r.error += "); build the target " + target + " first";
  return r;
}

}  // namespace amprender
