#include "ferro/shell/iplug_base.h"

#include <cassert>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

void CopyName(char* dst, const char* src) {
  std::snprintf(dst, IPlugBase::kNameLength, "%s", src ? src : "");
}

// "1-1 2-2" -> (1, 1), (2, 2). Returns false on anything else.
bool ParseChannelIO(const char* text, std::vector<std::pair<int, int>>* out) {
  const char* p = text;
  while (*p) {
    while (*p == ' ') ++p;
    if (!*p) break;
    char* end = nullptr;
    const long in = std::strtol(p, &end, 10);
    if (end == p || *end != '-') return false;
    p = end + 1;
    const long outCount = std::strtol(p, &end, 10);
    if (end == p) return false;
    p = end;
    out->emplace_back(static_cast<int>(in), static_cast<int>(outCount));
  }
  return true;
}

// A stored NaN would pass every range clamp and reach the model, whose
// recursive states would keep it for ever; such a state is refused.
bool AllValuesAreNumbers(const StateChunk& chunk, int position, int count) {
  for (int i = 0; i < count; ++i) {
    double v = 0.0;
    position = chunk.Get(&v, position);
    if (position < 0 || std::isnan(v)) return false;
  }
  return true;
}

}  // namespace

IPlugBase::IPlugBase(const IPlugConfig& config)
    : params_(static_cast<size_t>(config.nParams)),
      vendorVersion_(config.vendorVersion),
      uniqueId_(config.uniqueId),
      mfrId_(config.mfrId),
      latency_(config.latency),
      doesMidi_(config.plugDoesMidi),
      doesChunks_(config.plugDoesChunks),
      isInstrument_(config.plugIsInstrument) {
  CopyName(effectName_, config.effectName);
  CopyName(productName_, config.productName);
  CopyName(vendorName_, config.vendorName);
  for (int i = 0; i < config.nPresets; ++i) presets_.emplace_back(i);

  const bool parsed = ParseChannelIO(config.channelIOStr, &channelConfigs_);
  assert(parsed && "unparsable channel I/O string");
  (void)parsed;
  int maxIn = 0, maxOut = 0;
  for (const auto& c : channelConfigs_) {
    if (c.first > maxIn) maxIn = c.first;
    if (c.second > maxOut) maxOut = c.second;
  }
  inputs_.resize(static_cast<size_t>(maxIn));
  outputs_.resize(static_cast<size_t>(maxOut));
  SetBlockSize(1024);
}

IPlugBase::~IPlugBase() { graphics_.reset(); }

IParameter* IPlugBase::GetParam(int index) {
  return (index >= 0 && index < NParams()) ? &params_[static_cast<size_t>(index)] : nullptr;
}
const IParameter* IPlugBase::GetParam(int index) const {
  return (index >= 0 && index < NParams()) ? &params_[static_cast<size_t>(index)] : nullptr;
}

void IPlugBase::VSTSetParameter(int index, double normalized) {
  platform::ScopedLock guard(lock_);
  IParameter* param = GetParam(index);
  if (!param) return;
  if (graphics_) graphics_->PushValueToControls(index, normalized, true);
  param->SetFromNormalized(normalized);
  OnParamChange(index);
}

float IPlugBase::VSTGetParameter(int index) {
  platform::ScopedLock guard(lock_);
  const IParameter* param = GetParam(index);
  return param ? static_cast<float>(param->Normalized()) : 0.0f;
}

bool IPlugBase::SetParameterFromGUI(int index, double normalized) {
  platform::ScopedLock guard(lock_);
  IParameter* param = GetParam(index);
  if (!param) return false;
  param->SetFromNormalized(normalized);
  OnParamChange(index);
  return true;
}

bool IPlugBase::WriteParamValues(StateChunk* chunk) {
  platform::ScopedLock guard(lock_);
  for (const IParameter& p : params_) chunk->Put(p.Value());
  return chunk->Size() > 0;
}

int IPlugBase::CheckParamValues(const StateChunk& chunk, int position) const {
  const int needed = NParams() * static_cast<int>(sizeof(double));
  if (position < 0 || static_cast<int64_t>(position) + needed > chunk.Size() ||
      !AllValuesAreNumbers(chunk, position, NParams()))
    return -1;
  return position + needed;
}

int IPlugBase::UnserializeParams(const StateChunk& chunk, int position) {
  platform::ScopedLock guard(lock_);
  // A state that does not hold every value is refused as a whole: taking the
  // complete values and zeroing the first incomplete one would lose the
  // user's settings while the load reports failure anyway.
  if (CheckParamValues(chunk, position) < 0) {
    position = -1;
  } else {
    for (IParameter& p : params_) {
      double v = 0.0;
      position = chunk.Get(&v, position);
      p.SetClamped(v);
    }
  }
  for (int i = 0; i < NParams(); ++i) OnParamChange(i);
  return position;
}

void IPlugBase::AdoptEditor(IGraphics* graphics) {
  platform::ScopedLock guard(lock_);
  for (int i = 0; i < NParams(); ++i)
    graphics->PushValueToControls(i, params_[static_cast<size_t>(i)].Normalized(), true);
  graphics->PrepDraw();
  graphics_.reset(graphics);
}

void IPlugBase::RedrawParamControls() {
  if (!graphics_) return;
  for (int i = 0; i < NParams(); ++i)
    graphics_->PushValueToControls(i, params_[static_cast<size_t>(i)].Value(), false);
}

void IPlugBase::SetHost(const char* productString, int version) {
  static const struct {
    const char* text;
    int id;
  } kHosts[] = {
      {"cubase", 3}, {"reaper", 1},   {"nuendo", 4},    {"cakewalk", 5},   {"samplitude", 8},
      {"fruity", 7}, {"live", 9},     {"melodyne", 12}, {"vstmanlib", 13}, {"aulab", 14},
      {"forte", 15}, {"chainer", 16}, {"audition", 17}, {"orion", 18},     {"sawstudio", 20},
      {"logic", 21}, {"digital", 22},
  };
  std::string lower = productString ? productString : "";
  for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  hostId_ = 0;
  for (const auto& h : kHosts) {
    if (lower.find(h.text) != std::string::npos) {
      hostId_ = h.id;
      break;
    }
  }
  hostVersion_ = version;
}

void IPlugBase::SetBlockSize(int frames) {
  if (frames == blockSize_ || frames <= 0) return;
  for (ChannelConnection& c : inputs_) c.Resize(frames);
  for (ChannelConnection& c : outputs_) c.Resize(frames);
  blockSize_ = frames;
}

bool IPlugBase::LegalIO(int nIn, int nOut) const {
  for (const auto& c : channelConfigs_)
    if ((nIn < 0 || nIn == c.first) && (nOut < 0 || nOut == c.second)) return true;
  return false;
}
