// The built-in DI riff: a few seconds of a clean guitar DI track (palm-muted
// power chords, a short lead phrase, a ringing last chord) synthesised with
// plucked strings, so amprender can run without a recording. Everything is
// deterministic: the same rate gives the same samples on every run.
#pragma once

#include <cstdint>
#include <vector>

namespace amprender {

// One plucked note on one string.
struct Pluck {
  double start = 0.0;     // s
  double duration = 0.0;  // s until the string is choked
  int midiNote = 40;      // E2 = 40, standard tuning low string
  double velocity = 0.8;  // excitation amplitude, 0..1
  bool palmMuted = false;
};

// The riff as a list of plucks (chords are one pluck per string).
std::vector<Pluck> DiRiffScore();

// Renders one pluck from its start (sample 0) until it has died away, before
// the pickup filter: a Karplus-Strong string loop tuned with a first-order
// allpass, excited by a noise burst through a pick-position comb. `seed`
// makes the burst; the same seed gives the same samples.
std::vector<double> RenderPluck(const Pluck& pluck, int sampleRate, uint32_t seed);

// Peak level of the rendered riff: -6 dBFS, a healthy DI level.
constexpr double kDiRiffPeak = 0.5011872336272722;

// The whole riff, mono, through the pickup low-pass, at kDiRiffPeak.
std::vector<float> SynthesizeDiRiff(int sampleRate);

}  // namespace amprender
