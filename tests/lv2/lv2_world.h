// A small lilv host for the tests: a world that sees the build's bundles, a
// URID map, the features a host passes, and one instance with its port
// buffers, plus the same plug-in through its VST 2.4 module for reference.
#pragma once

#include <lilv/lilv.h>
#include <lv2/options/options.h>
#include <lv2/urid/urid.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "host/vst_host.h"

namespace lv2test {

constexpr int kMaxBlock = 4096;

class UridMap {
 public:
  UridMap();
  LV2_URID Map(const char* uri);
  const char* Unmap(LV2_URID id) const;
  LV2_URID_Map* map() { return &map_; }
  LV2_URID_Unmap* unmap() { return &unmap_; }

 private:
  std::map<std::string, LV2_URID> ids_;
  std::vector<std::string> uris_;
  LV2_URID_Map map_;
  LV2_URID_Unmap unmap_;
};

class World {
 public:
  World();
  ~World();
  LilvWorld* world() const { return world_; }
  const LilvPlugin* Plugin(const std::string& uri) const;
  UridMap& urids() { return urids_; }
  const LV2_Feature* const* features() const { return features_.data(); }

 private:
  LilvWorld* world_;
  UridMap urids_;
  int32_t maxBlock_ = kMaxBlock;
  std::vector<LV2_Options_Option> options_;
  LV2_Feature mapFeature_, unmapFeature_, optionsFeature_;
  std::vector<const LV2_Feature*> features_;
};

// Stereo in, stereo out, controls at their defaults.
class Instance {
 public:
  Instance(World& world, const LilvPlugin* plugin, double rate);
  ~Instance();
  bool ok() const { return instance_ != nullptr; }
  LilvInstance* instance() const { return instance_; }
  // Port index of a parameter symbol, -1 when there is none.
  int PortOf(const std::string& symbol) const;
  float& Control(int port) { return controls_[static_cast<size_t>(port)]; }
  float latency() const { return controls_[4]; }
  // Runs `in` (left, right) through in blocks of `block`.
  void Render(const std::vector<float>& inL, const std::vector<float>& inR, int block,
              std::vector<float>* outL, std::vector<float>* outR);
  const LilvPlugin* plugin() const { return plugin_; }
  std::vector<std::string> Symbols() const { return symbols_; }

 private:
  const LilvPlugin* plugin_;
  LilvInstance* instance_ = nullptr;
  std::vector<float> controls_;
  std::vector<std::string> symbols_;
  std::vector<float> buffers_[4];
};

// The same plug-in as a VST 2.4 module, set up the way the layer sets it up.
class Reference {
 public:
  Reference(const std::string& modulePath, double rate);
  host::PluginInstance& plugin() { return *instance_; }
  // Plain value -> normalised, through the plug-in's own mapping.
  void SetPlain(int param, float plain);
  void Start();
  void Render(const std::vector<float>& inL, const std::vector<float>& inR, int block,
              std::vector<float>* outL, std::vector<float>* outR);

 private:
  std::unique_ptr<host::PluginModule> module_;
  std::unique_ptr<host::PluginInstance> instance_;
};

// A guitar-like test signal: plucked decaying partials, different per side.
void TestSignal(int frames, std::vector<float>* left, std::vector<float>* right);

}  // namespace lv2test
