// Writes the descriptions of one LV2 bundle (manifest.ttl, the plug-in's
// description, its presets) from the plug-in itself: the VST 2.4 module is
// loaded through its entry point and its parameter table, programs and
// chunks are read through the dispatcher. Run by the build, so the bundle's
// description can never disagree with the code.
//   lv2_ttlgen MODULE.so URI BINARY_NAME OUT_DIR
#include <cstdio>
#include <string>

#include "formats/lv2/ttlgen/ttl_writer.h"
#include "host/vst_host.h"

int main(int argc, char** argv) {
  if (argc != 5) {
    std::fprintf(stderr, "usage: %s MODULE URI BINARY_NAME OUT_DIR\n", argv[0]);
    return 2;
  }
  std::string error;
  auto module = host::PluginModule::Load(argv[1], &error);
  if (!module) {
    std::fprintf(stderr, "lv2_ttlgen: %s\n", error.c_str());
    return 1;
  }
  host::PluginInstance plugin(*module);
  if (!plugin.ok()) {
    std::fprintf(stderr, "lv2_ttlgen: %s created no effect\n", argv[1]);
    return 1;
  }
  plugin.Open();
  lv2ttl::BundleInfo info;
  if (!lv2ttl::ReadBundleInfo(plugin, argv[2], argv[3], &info, &error) ||
      !lv2ttl::WriteBundle(info, argv[4], &error)) {
    std::fprintf(stderr, "lv2_ttlgen: %s\n", error.c_str());
    return 1;
  }
  return 0;
}
