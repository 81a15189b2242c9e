// Two plain JACK clients for the tests: a player that plays a signal once
// when armed, and a recorder that keeps everything its two inputs receive,
// each stamped with JACK's frame time so the two line up.
#pragma once

#include <jack/jack.h>

#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

namespace amprig_test {

class Player {
 public:
  explicit Player(const std::string& name);
  ~Player();
  bool ok() const { return client_ != nullptr; }
  std::string port() const;  // "<client>:out"
  void Play(const std::vector<float>& signal);  // from the next period
  bool done() const { return done_.load(); }
  int64_t startFrame() const { return startFrame_.load(); }
  bool connected() const { return jack_port_connected(out_) > 0; }

 private:
  static int Process(jack_nframes_t n, void* self);
  jack_client_t* client_ = nullptr;
  jack_port_t* out_ = nullptr;
  std::vector<float> signal_;
  size_t pos_ = 0;
  std::atomic<bool> armed_{false}, done_{false};
  std::atomic<int64_t> startFrame_{-1};
};

class Recorder {
 public:
  Recorder(const std::string& name, size_t capacityFrames);
  ~Recorder();
  bool ok() const { return client_ != nullptr; }
  std::string port(int channel) const;  // "<client>:in_L" / "in_R"
  bool connected() const { return jack_port_connected(in_[0]) > 0; }
  // Frames of channel c from absolute frame time `from`; fewer when not there yet.
  std::vector<float> Take(int channel, int64_t from, size_t frames) const;
  size_t recorded() const { return written_.load(); }
  // The server's xruns since this client started (every client hears of them).
  int xruns() const { return xruns_.load(); }

 private:
  static int Process(jack_nframes_t n, void* self);
  static int Xrun(void* self);
  std::atomic<int> xruns_{0};
  jack_client_t* client_ = nullptr;
  jack_port_t* in_[2] = {};
  std::vector<float> data_[2];
  std::atomic<size_t> written_{0};
  std::atomic<int64_t> firstFrame_{-1};
};

}  // namespace amprig_test
