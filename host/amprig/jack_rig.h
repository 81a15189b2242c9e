// amprig's JACK client: one input port `in`, two outputs `out_L` and
// `out_R`, the process callback running the RigChain, and the server's
// changes (rate, period, latency, xruns, shutdown) turned into calls the rest
// of the program can take on its own threads.
#pragma once

#include <jack/jack.h>

#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "host/amprig/rig_chain.h"

namespace amprig {

class JackRig {
 public:
  // Called with the process callback held in silence, on a JACK thread,
  // when the server's rate or period changes after Start: re-prepare the
  // plug-in and the chain for them.
  using Reconfigure = std::function<void(int sampleRate, int periodFrames)>;

  // Connects to a running server (never starts one). Null with *error
  // saying what to do when there is none.
  static std::unique_ptr<JackRig> Open(const std::string& clientName, std::string* error);
  ~JackRig();
  JackRig(const JackRig&) = delete;
  JackRig& operator=(const JackRig&) = delete;

  int sampleRate() const { return sampleRate_.load(); }
  int periodFrames() const { return period_.load(); }
  std::string clientName() const;
  // The SCHED_FIFO priority of the process thread; 0 when the server does
  // not run its clients in real time.
  int realtimePriority() const;

  // Registers the ports, activates. False with *error.
  bool Start(RigChain* chain, Reconfigure reconfigure, std::string* error);
  // Connects `in` from a port and the outputs to up to two ports. Empty
  // names: the first physical capture port and the first two physical
  // playback ports. False with *error naming the missing port.
  bool Connect(const std::string& from, const std::vector<std::string>& to, std::string* error);
  // Deactivates: the process callback runs no more. Idempotent.
  void Stop();
  // The cabinet's latency changed: tell the server.
  void LatencyChanged();

  int xruns() const { return xruns_.load(std::memory_order_relaxed); }
  // The longest process callback since the last call, in microseconds (what
  // tells a late graph from a slow rig when xruns are counted).
  int TakeLongestCycleMicros() { return longestCycleMicros_.exchange(0); }
  float dspLoad() const;
  bool serverGone() const { return serverGone_.load(); }
  std::string shutdownReason() const;

 private:
  explicit JackRig(jack_client_t* client) : client_(client) {}
  static int OnProcess(jack_nframes_t frames, void* self);
  static int OnBufferSize(jack_nframes_t frames, void* self);
  static int OnSampleRate(jack_nframes_t rate, void* self);
  static int OnXrun(void* self);
  static void OnLatency(jack_latency_callback_mode_t mode, void* self);
  static void OnShutdown(jack_status_t code, const char* reason, void* self);
  // Holds the process callback in silence while `change` runs.
  void Paused(const std::function<void()>& change);

  jack_client_t* client_;
  jack_port_t* in_ = nullptr;
  jack_port_t* out_[2] = {};
  RigChain* chain_ = nullptr;
  Reconfigure reconfigure_;
  bool active_ = false;
  std::atomic<int> sampleRate_{0}, period_{0};
  std::atomic<bool> paused_{false}, inProcess_{false}, serverGone_{false};
  std::atomic<int> xruns_{0};
  std::atomic<int> longestCycleMicros_{0};
  char shutdownReason_[256] = {};
};

}  // namespace amprig
