#include "host/amprig/rig_chain.h"

#include <algorithm>
#include <cmath>

namespace amprig {
namespace {
float FromDb(double db) { return static_cast<float>(std::pow(10.0, db / 20.0)); }
bool IsPowerOfTwo(int n) { return n > 0 && (n & (n - 1)) == 0; }
}  // namespace

cabinet::CabinetConfig LiveCabinetConfig(int sampleRate, int periodFrames, int workerPriority) {
  cabinet::CabinetConfig config;
  config.sampleRate = sampleRate;
  config.maxBlock = periodFrames;
  config.inputs = 2;
  config.outputs = 2;
  config.offline = false;
  config.exactBlocks = IsPowerOfTwo(periodFrames) && periodFrames >= 16 && periodFrames <= 8192;
  config.realtimePriority = workerPriority;
  return config;
}

RigChain::RigChain(vst2::AEffect* effect) : effect_(effect) {}

RigChain::~RigChain() {
  delete pending_.exchange(nullptr);
  delete retired_.exchange(nullptr);
}

bool RigChain::Prepare(int sampleRate, int maxBlock, std::unique_ptr<cabinet::Cabinet> cab,
                       std::string* error) {
  Collect();
  delete pending_.exchange(nullptr);
  maxBlock_ = maxBlock;
  in_.assign(2, std::vector<float>(maxBlock, 0.0f));
  amp_.assign(2, std::vector<float>(maxBlock, 0.0f));
  cab_.assign(2, std::vector<float>(maxBlock, 0.0f));
  for (int c = 0; c < 2; ++c) {
    inPtr_[c] = in_[c].data();
    ampPtr_[c] = amp_[c].data();
    cabInPtr_[c] = amp_[c].data();
    cabOutPtr_[c] = cab_[c].data();
  }
  if (cab && !cab->Prepare(LiveCabinetConfig(sampleRate, maxBlock, workerPriority_), error)) return false;
  current_ = std::move(cab);
  shown_ = current_.get();
  return true;
}

void RigChain::SetInputGainDb(double db) {
  inputGainDb_.store(db, std::memory_order_relaxed);
  inputGain_.store(FromDb(db), std::memory_order_relaxed);
}

void RigChain::SetOutputLevelDb(double db) {
  outputLevelDb_.store(db, std::memory_order_relaxed);
  outputGain_.store(FromDb(db), std::memory_order_relaxed);
}

void RigChain::SwapCabinet(std::unique_ptr<cabinet::Cabinet> cab) {
  Collect();
  shown_ = cab.get();
  delete pending_.exchange(cab.release(), std::memory_order_acq_rel);
}

void RigChain::Collect() { delete retired_.exchange(nullptr, std::memory_order_acq_rel); }

int RigChain::latency() const {
  const int plugin = effect_ ? std::max(0, effect_->initialDelay) : 0;
  return plugin + (shown_ ? shown_->latency() : 0);
}

void RigChain::Process(const float* in, float* outL, float* outR, int frames) noexcept {
  // A new cabinet is taken only when the control thread has collected the
  // one retired before, so at most one waits to be destroyed.
  if (retired_.load(std::memory_order_acquire) == nullptr) {
    if (cabinet::Cabinet* next = pending_.exchange(nullptr, std::memory_order_acq_rel)) {
      retired_.store(current_.release(), std::memory_order_release);
      current_.reset(next);
    }
  }
  frames = std::min(frames, maxBlock_);
  const float gain = inputGain_.load(std::memory_order_relaxed);
  for (int i = 0; i < frames; ++i) in_[0][i] = in[i] * gain;
  std::copy(in_[0].begin(), in_[0].begin() + frames, in_[1].begin());
  inputLevels_.Push(MeasurePeriod(in_[0].data(), frames));
  for (int i = 0; i < frames; ++i)
    if (!tunerSamples_.Push(in_[0][i])) break;

  std::fill(amp_[0].begin(), amp_[0].begin() + frames, 0.0f);
  std::fill(amp_[1].begin(), amp_[1].begin() + frames, 0.0f);
  effect_->processReplacing(effect_, inPtr_, ampPtr_, frames);

  const float* const* result = ampPtr_;
  if (current_ && !current_->bypass()) {
    current_->Process(cabInPtr_, cabOutPtr_, frames);
    result = cabOutPtr_;
  }
  const float level = outputGain_.load(std::memory_order_relaxed);
  for (int i = 0; i < frames; ++i) {
    outL[i] = result[0][i] * level;
    outR[i] = result[1][i] * level;
  }
  PeriodLevel left = MeasurePeriod(outL, frames);
  const PeriodLevel right = MeasurePeriod(outR, frames);
  left.peak = std::max(left.peak, right.peak);
  left.sumSquares = 0.5 * (left.sumSquares + right.sumSquares);
  outputLevels_.Push(left);
}

}  // namespace amprig
