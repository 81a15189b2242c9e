#include "tests/windows/plugin_probe.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <limits>
#include <sstream>

namespace probe {
namespace {

constexpr int kBlock = 256;
constexpr int kBlocksPerCallback = 6;

// A guitar-like test signal from integer arithmetic only (no libm), so every
// platform feeds bit-identical input: a decaying triangle "pluck" every 4096
// frames plus a little noise from a linear congruential generator.
class TestSignal {
 public:
  explicit TestSignal(uint32_t seed) : state_(seed) {}
  float Next() {
    const int phase = frame_ % 4096;
    const int period = 100 + (frame_ / 4096) % 5 * 37;
    const int t = phase % period;
    const float triangle = static_cast<float>(t < period / 2 ? t : period - t) /
                               static_cast<float>(period / 2) * 2.0f -
                           1.0f;
    const float envelope = 1.0f / (1.0f + static_cast<float>(phase) * (1.0f / 512.0f));
    state_ = state_ * 1664525u + 1013904223u;
    const float noise = static_cast<float>(static_cast<int32_t>(state_ >> 8) - (1 << 23)) /
                        static_cast<float>(1 << 23);
    ++frame_;
    return 0.4f * envelope * triangle + 0.002f * noise;
  }

 private:
  uint32_t state_;
  int frame_ = 0;
};

// FNV-1a over bytes: chunk contents compared by hash.
std::string Hash(const std::vector<uint8_t>& bytes) {
  uint64_t h = 1469598103934665603ull;
  for (uint8_t b : bytes) {
    h ^= b;
    h *= 1099511628211ull;
  }
  char text[17];
  std::snprintf(text, sizeof(text), "%016llx", static_cast<unsigned long long>(h));
  return text;
}

// Parameter settings to render at: -1 leaves the defaults; otherwise a
// spread of values from integer steps, different for every parameter.
float SettingValue(int setting, int index) {
  if (setting == 1) return static_cast<float>((20 + 37 * index) % 101) / 100.0f;
  return static_cast<float>((73 * index + 11) % 101) / 100.0f;
}

void ObserveIdentity(host::PluginInstance& plug, Observation* o) {
  const vst2::AEffect* e = plug.effect();
  std::ostringstream s;
  s << "magic " << e->magic << " id " << e->uniqueID << " version " << e->version << " programs "
    << e->numPrograms << " params " << e->numParams << " in " << e->numInputs << " out "
    << e->numOutputs << " flags " << e->flags << " delay " << e->initialDelay;
  o->lines.push_back(s.str());
  o->lines.push_back("name " + plug.EffectName() + " | vendor " + plug.VendorString() +
                     " | product " + plug.ProductString());
  std::ostringstream calls;
  calls << "vendor version " << plug.Dispatch(vst2::effGetVendorVersion) << " vst version "
        << plug.Dispatch(vst2::effGetVstVersion) << " category "
        << plug.Dispatch(vst2::effGetPlugCategory);
  o->lines.push_back(calls.str());
}

void ObserveParameters(host::PluginInstance& plug, Observation* o) {
  const int n = plug.effect()->numParams;
  for (int i = 0; i < n; ++i) {
    std::ostringstream s;
    s << "param " << i << " " << plug.ParamName(i) << " [" << plug.ParamLabel(i) << "]";
    const float original = plug.GetParameter(i);
    for (int step = 0; step <= 4; ++step) {
      plug.SetParameter(i, static_cast<float>(step) / 4.0f);
      s << " " << plug.ParamDisplay(i);
    }
    plug.SetParameter(i, original);
    s << " default " << plug.ParamDisplay(i);
    o->lines.push_back(s.str());
  }
}

void ObserveChunks(host::PluginInstance& plug, Observation* o) {
  for (bool program : {false, true}) {
    const std::vector<uint8_t> chunk = plug.GetChunk(program);
    std::ostringstream s;
    s << (program ? "program" : "bank") << " chunk " << chunk.size() << " bytes " << Hash(chunk);
    if (!chunk.empty()) {
      // A round trip through a changed state gives the same chunk back.
      const int n = plug.effect()->numParams;
      for (int i = 0; i < n; ++i) plug.SetParameter(i, SettingValue(2, i));
      const intptr_t accepted = plug.SetChunk(chunk, program);
      s << " accepted " << (accepted != 0) << " same after round trip "
        << (plug.GetChunk(program) == chunk);
    }
    o->lines.push_back(s.str());
  }
}

void Render(host::PluginInstance& plug, int setting, Observation* o) {
  const vst2::AEffect* e = plug.effect();
  if (setting > 0) {
    for (int i = 0; i < e->numParams; ++i) plug.SetParameter(i, SettingValue(setting, i));
  }
  const size_t ins = static_cast<size_t>(e->numInputs);
  const size_t outs = static_cast<size_t>(e->numOutputs);
  TestSignal left(1), right(2);
  auto fill = [&](auto& in) {
    for (int f = 0; f < kBlock; ++f) {
      for (size_t c = 0; c < ins; ++c) in[c][f] = c == 0 ? left.Next() : right.Next();
    }
  };
  std::vector<std::vector<float>> in(ins, std::vector<float>(kBlock));
  std::vector<std::vector<float>> out(outs, std::vector<float>(kBlock));
  for (int b = 0; b < kBlocksPerCallback; ++b) {
    fill(in);
    plug.ProcessReplacing(in, out);
    for (auto& c : out) o->samples.insert(o->samples.end(), c.begin(), c.end());
  }
  if (e->process) {
    for (int b = 0; b < kBlocksPerCallback; ++b) {
      fill(in);
      for (auto& c : out) std::fill(c.begin(), c.end(), 0.125f);
      plug.ProcessAccumulating(in, out);
      for (auto& c : out) o->samples.insert(o->samples.end(), c.begin(), c.end());
    }
  }
  if (e->processDoubleReplacing && (e->flags & vst2::effFlagsCanDoubleReplacing)) {
    std::vector<std::vector<double>> din(ins, std::vector<double>(kBlock));
    std::vector<std::vector<double>> dout(outs, std::vector<double>(kBlock));
    for (int b = 0; b < kBlocksPerCallback; ++b) {
      fill(din);
      plug.ProcessDouble(din, dout);
      for (auto& c : dout) o->samples.insert(o->samples.end(), c.begin(), c.end());
    }
  }
  std::ostringstream s;
  s << "setting " << setting << " rendered, samples so far " << o->samples.size();
  o->lines.push_back(s.str());
}

}  // namespace

Observation Observe(const host::PluginModule& module) {
  Observation o;
  {
    host::PluginInstance plug(module);
    if (!plug.ok()) {
      o.lines.push_back("entry point returned null");
      return o;
    }
    plug.Open();
    ObserveIdentity(plug, &o);
    ObserveParameters(plug, &o);
    ObserveChunks(plug, &o);
  }
  for (int setting = 0; setting <= 2; ++setting) {
    for (float rate : {44100.0f, 96000.0f}) {
      host::PluginInstance plug(module);
      plug.Open();
      plug.SetSampleRate(rate);
      plug.SetBlockSize(kBlock);
      plug.MainsChanged(true);
      Render(plug, setting, &o);
      plug.MainsChanged(false);
    }
  }
  return o;
}

bool Write(const Observation& observation, const std::string& path) {
  std::ofstream out(path, std::ios::binary);
  out << "lines " << observation.lines.size() << "\n";
  for (const std::string& line : observation.lines) out << line << "\n";
  out << "samples " << observation.samples.size() << "\n";
  for (double v : observation.samples) {
    uint64_t bits;
    static_assert(sizeof(bits) == sizeof(v), "64-bit doubles");
    std::memcpy(&bits, &v, sizeof(v));
    char text[18];
    std::snprintf(text, sizeof(text), "%016llx", static_cast<unsigned long long>(bits));
    out << text << "\n";
  }
  return static_cast<bool>(out);
}

bool Read(const std::string& path, Observation* observation) {
  std::ifstream in(path, std::ios::binary);
  std::string word;
  size_t count = 0;
  if (!(in >> word >> count) || word != "lines") return false;
  std::string line;
  std::getline(in, line);
  observation->lines.clear();
  for (size_t i = 0; i < count && std::getline(in, line); ++i) observation->lines.push_back(line);
  if (!(in >> word >> count) || word != "samples") return false;
  observation->samples.resize(count);
  for (size_t i = 0; i < count; ++i) {
    if (!(in >> word)) return false;
    const uint64_t bits = std::stoull(word, nullptr, 16);
    std::memcpy(&observation->samples[i], &bits, sizeof(bits));
  }
  return true;
}

double LargestDifference(const std::vector<double>& a, const std::vector<double>& b) {
  if (a.size() != b.size()) return std::numeric_limits<double>::infinity();
  double largest = 0.0;
  for (size_t i = 0; i < a.size(); ++i) {
    if (std::isfinite(a[i]) != std::isfinite(b[i])) return std::numeric_limits<double>::infinity();
    if (!std::isfinite(a[i])) continue;
    largest = std::max(largest, std::fabs(a[i] - b[i]));
  }
  return largest;
}

}  // namespace probe
