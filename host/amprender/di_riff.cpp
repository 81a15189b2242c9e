#include "host/amprender/di_riff.h"

#include <algorithm>
#include <cmath>

namespace amprender {
namespace {

constexpr double kPi = 3.14159265358979323846;

double NoteHz(int midiNote) { return 440.0 * std::pow(2.0, (midiNote - 69) / 12.0); }

// A small deterministic generator (32-bit LCG, Numerical Recipes constants):
// the excitation noise must not depend on the C library.
class Noise {
 public:
  explicit Noise(uint32_t seed) : state_(seed * 2654435761u + 12345u) {}
  double Next() {  // uniform in [-1, 1)
    state_ = state_ * 1664525u + 1013904223u;
    return static_cast<double>(state_ >> 8) / 8388608.0 - 1.0;
  }

 private:
  uint32_t state_;
};

// Decay time to a thousandth of the amplitude (-60 dB) in s.
constexpr double kT60Open = 4.0;
constexpr double kT60Muted = 0.18;
constexpr double kT60Choked = 0.035;

// Loop gain per pass for a T60 at f0 passes per second.
double LoopGain(double f0, double t60) { return std::pow(10.0, -3.0 / (f0 * t60)); }

// Pickup and cable: a second-order low-pass, resonant from the coil
// inductance against the cable capacitance (about 4.5 kHz, Q 1.4), bilinear
// design with the cut-off prewarped.
class PickupLowpass {
 public:
  PickupLowpass(double fc, double q, int sampleRate) {
    double w = 2.0 * kPi * std::min(fc, 0.42 * sampleRate) / sampleRate;
    double alpha = std::sin(w) / (2.0 * q);
    double cw = std::cos(w);
    double a0 = 1.0 + alpha;
    b0_ = (1.0 - cw) / 2.0 / a0;
    b1_ = (1.0 - cw) / a0;
    b2_ = b0_;
    a1_ = -2.0 * cw / a0;
    a2_ = (1.0 - alpha) / a0;
  }
  double Step(double x) {
    double y = b0_ * x + b1_ * x1_ + b2_ * x2_ - a1_ * y1_ - a2_ * y2_;
    x2_ = x1_;
    x1_ = x;
    y2_ = y1_;
    y1_ = y;
    return y;
  }

 private:
  double b0_, b1_, b2_, a1_, a2_;
  double x1_ = 0.0, x2_ = 0.0, y1_ = 0.0, y2_ = 0.0;
};

// Adds one power chord (root, fifth, octave) strummed down from the low string.
void AddPowerChord(std::vector<Pluck>* score, double start, double duration, int root,
                   double velocity, bool muted) {
  const int intervals[3] = {0, 7, 12};
  const double strum = muted ? 0.004 : 0.009;  // s between strings
  for (int s = 0; s < 3; ++s) {
    Pluck p;
    p.start = start + s * strum;
    p.duration = duration - s * strum;
    p.midiNote = root + intervals[s];
    p.velocity = velocity * (1.0 - 0.08 * s);
    p.palmMuted = muted;
    score->push_back(p);
  }
}

}  // namespace

std::vector<Pluck> DiRiffScore() {
  // 120 beats per minute: an eighth note is 0.25 s.
  constexpr double e = 0.25;
  constexpr int E2 = 40, G2 = 43, A2 = 45, D3 = 50, C3 = 48;
  std::vector<Pluck> score;
  // Bar 1: six palm-muted E5 chugs, then G5 and A5 open.
  for (int i = 0; i < 6; ++i) AddPowerChord(&score, i * e, e * 0.9, E2, i % 2 ? 0.7 : 0.85, true);
  AddPowerChord(&score, 6 * e, e, G2, 0.9, false);
  AddPowerChord(&score, 7 * e, e, A2, 0.9, false);
  // Bar 2: four chugs, D5 for a quarter, C5 and A5 eighths.
  for (int i = 0; i < 4; ++i)
    AddPowerChord(&score, (8 + i) * e, e * 0.9, E2, i % 2 ? 0.7 : 0.85, true);
  AddPowerChord(&score, 12 * e, 2 * e, D3, 0.95, false);
  AddPowerChord(&score, 14 * e, e, C3, 0.9, false);
  AddPowerChord(&score, 15 * e, e, A2, 0.9, false);
  // Bar 3 and 4: a short E minor pentatonic lead phrase, ending on a held E4.
  const struct {
    double at, length;
    int note;
  } lead[] = {{16, 1, 64}, {17, 1, 67}, {18, 1, 69}, {19, 1, 71}, {20, 2, 74},
              {22, 1, 71}, {23, 1, 69}, {24, 1, 67}, {25, 3, 64}};
  for (const auto& n : lead) {
    Pluck p;
    p.start = n.at * e;
    p.duration = n.length * e;
    p.midiNote = n.note;
    p.velocity = 1.0;
    score.push_back(p);
  }
  // Last bar: an open E5 left to ring.
  AddPowerChord(&score, 28 * e, 6 * e, E2, 1.0, false);
  return score;
}

std::vector<double> RenderPluck(const Pluck& pluck, int sampleRate, uint32_t seed) {
  const double fs = sampleRate;
  const double f0 = NoteHz(pluck.midiNote);
  // Loop delay = N (delay line) + 1 (the symmetric three-tap loss filter) + d
  // (allpass), with d kept in [0.1, 1.1) where a first-order allpass delays
  // evenly.
  const double period = fs / f0;
  const int n = std::max(2, static_cast<int>(std::floor(period - 1.1)));
  const double d = period - 1.0 - n;
  const double c = (1.0 - d) / (1.0 + d);

  // Excitation: one period of noise, darker for a palm mute or a soft pick,
  // through the pick-position comb (picked a seventh of the way from the
  // bridge, which notches every seventh harmonic).
  Noise noise(seed);
  const double pickCut = pluck.palmMuted ? 1200.0 : 1500.0 + 2000.0 * pluck.velocity;
  const double pickPole = std::exp(-2.0 * kPi * std::min(pickCut, 0.45 * fs) / fs);
  std::vector<double> burst(static_cast<size_t>(n));
  double lp = 0.0;
  for (int i = 0; i < n; ++i) {
    lp = (1.0 - pickPole) * noise.Next() + pickPole * lp;
    burst[static_cast<size_t>(i)] = lp;
  }
  const int comb = std::max(1, static_cast<int>(std::lround(period / 7.0)));
  // The muted burst is darker; the hand behind the pick digs in harder.
  const double level = pluck.velocity * (pluck.palmMuted ? 1.8 : 1.0);
  std::vector<double> excitation(static_cast<size_t>(n), 0.0);
  for (int i = 0; i < n; ++i)
    excitation[static_cast<size_t>(i)] =
        level *
        (burst[static_cast<size_t>(i)] - (i >= comb ? burst[static_cast<size_t>(i - comb)] : 0.0));

  const double held = LoopGain(f0, pluck.palmMuted ? kT60Muted : kT60Open);
  const double choked = LoopGain(f0, kT60Choked);
  const size_t chokeAt = static_cast<size_t>(std::max(0.0, pluck.duration) * fs);
  const size_t length = chokeAt + static_cast<size_t>(6.0 * kT60Choked * fs);

  std::vector<double> out(length, 0.0);
  std::vector<double> line(static_cast<size_t>(n), 0.0);
  size_t pos = 0;
  // Loss filter a0 + a1 z^-1 + a0 z^-2 (a1 = 1 - 2 a0): unity at DC, the
  // treble loss per pass set by a0; a palm on the strings takes the most.
  const double a0 = pluck.palmMuted ? 0.25 : 0.06;
  const double a1 = 1.0 - 2.0 * a0;
  double prev1 = 0.0, prev2 = 0.0, apIn = 0.0, apOut = 0.0;
  for (size_t t = 0; t < length; ++t) {
    const double delayed = line[pos];
    const double damped = a0 * delayed + a1 * prev1 + a0 * prev2;
    prev2 = prev1;
    prev1 = delayed;
    const double tuned = c * damped + apIn - c * apOut;
    apIn = damped;
    apOut = tuned;
    const double gain = t < chokeAt ? held : choked;
    const double input = t < excitation.size() ? excitation[t] : 0.0;
    line[pos] = input + gain * tuned;
    pos = pos + 1 == line.size() ? 0 : pos + 1;
    out[t] = delayed;
  }
  return out;
}

std::vector<float> SynthesizeDiRiff(int sampleRate) {
  const std::vector<Pluck> score = DiRiffScore();
  double end = 0.0;
  for (const Pluck& p : score) end = std::max(end, p.start + p.duration);
  const size_t frames = static_cast<size_t>((end + 0.5) * sampleRate);
  std::vector<double> mix(frames, 0.0);
  for (size_t i = 0; i < score.size(); ++i) {
    const size_t at = static_cast<size_t>(score[i].start * sampleRate);
    std::vector<double> note = RenderPluck(score[i], sampleRate, static_cast<uint32_t>(i + 1));
    for (size_t t = 0; t < note.size() && at + t < frames; ++t) mix[at + t] += note[t];
  }

  // Pickup low-pass, then a 30 Hz one-pole high-pass for the input coupling.
  PickupLowpass pickup(4500.0, 1.4, sampleRate);
  const double hpPole = std::exp(-2.0 * kPi * 30.0 / sampleRate);
  double hpIn = 0.0, hpOut = 0.0, peak = 0.0;
  for (double& x : mix) {
    const double y = pickup.Step(x);
    hpOut = hpPole * (hpOut + y - hpIn);
    hpIn = y;
    x = hpOut;
    peak = std::max(peak, std::fabs(x));
  }
  const double scale = peak > 0.0 ? kDiRiffPeak / peak : 0.0;
  std::vector<float> out(frames);
  for (size_t t = 0; t < frames; ++t) out[t] = static_cast<float>(mix[t] * scale);
  return out;
}

}  // namespace amprender
