// One JACK period of the rig, on the audio thread: input gain, the amplifier
// plug-in (through its processReplacing), the cabinet, the output level, and
// the meters' and tuner's share of the work (measuring and handing over).
// Nothing here allocates, locks or does I/O while processing; Prepare and the
// cabinet swap's clean-up run on other threads.
#pragma once

#include <atomic>
#include <memory>
#include <vector>

#include "host/amprig/level_meter.h"
#include "host/amprig/spsc_ring.h"
#include "host/cabinet/cabinet.h"
#include "platform/vst2/aeffect.h"

namespace amprig {

// The cabinet's live configuration for a JACK period: two in, two out, its
// workers on their own threads (SCHED_FIFO at `workerPriority` and below when
// it is above 0), no latency when the period is a power of two.
cabinet::CabinetConfig LiveCabinetConfig(int sampleRate, int periodFrames, int workerPriority);

class RigChain {
 public:
  explicit RigChain(vst2::AEffect* effect);
  ~RigChain();
  RigChain(const RigChain&) = delete;
  RigChain& operator=(const RigChain&) = delete;

  // Set-up, not while Process runs: buffers for `maxBlock` frames and the
  // cabinet prepared for the rate in its live form (exact blocks when the
  // period is a power of two). False with *error when the cabinet cannot run.
  bool Prepare(int sampleRate, int maxBlock, std::unique_ptr<cabinet::Cabinet> cab,
               std::string* error);
  // Set-up: the priority the cabinet's workers get, just below the audio
  // thread's (JackRig::realtimePriority() - 1); 0 for normal threads.
  void SetCabinetWorkerPriority(int priority) { workerPriority_ = priority; }
  int cabinetWorkerPriority() const { return workerPriority_; }

  // Any thread: levels in dB, applied from the next period.
  void SetInputGainDb(double db);
  void SetOutputLevelDb(double db);
  double inputGainDb() const { return inputGainDb_.load(std::memory_order_relaxed); }
  double outputLevelDb() const { return outputLevelDb_.load(std::memory_order_relaxed); }

  // Control thread: a new cabinet (prepared by the caller for the current
  // rate and period) replaces the current one at the start of a period. The
  // one it replaced is destroyed by a later call of Collect().
  void SwapCabinet(std::unique_ptr<cabinet::Cabinet> cab);
  void Collect();
  // The cabinet playing now (control thread; valid until the next SwapCabinet).
  const cabinet::Cabinet* cabinet() const { return shown_; }

  // Audio thread. frames <= maxBlock.
  void Process(const float* in, float* outL, float* outR, int frames) noexcept;

  // Frames by which the outputs lag the input: plug-in plus cabinet.
  int latency() const;

  // Drained by the control thread.
  SpscRing<PeriodLevel>& inputLevels() { return inputLevels_; }
  SpscRing<PeriodLevel>& outputLevels() { return outputLevels_; }
  SpscRing<float>& tunerSamples() { return tunerSamples_; }

 private:
  vst2::AEffect* effect_;
  int maxBlock_ = 0;
  int workerPriority_ = 0;
  std::vector<std::vector<float>> in_, amp_, cab_;  // two channels each
  float* inPtr_[2] = {};
  float* ampPtr_[2] = {};
  const float* cabInPtr_[2] = {};
  float* cabOutPtr_[2] = {};
  std::unique_ptr<cabinet::Cabinet> current_;
  std::atomic<cabinet::Cabinet*> pending_{nullptr};
  std::atomic<cabinet::Cabinet*> retired_{nullptr};
  const cabinet::Cabinet* shown_ = nullptr;
  std::atomic<double> inputGainDb_{0.0}, outputLevelDb_{0.0};
  std::atomic<float> inputGain_{1.0f}, outputGain_{1.0f};
  SpscRing<PeriodLevel> inputLevels_{512}, outputLevels_{512};
  SpscRing<float> tunerSamples_{1 << 16};
};

}  // namespace amprig
