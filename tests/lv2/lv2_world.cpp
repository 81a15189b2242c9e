#include "tests/lv2/lv2_world.h"

#include <lv2/atom/atom.h>
#include <lv2/buf-size/buf-size.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "platform/vst2/parameter_description.h"

namespace lv2test {

UridMap::UridMap() {
  map_.handle = this;
  map_.map = [](LV2_URID_Map_Handle h, const char* uri) { return static_cast<UridMap*>(h)->Map(uri); };
  unmap_.handle = this;
  unmap_.unmap = [](LV2_URID_Unmap_Handle h, LV2_URID id) {
    return static_cast<UridMap*>(h)->Unmap(id);
  };
}

LV2_URID UridMap::Map(const char* uri) {
  auto it = ids_.find(uri);
  if (it != ids_.end()) return it->second;
  uris_.push_back(uri);
  return ids_[uri] = static_cast<LV2_URID>(uris_.size());
}

const char* UridMap::Unmap(LV2_URID id) const {
  return id >= 1 && id <= uris_.size() ? uris_[id - 1].c_str() : nullptr;
}

World::World() {
  setenv("LV2_PATH", LV2_BUNDLE_ROOT ":/usr/lib/lv2", 1);
  world_ = lilv_world_new();
  lilv_world_load_all(world_);
  options_ = {{LV2_OPTIONS_INSTANCE, 0, urids_.Map(LV2_BUF_SIZE__maxBlockLength), sizeof(int32_t),
               urids_.Map(LV2_ATOM__Int), &maxBlock_},
              {LV2_OPTIONS_INSTANCE, 0, 0, 0, 0, nullptr}};
  mapFeature_ = {LV2_URID__map, urids_.map()};
  unmapFeature_ = {LV2_URID__unmap, urids_.unmap()};
  optionsFeature_ = {LV2_OPTIONS__options, options_.data()};
  features_ = {&mapFeature_, &unmapFeature_, &optionsFeature_, nullptr};
}

World::~World() { lilv_world_free(world_); }

const LilvPlugin* World::Plugin(const std::string& uri) const {
  LilvNode* node = lilv_new_uri(world_, uri.c_str());
  const LilvPlugin* p = lilv_plugins_get_by_uri(lilv_world_get_all_plugins(world_), node);
  lilv_node_free(node);
  return p;
}

Instance::Instance(World& world, const LilvPlugin* plugin, double rate) : plugin_(plugin) {
  const uint32_t ports = lilv_plugin_get_num_ports(plugin);
  controls_.assign(ports, 0.0f);
  for (uint32_t i = 0; i < ports; ++i) {
    const LilvPort* port = lilv_plugin_get_port_by_index(plugin, i);
    symbols_.push_back(lilv_node_as_string(lilv_port_get_symbol(plugin, port)));
    LilvNode* def = nullptr;
    lilv_port_get_range(plugin, port, &def, nullptr, nullptr);
    if (def) controls_[i] = lilv_node_as_float(def);
    lilv_node_free(def);
  }
  instance_ = lilv_plugin_instantiate(plugin, rate, world.features());
  if (!instance_) return;
  for (auto& b : buffers_) b.assign(kMaxBlock, 0.0f);
  for (uint32_t i = 0; i < ports; ++i) {
    void* data = i < 4 ? static_cast<void*>(buffers_[i].data()) : &controls_[i];
    lilv_instance_connect_port(instance_, i, data);
  }
}

Instance::~Instance() {
  if (instance_) lilv_instance_free(instance_);
}

int Instance::PortOf(const std::string& symbol) const {
  for (size_t i = 0; i < symbols_.size(); ++i)
    if (symbols_[i] == symbol) return static_cast<int>(i);
  return -1;
}

void Instance::Render(const std::vector<float>& inL, const std::vector<float>& inR, int block,
                      std::vector<float>* outL, std::vector<float>* outR) {
  outL->assign(inL.size(), 0.0f);
  outR->assign(inL.size(), 0.0f);
  for (size_t done = 0; done < inL.size(); done += static_cast<size_t>(block)) {
    const size_t n = std::min(inL.size() - done, static_cast<size_t>(block));
    std::copy_n(inL.begin() + done, n, buffers_[0].begin());
    std::copy_n(inR.begin() + done, n, buffers_[1].begin());
    lilv_instance_run(instance_, static_cast<uint32_t>(n));
    std::copy_n(buffers_[2].begin(), n, outL->begin() + done);
    std::copy_n(buffers_[3].begin(), n, outR->begin() + done);
  }
}

Reference::Reference(const std::string& modulePath, double rate) {
  std::string error;
  module_ = host::PluginModule::Load(modulePath, &error);
  host::HostConfig config;
  config.sampleRate = rate;
  config.blockSize = kMaxBlock;
  if (module_) instance_ = std::make_unique<host::PluginInstance>(*module_, config);
  if (!instance_ || !instance_->ok()) std::abort();
  instance_->Open();
  instance_->SetSampleRate(static_cast<float>(rate));
  instance_->SetBlockSize(kMaxBlock);
}

void Reference::SetPlain(int param, float plain) {
  double v = plain;
  instance_->Dispatch(vst2::effVendorSpecific, vst2::kVendorPlainToNormalized, param, &v);
  instance_->SetParameter(param, static_cast<float>(v));
}

void Reference::Start() {
  instance_->MainsChanged(true);
  instance_->Dispatch(vst2::effStartProcess);
}

void Reference::Render(const std::vector<float>& inL, const std::vector<float>& inR, int block,
                       std::vector<float>* outL, std::vector<float>* outR) {
  outL->clear();
  outR->clear();
  for (size_t done = 0; done < inL.size(); done += static_cast<size_t>(block)) {
    const size_t n = std::min(inL.size() - done, static_cast<size_t>(block));
    std::vector<std::vector<float>> in = {{inL.begin() + done, inL.begin() + done + n},
                                          {inR.begin() + done, inR.begin() + done + n}};
    std::vector<std::vector<float>> out(2, std::vector<float>(n));
    instance_->ProcessReplacing(in, out);
    outL->insert(outL->end(), out[0].begin(), out[0].end());
    outR->insert(outR->end(), out[1].begin(), out[1].end());
  }
}

void TestSignal(int frames, std::vector<float>* left, std::vector<float>* right) {
  left->resize(static_cast<size_t>(frames));
  right->resize(static_cast<size_t>(frames));
  for (int i = 0; i < frames; ++i) {
    const double t = i / 44100.0;
    const double env = std::exp(-3.0 * std::fmod(t, 0.08) / 0.08);
    (*left)[static_cast<size_t>(i)] =
        static_cast<float>(0.3 * env * (std::sin(2 * M_PI * 110 * t) + 0.4 * std::sin(2 * M_PI * 330 * t)));
    (*right)[static_cast<size_t>(i)] = static_cast<float>(0.25 * env * std::sin(2 * M_PI * 147 * t));
  }
}

}  // namespace lv2test
