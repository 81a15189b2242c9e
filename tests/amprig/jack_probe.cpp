#include "tests/amprig/jack_probe.h"

#include <algorithm>

namespace amprig_test {

Player::Player(const std::string& name) {
  client_ = jack_client_open(name.c_str(), JackNoStartServer, nullptr);
  if (!client_) return;
  out_ = jack_port_register(client_, "out", JACK_DEFAULT_AUDIO_TYPE, JackPortIsOutput, 0);
  jack_set_process_callback(client_, &Player::Process, this);
  jack_activate(client_);
}

Player::~Player() {
  if (client_) jack_client_close(client_);
}

std::string Player::port() const { return std::string(jack_get_client_name(client_)) + ":out"; }

void Player::Play(const std::vector<float>& signal) {
  signal_ = signal;
  pos_ = 0;
  done_ = false;
  startFrame_ = -1;
  armed_ = true;
}

int Player::Process(jack_nframes_t n, void* self) {
  auto* p = static_cast<Player*>(self);
  auto* out = static_cast<float*>(jack_port_get_buffer(p->out_, n));
  std::fill(out, out + n, 0.0f);
  if (!p->armed_.load() || p->done_.load()) return 0;
  // Placed by JACK's frame time, so a period the server skipped under load
  // does not shift the rest of the signal.
  const int64_t now = jack_last_frame_time(p->client_);
  if (p->startFrame_.load() < 0) p->startFrame_ = now;
  p->pos_ = static_cast<size_t>(now - p->startFrame_.load());
  if (p->pos_ >= p->signal_.size()) {
    p->done_ = true;
    return 0;
  }
  const size_t count = std::min<size_t>(n, p->signal_.size() - p->pos_);
  std::copy(p->signal_.begin() + p->pos_, p->signal_.begin() + p->pos_ + count, out);
  if (p->pos_ + count == p->signal_.size()) p->done_ = true;
  return 0;
}

Recorder::Recorder(const std::string& name, size_t capacityFrames) {
  data_[0].assign(capacityFrames, 0.0f);
  data_[1].assign(capacityFrames, 0.0f);
  client_ = jack_client_open(name.c_str(), JackNoStartServer, nullptr);
  if (!client_) return;
  in_[0] = jack_port_register(client_, "in_L", JACK_DEFAULT_AUDIO_TYPE, JackPortIsInput, 0);
  in_[1] = jack_port_register(client_, "in_R", JACK_DEFAULT_AUDIO_TYPE, JackPortIsInput, 0);
  jack_set_process_callback(client_, &Recorder::Process, this);
  jack_set_xrun_callback(client_, &Recorder::Xrun, this);
  jack_activate(client_);
}

Recorder::~Recorder() {
  if (client_) jack_client_close(client_);
}

std::string Recorder::port(int channel) const {
  return std::string(jack_get_client_name(client_)) + (channel == 0 ? ":in_L" : ":in_R");
}

int Recorder::Process(jack_nframes_t n, void* self) {
  auto* r = static_cast<Recorder*>(self);
  // Placed by JACK's frame time: a skipped period stays a gap, not a shift.
  const int64_t now = jack_last_frame_time(r->client_);
  if (r->firstFrame_.load() < 0) r->firstFrame_ = now;
  const size_t at = static_cast<size_t>(now - r->firstFrame_.load());
  if (at >= r->data_[0].size()) return 0;
  const size_t count = std::min<size_t>(n, r->data_[0].size() - at);
  for (int c = 0; c < 2; ++c) {
    const auto* in = static_cast<const float*>(jack_port_get_buffer(r->in_[c], n));
    std::copy(in, in + count, r->data_[c].begin() + static_cast<long>(at));
  }
  r->written_ = std::max(r->written_.load(), at + count);
  return 0;
}

int Recorder::Xrun(void* self) {
  static_cast<Recorder*>(self)->xruns_.fetch_add(1);
  return 0;
}

std::vector<float> Recorder::Take(int channel, int64_t from, size_t frames) const {
  const int64_t first = firstFrame_.load();
  const int64_t offset = from - first;
  const size_t have = written_.load();
  if (first < 0 || offset < 0 || static_cast<size_t>(offset) >= have) return {};
  const size_t count = std::min(frames, have - static_cast<size_t>(offset));
  return std::vector<float>(data_[channel].begin() + offset, data_[channel].begin() + offset + static_cast<long>(count));
}

}  // namespace amprig_test
