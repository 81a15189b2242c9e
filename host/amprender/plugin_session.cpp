#include "host/amprender/plugin_session.h"

#include <algorithm>
#include <cstdio>
#include <mutex>

namespace amprender {
namespace {

void OpenInstance(host::PluginInstance& instance, const host::HostConfig& config) {
  instance.Open();
  instance.SetSampleRate(static_cast<float>(config.sampleRate));
  instance.SetBlockSize(static_cast<int32_t>(config.blockSize));
}

// Displays are looked up on a second instance of the same module, so trying
// values never touches the instance that renders (a plug-in may react to a
// parameter change beyond the parameter itself, e.g. by recalling a memory).
class InstanceProbe : public DisplayProbe {
 public:
  explicit InstanceProbe(std::unique_ptr<host::PluginInstance> instance)
      : instance_(std::move(instance)) {}
  std::string DisplayAt(int index, float normalized) override {
    instance_->SetParameter(index, normalized);
    return instance_->ParamDisplay(index);
  }

 private:
  std::unique_ptr<host::PluginInstance> instance_;
};

// When a second instance cannot be had, the rendering instance is probed and
// each parameter put back to its value afterwards.
class RestoringProbe : public DisplayProbe {
 public:
  explicit RestoringProbe(host::PluginInstance& instance) : instance_(instance) {}
  ~RestoringProbe() override { Restore(); }
  std::string DisplayAt(int index, float normalized) override {
    if (index != index_) {
      Restore();
      index_ = index;
      saved_ = instance_.GetParameter(index);
    }
    instance_.SetParameter(index, normalized);
    return instance_.ParamDisplay(index);
  }
  void Restore() {
    if (index_ >= 0) instance_.SetParameter(index_, saved_);
    index_ = -1;
  }

 private:
  host::PluginInstance& instance_;
  int index_ = -1;
  float saved_ = 0.0f;
};

}  // namespace

PluginSession::PluginSession(std::unique_ptr<host::PluginModule> module, host::HostConfig config)
    : module_(std::move(module)), config_(std::move(config)) {}

PluginSession::~PluginSession() {
  probe_.reset();
  instance_.reset();  // effClose for both instances
  // The module stays loaded until the process ends, as in a host that never
  // unloads: a plug-in may keep process-wide state (solved-curve caches,
  // threads) that unloading would cut off, and amprender exits right after.
  // Sessions of a batch end on their own threads.
  static std::mutex* keptMutex = new std::mutex();
  static std::vector<host::PluginModule*>* kept = new std::vector<host::PluginModule*>();
  std::lock_guard<std::mutex> lock(*keptMutex);
  if (module_) kept->push_back(module_.release());
}

std::unique_ptr<PluginSession> PluginSession::Open(const std::string& path, int sampleRate,
                                                   int blockSize, Failure* failure) {
  std::string error;
  std::unique_ptr<host::PluginModule> module = host::PluginModule::Load(path, &error);
  if (!module) {
    failure->message = "cannot load the plug-in: " + error;
    return nullptr;
  }
  host::HostConfig config;
  config.productString = "amprender";
  config.sampleRate = sampleRate;
  config.blockSize = blockSize;
  std::unique_ptr<PluginSession> session(new PluginSession(std::move(module), config));
  session->instance_ = std::make_unique<host::PluginInstance>(*session->module_, config);
  if (!session->instance_->ok()) {
    failure->message = "the plug-in " + path + " returned no effect (null or not a VST 2 record)";
    return nullptr;
  }
  vst2::AEffect* e = session->effect();
  if (e->numOutputs < 1 || (!e->processReplacing && !e->process)) {
    failure->message = "the plug-in " + path + " has no audio output to render";
    return nullptr;
  }
  OpenInstance(*session->instance_, config);
  return session;
}

DisplayProbe& PluginSession::Probe() {
  if (!probe_) {
    auto second = std::make_unique<host::PluginInstance>(*module_, config_);
    if (second->ok()) {
      OpenInstance(*second, config_);
      probe_ = std::make_unique<InstanceProbe>(std::move(second));
    } else {
      probe_ = std::make_unique<RestoringProbe>(*instance_);
    }
  }
  return *probe_;
}

std::vector<ParamInfo> PluginSession::Params() {
  std::vector<ParamInfo> params;
  const int count = std::max(0, effect()->numParams);
  for (int i = 0; i < count; ++i)
    params.push_back({i, Trim(instance_->ParamName(i)), Trim(instance_->ParamLabel(i))});
  return params;
}

bool PluginSession::SelectProgram(int program, Failure* failure) {
  const int count = std::max(1, effect()->numPrograms);
  if (program >= count) {
    failure->exitCode = kExitUsage;
    failure->message =
        "program " + std::to_string(program) + " does not exist; the plug-in has " +
        (count <= 1 ? std::string("only program 0") : "programs 0 to " + std::to_string(count - 1));
    return false;
  }
  instance_->Dispatch(vst2::effSetProgram, 0, program);
  intptr_t now = instance_->Dispatch(vst2::effGetProgram);
  if (now != program) {
    failure->message = "the plug-in did not change to program " + std::to_string(program) +
                       " (it reports program " + std::to_string(now) + ")";
    return false;
  }
  return true;
}

bool PluginSession::LoadProgramChunk(const std::vector<uint8_t>& bytes, const std::string& source,
                                     Failure* failure) {
  if (bytes.empty()) {
    failure->message = "the chunk file " + source + " is empty";
    return false;
  }
  // Its own chunk size, to say what it expects when it refuses ours.
  const size_t own = instance_->GetChunk(true).size();
  intptr_t answer = instance_->SetChunk(bytes, true);
  if (answer != 1) {
    failure->message = "the plug-in refused the " + std::to_string(bytes.size()) +
                       "-byte chunk from " + source + " (it answered " + std::to_string(answer) +
                       (own ? "; its own program chunk is " + std::to_string(own) + " bytes)"
                            : "; it gives no program chunk of its own)");
    return false;
  }
  return true;
}

bool PluginSession::Apply(const std::vector<ParamSetting>& settings, Failure* failure) {
  if (settings.empty()) return true;
  const std::vector<ParamInfo> params = Params();
  for (const ParamSetting& s : settings) {
    std::string error;
    int found = FindParam(params, s.name, &error);
    float normalized = 0.0f;
    if (found < 0 ||
        !ResolveValue(params[static_cast<size_t>(found)], s.value, Probe(), &normalized, &error)) {
      failure->exitCode = kExitUsage;
      failure->message = "--set " + s.name + "=" + s.value + ": " + error;
      return false;
    }
    instance_->SetParameter(params[static_cast<size_t>(found)].index, normalized);
  }
  return true;
}

std::string PluginSession::ParamListing() {
  const std::vector<ParamInfo> params = Params();
  size_t width = 4;
  for (const ParamInfo& p : params) width = std::max(width, p.name.size());
  std::string out;
  char line[512];
  for (const ParamInfo& p : params) {
    std::string display = Trim(instance_->ParamDisplay(p.index));
    std::snprintf(line, sizeof line, "%3d  %-*s  %s%s%s\n", p.index, static_cast<int>(width),
                  p.name.c_str(), display.c_str(), p.label.empty() ? "" : " ", p.label.c_str());
    out += line;
  }
  return out;
}

std::vector<uint8_t> PluginSession::ProgramChunk(Failure* failure) {
  std::vector<uint8_t> chunk = instance_->GetChunk(true);
  if (chunk.empty()) failure->message = "the plug-in gives no program chunk to save";
  return chunk;
}

}  // namespace amprender
