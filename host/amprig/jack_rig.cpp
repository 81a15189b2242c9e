#include "host/amprig/jack_rig.h"

#include <jack/thread.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <thread>

namespace amprig {

namespace {
// The JACK library's own messages (socket paths, shared memory) mean nothing
// to a guitarist; amprig says what went wrong in its own words.
void Quiet(const char*) {}
}  // namespace

std::unique_ptr<JackRig> JackRig::Open(const std::string& clientName, std::string* error) {
  jack_set_error_function(Quiet);
  jack_set_info_function(Quiet);
  jack_status_t status{};
  jack_client_t* client = jack_client_open(clientName.c_str(), JackNoStartServer, &status);
  if (!client) {
    if (status & JackServerFailed)
      *error =
          "no JACK server is running. Start one first: under PipeWire run amprig as "
          "`pw-jack amprig ...`; with JACK itself, `jackd -d alsa -r 48000 -p 128 &` "
          "(or start it from your JACK control program), then start amprig again";
    else if (status & JackNameNotUnique)
      *error = "a JACK client named '" + clientName + "' is running already: pick another with --name";
    else
      *error = "cannot connect to the JACK server (status 0x" +
               [&] {
                 char hex[16];
                 std::snprintf(hex, sizeof hex, "%x", static_cast<unsigned>(status));
                 return std::string(hex);
               }() +
               "): is it running, and under this user?";
    return nullptr;
  }
  std::unique_ptr<JackRig> rig(new JackRig(client));
  rig->sampleRate_ = static_cast<int>(jack_get_sample_rate(client));
  rig->period_ = static_cast<int>(jack_get_buffer_size(client));
  return rig;
}

JackRig::~JackRig() {
  Stop();
  jack_client_close(client_);
}

std::string JackRig::clientName() const { return jack_get_client_name(client_); }

int JackRig::realtimePriority() const {
  return jack_is_realtime(client_) ? std::max(0, jack_client_real_time_priority(client_)) : 0;
}

bool JackRig::Start(RigChain* chain, Reconfigure reconfigure, std::string* error) {
  chain_ = chain;
  reconfigure_ = std::move(reconfigure);
  in_ = jack_port_register(client_, "in", JACK_DEFAULT_AUDIO_TYPE, JackPortIsInput, 0);
  out_[0] = jack_port_register(client_, "out_L", JACK_DEFAULT_AUDIO_TYPE, JackPortIsOutput, 0);
  out_[1] = jack_port_register(client_, "out_R", JACK_DEFAULT_AUDIO_TYPE, JackPortIsOutput, 0);
  if (!in_ || !out_[0] || !out_[1]) {
    *error = "cannot register the JACK ports in, out_L and out_R";
    return false;
  }
  jack_set_process_callback(client_, &JackRig::OnProcess, this);
  jack_set_buffer_size_callback(client_, &JackRig::OnBufferSize, this);
  jack_set_sample_rate_callback(client_, &JackRig::OnSampleRate, this);
  jack_set_xrun_callback(client_, &JackRig::OnXrun, this);
  jack_set_latency_callback(client_, &JackRig::OnLatency, this);
  jack_on_info_shutdown(client_, &JackRig::OnShutdown, this);
  if (jack_activate(client_) != 0) {
    *error = "the JACK server refused to activate the client";
    return false;
  }
  active_ = true;
  return true;
}

bool JackRig::Connect(const std::string& from, const std::vector<std::string>& to,
                      std::string* error) {
  std::vector<std::string> sources = {from};
  std::vector<std::string> sinks = to;
  auto physical = [&](unsigned long flags) {
    std::vector<std::string> names;
    const char** ports = jack_get_ports(client_, nullptr, JACK_DEFAULT_AUDIO_TYPE, flags);
    for (const char** p = ports; p && *p; ++p) names.emplace_back(*p);
    if (ports) jack_free(ports);
    return names;
  };
  if (from.empty()) {
    sources = physical(JackPortIsPhysical | JackPortIsOutput);
    if (sources.empty()) {
      *error = "the JACK server has no physical capture port: connect amprig's input by hand "
               "(jack_connect, or your patchbay)";
      return false;
    }
    sources.resize(1);
  }
  if (to.empty()) {
    sinks = physical(JackPortIsPhysical | JackPortIsInput);
    if (sinks.empty()) {
      *error = "the JACK server has no physical playback port: connect amprig's outputs by hand";
      return false;
    }
    if (sinks.size() > 2) sinks.resize(2);
  }
  auto connect = [&](const std::string& a, const std::string& b) {
    const int rc = jack_connect(client_, a.c_str(), b.c_str());
    return rc == 0 || rc == EEXIST;
  };
  const std::string me = clientName();
  for (const std::string& name : sources) {
    if (!jack_port_by_name(client_, name.c_str())) {
      *error = "no JACK port named '" + name + "' (list them with jack_lsp)";
      return false;
    }
    if (!connect(name, me + ":in")) {
      *error = "cannot connect " + name + " to " + me + ":in";
      return false;
    }
  }
  for (size_t i = 0; i < sinks.size(); ++i) {
    if (!jack_port_by_name(client_, sinks[i].c_str())) {
      *error = "no JACK port named '" + sinks[i] + "' (list them with jack_lsp)";
      return false;
    }
    // One playback port: both outputs go to it.
    for (size_t c = i; c < 2; c += sinks.size()) {
      const std::string ours = me + (c == 0 ? ":out_L" : ":out_R");
      if (!connect(ours, sinks[i])) {
        *error = "cannot connect " + ours + " to " + sinks[i];
        return false;
      }
    }
  }
  return true;
}

void JackRig::Stop() {
  if (active_) {
    if (!serverGone_) jack_deactivate(client_);
    active_ = false;
  }
}

void JackRig::LatencyChanged() {
  if (active_ && !serverGone_) jack_recompute_total_latencies(client_);
}

float JackRig::dspLoad() const { return serverGone_ ? 0.0f : jack_cpu_load(client_); }

std::string JackRig::shutdownReason() const { return shutdownReason_; }

int JackRig::OnProcess(jack_nframes_t frames, void* self) {
  auto* rig = static_cast<JackRig*>(self);
  rig->inProcess_.store(true);  // sequentially consistent with Paused's flag
  const jack_time_t began = jack_get_time();
  const auto* in = static_cast<const float*>(jack_port_get_buffer(rig->in_, frames));
  auto* left = static_cast<float*>(jack_port_get_buffer(rig->out_[0], frames));
  auto* right = static_cast<float*>(jack_port_get_buffer(rig->out_[1], frames));
  const int n = static_cast<int>(frames);
  if (rig->paused_.load() || n > rig->period_.load(std::memory_order_relaxed)) {
    std::fill(left, left + n, 0.0f);
    std::fill(right, right + n, 0.0f);
  } else {
    rig->chain_->Process(in, left, right, n);
  }
  const int took = static_cast<int>(jack_get_time() - began);
  if (took > rig->longestCycleMicros_.load(std::memory_order_relaxed))
    rig->longestCycleMicros_.store(took, std::memory_order_relaxed);
  rig->inProcess_.store(false, std::memory_order_release);
  return 0;
}

void JackRig::Paused(const std::function<void()>& change) {
  paused_.store(true);
  while (inProcess_.load()) std::this_thread::yield();
  change();
  paused_.store(false);
}

int JackRig::OnBufferSize(jack_nframes_t frames, void* self) {
  auto* rig = static_cast<JackRig*>(self);
  const int period = static_cast<int>(frames);
  if (period == rig->period_.load()) return 0;
  rig->Paused([&] {
    rig->period_.store(period);
    if (rig->reconfigure_) rig->reconfigure_(rig->sampleRate_.load(), period);
  });
  return 0;
}

int JackRig::OnSampleRate(jack_nframes_t rate, void* self) {
  auto* rig = static_cast<JackRig*>(self);
  const int r = static_cast<int>(rate);
  if (r == rig->sampleRate_.load()) return 0;
  rig->Paused([&] {
    rig->sampleRate_.store(r);
    if (rig->reconfigure_) rig->reconfigure_(r, rig->period_.load());
  });
  return 0;
}

int JackRig::OnXrun(void* self) {
  static_cast<JackRig*>(self)->xruns_.fetch_add(1, std::memory_order_relaxed);
  return 0;
}

void JackRig::OnLatency(jack_latency_callback_mode_t mode, void* self) {
  auto* rig = static_cast<JackRig*>(self);
  const jack_nframes_t ours = static_cast<jack_nframes_t>(rig->chain_ ? rig->chain_->latency() : 0);
  jack_latency_range_t range;
  if (mode == JackCaptureLatency) {
    jack_port_get_latency_range(rig->in_, JackCaptureLatency, &range);
    range.min += ours;
    range.max += ours;
    for (jack_port_t* out : rig->out_) jack_port_set_latency_range(out, JackCaptureLatency, &range);
  } else {
    jack_latency_range_t widest = {0, 0};
    for (jack_port_t* out : rig->out_) {
      jack_port_get_latency_range(out, JackPlaybackLatency, &range);
      widest.min = std::max(widest.min, range.min);
      widest.max = std::max(widest.max, range.max);
    }
    widest.min += ours;
    widest.max += ours;
    jack_port_set_latency_range(rig->in_, JackPlaybackLatency, &widest);
  }
}

void JackRig::OnShutdown(jack_status_t, const char* reason, void* self) {
  auto* rig = static_cast<JackRig*>(self);
  std::snprintf(rig->shutdownReason_, sizeof rig->shutdownReason_, "%s", reason ? reason : "");
  rig->serverGone_.store(true);
}

}  // namespace amprig
