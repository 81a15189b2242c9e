// The cabinet: choosing the IR (built-in or file), preparing it for the
// session, and running it block by block.
#include "host/cabinet/cabinet.h"

#include <sys/stat.h>

#include <algorithm>
#include <cmath>
#include <cstring>

#include "host/cabinet/builtin.h"
#include "host/cabinet/convolver.h"

namespace cabinet {
namespace {

// The fixed partition of the buffered mode: its latency and the block the
// convolver always sees, whatever the caller's blocks. Live it is short (5.3
// ms at 48 kHz); offline, where the latency is taken out, a longer one makes
// the single level of equal partitions cheap for long IRs.
constexpr int kBufferedQuantumLive = 256;
constexpr int kBufferedQuantumOffline = 1024;

bool IsPowerOfTwo(int n) { return n > 0 && (n & (n - 1)) == 0; }

std::string BuiltinList() {
  std::string list;
  for (const std::string& n : BuiltinNames()) list += (list.empty() ? "" : ", ") + n;
  return list;
}

}  // namespace

struct Cabinet::Engine {
  Convolver convolver;
  bool buffered = true;
  int position = 0;  // frames of the current quantum gathered so far (buffered mode)
  std::vector<std::vector<float>> in, out;  // per channel, one quantum each
  std::vector<const float*> inPtr;
  std::vector<float*> outPtr;
};

Cabinet::~Cabinet() = default;

std::unique_ptr<Cabinet> Cabinet::Load(const std::string& nameOrPath, std::string* error) {
  if (nameOrPath == "none") {
    std::unique_ptr<Cabinet> cab(new Cabinet());
    cab->name_ = "none";
    cab->bypass_ = true;
    return cab;
  }
  ImpulseResponse ir;
  size_t count = 0;
  const EmbeddedIr* irs = EmbeddedIrs(&count);
  for (size_t i = 0; i < count; ++i) {
    if (nameOrPath != irs[i].name) continue;
    if (!ReadImpulseBytes(irs[i].data, irs[i].size, "built-in " + nameOrPath, &ir, error))
      return nullptr;
    std::unique_ptr<Cabinet> cab = FromImpulse(std::move(ir), error);
    if (cab) cab->name_ = nameOrPath;
    return cab;
  }
  struct stat st;
  if (stat(nameOrPath.c_str(), &st) != 0 && nameOrPath.find('/') == std::string::npos &&
      nameOrPath.find('.') == std::string::npos) {
    *error = "unknown cabinet '" + nameOrPath + "': not a built-in one (" + BuiltinList() +
             ") and no such file";
    return nullptr;
  }
  if (!ReadImpulseFile(nameOrPath, &ir, error)) return nullptr;
  std::unique_ptr<Cabinet> cab = FromImpulse(std::move(ir), error);
  if (cab) cab->name_ = nameOrPath;
  return cab;
}

std::unique_ptr<Cabinet> Cabinet::FromImpulse(ImpulseResponse ir, std::string* error) {
  const std::string what = "impulse response " + ir.source;
  if (ir.channels.empty() || ir.channels.size() > 2) {
    *error = what + ": has " + std::to_string(ir.channels.size()) +
             " channels; a cabinet IR is mono or stereo";
    return nullptr;
  }
  if (ir.sampleRate <= 0 || ir.frames() == 0) {
    *error = what + ": is empty";
    return nullptr;
  }
  for (const auto& ch : ir.channels) {
    if (ch.size() != ir.frames()) {
      *error = what + ": its channels differ in length";
      return nullptr;
    }
    for (float v : ch)
      if (!std::isfinite(v)) {
        *error = what + ": holds a sample that is not a finite number";
        return nullptr;
      }
  }
  if (static_cast<double>(ir.frames()) / ir.sampleRate > kMaxSeconds) {
    *error = what + ": is longer than 10 s";
    return nullptr;
  }
  ImpulseResponse probe = ir;  // the loudness check, at the IR's own rate
  if (!Normalise(&probe, error)) return nullptr;
  std::unique_ptr<Cabinet> cab(new Cabinet());
  cab->name_ = ir.source;
  cab->original_ = std::move(ir);
  return cab;
}

int Cabinet::irChannels() const {
  return bypass_ ? 0 : static_cast<int>(original_.channels.size());
}

bool Cabinet::Prepare(const CabinetConfig& config, std::string* error) {
  if (config.sampleRate < 8000 || config.sampleRate > 768000 || config.maxBlock < 1 ||
      config.inputs < 1 || config.inputs > 2 || config.outputs < config.inputs ||
      config.outputs > 2) {
    *error = "cabinet " + name_ + ": cannot run at " + std::to_string(config.sampleRate) +
             " Hz with " + std::to_string(config.inputs) + " input(s) and " +
             std::to_string(config.outputs) + " output(s)";
    return false;
  }
  if (config.exactBlocks &&
      (!IsPowerOfTwo(config.maxBlock) || config.maxBlock < 64 || config.maxBlock > 8192)) {
    *error = "cabinet " + name_ + ": a block of " + std::to_string(config.maxBlock) +
             " frames cannot run without latency (a power of two from 64 to 8192 can)";
    return false;
  }
  engine_.reset();
  config_ = config;
  latency_ = 0;
  if (bypass_) return true;

  ImpulseResponse ir = Resample(original_, config.sampleRate);
  if (config.outputs == 1 && ir.channels.size() == 2) {
    for (size_t n = 0; n < ir.frames(); ++n)
      ir.channels[0][n] = 0.5f * (ir.channels[0][n] + ir.channels[1][n]);
    ir.channels.pop_back();
  }
  if (!Normalise(&ir, error)) return false;

  auto engine = std::make_unique<Engine>();
  engine->buffered = !config.exactBlocks;
  const int quantum = config.exactBlocks ? config.maxBlock
                      : config.offline   ? kBufferedQuantumOffline
                                         : kBufferedQuantumLive;
  if (!engine->convolver.Configure(ir, config.inputs, config.outputs, quantum, config.offline,
                                   config.realtimePriority, error))
    return false;
  engine->in.assign(config.inputs, std::vector<float>(quantum, 0.0f));
  engine->out.assign(config.outputs, std::vector<float>(quantum, 0.0f));
  for (auto& b : engine->in) engine->inPtr.push_back(b.data());
  for (auto& b : engine->out) engine->outPtr.push_back(b.data());
  prepared_ = std::move(ir);
  engine_ = std::move(engine);
  latency_ = engine_->buffered ? quantum : 0;
  return true;
}

void Cabinet::Reset() noexcept {
  if (!engine_) return;
  engine_->convolver.Reset();
  engine_->position = 0;
  for (auto& b : engine_->in) std::fill(b.begin(), b.end(), 0.0f);
  for (auto& b : engine_->out) std::fill(b.begin(), b.end(), 0.0f);
}

void Cabinet::Process(const float* const* in, float* const* out, int frames) noexcept {
  if (frames <= 0) return;
  const int ins = config_.inputs;
  const int outs = config_.outputs;
  if (bypass_ || !engine_) {
    for (int c = 0; c < outs; ++c) {
      if (bypass_)
        std::memmove(out[c], in[std::min(c, ins - 1)], sizeof(float) * frames);
      else
        std::fill(out[c], out[c] + frames, 0.0f);  // not prepared
    }
    return;
  }
  Engine& e = *engine_;
  const int quantum = e.convolver.quantum();
  if (!e.buffered) {
    if (frames != quantum) {  // a broken promise: silence rather than garbage
      for (int c = 0; c < outs; ++c) std::fill(out[c], out[c] + frames, 0.0f);
      return;
    }
    e.convolver.ProcessQuantum(in, out);
    return;
  }
  // Buffered: input frame k leaves as output frame k + quantum.
  int done = 0;
  while (done < frames) {
    const int m = std::min(frames - done, quantum - e.position);
    for (int i = 0; i < ins; ++i) std::copy_n(in[i] + done, m, e.in[i].data() + e.position);
    for (int c = 0; c < outs; ++c) std::copy_n(e.out[c].data() + e.position, m, out[c] + done);
    e.position += m;
    done += m;
    if (e.position == quantum) {
      e.convolver.ProcessQuantum(e.inPtr.data(), e.outPtr.data());
      e.position = 0;
    }
  }
}

}  // namespace cabinet
