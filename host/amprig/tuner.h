// A chromatic tuner on the control thread: aubio's YIN (FFT) pitch detector
// over the input samples the audio thread handed over, turned into the
// nearest equal-tempered note (A4 = 440 Hz) and the offset in cents.
#pragma once

#include <string>
#include <vector>

struct _aubio_pitch_t;

namespace amprig {

struct TunerReading {
  bool valid = false;  // a confident pitch in the guitar's range
  double hz = 0.0;
  std::string note;    // "E2", "A#3" ...
  int cents = 0;       // -50..+50 from the note
};

// The note and cents of a frequency; invalid outside 20 Hz..5 kHz.
TunerReading NoteOf(double hz);

class Tuner {
 public:
  static constexpr int kWindow = 2048;  // analysis length: 2.5 periods of a drop-D low string at 44.1 kHz
  static constexpr int kHop = 512;
  explicit Tuner(int sampleRate);
  ~Tuner();
  Tuner(const Tuner&) = delete;
  Tuner& operator=(const Tuner&) = delete;

  void Feed(const float* x, int frames);
  // The last confident reading; invalid after about half a second without one.
  TunerReading reading() const { return holdHops_ > 0 ? last_ : TunerReading{}; }
  int sampleRate() const { return rate_; }

 private:
  int rate_;
  _aubio_pitch_t* pitch_ = nullptr;
  std::vector<float> hop_;
  int filled_ = 0;
  int holdHops_ = 0;
  TunerReading last_;
};

}  // namespace amprig
