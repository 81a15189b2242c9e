#include "host/amprig/tuner.h"

#include <aubio/aubio.h>

#include <cmath>

namespace amprig {

namespace {
// Below this confidence YIN's answer is noise, a chord or a decaying tail.
constexpr float kMinConfidence = 0.8f;
// Quieter input than this (dBFS) is not analysed.
constexpr float kSilenceDb = -60.0f;
}  // namespace

TunerReading NoteOf(double hz) {
  TunerReading r;
  if (!(hz >= 20.0 && hz <= 5000.0)) return r;
  static const char* const kNames[12] = {"C",  "C#", "D",  "D#", "E",  "F",
                                         "F#", "G",  "G#", "A",  "A#", "B"};
  const double midi = 69.0 + 12.0 * std::log2(hz / 440.0);
  const int nearest = static_cast<int>(std::lround(midi));
  r.valid = true;
  r.hz = hz;
  r.cents = static_cast<int>(std::lround(100.0 * (midi - nearest)));
  r.note = std::string(kNames[((nearest % 12) + 12) % 12]) + std::to_string(nearest / 12 - 1);
  return r;
}

Tuner::Tuner(int sampleRate) : rate_(sampleRate) {
  pitch_ = new_aubio_pitch("yinfft", kWindow, kHop, static_cast<uint_t>(sampleRate));
  hop_.assign(kHop, 0.0f);
  if (pitch_) {
    aubio_pitch_set_unit(pitch_, "Hz");
    aubio_pitch_set_silence(pitch_, kSilenceDb);
  }
}

Tuner::~Tuner() {
  if (pitch_) del_aubio_pitch(pitch_);
}

void Tuner::Feed(const float* x, int frames) {
  if (!pitch_) return;
  for (int i = 0; i < frames; ++i) {
    hop_[filled_++] = x[i];
    if (filled_ < kHop) continue;
    filled_ = 0;
    smpl_t hz = 0.0f;
    fvec_t in{static_cast<uint_t>(kHop), hop_.data()};
    fvec_t out{1u, &hz};
    aubio_pitch_do(pitch_, &in, &out);
    const TunerReading r = NoteOf(hz);
    if (r.valid && aubio_pitch_get_confidence(pitch_) >= kMinConfidence) {
      last_ = r;
      holdHops_ = rate_ / (2 * kHop) + 1;
    } else if (holdHops_ > 0) {
      --holdHops_;
    }
  }
}

}  // namespace amprig
