// A speaker cabinet after the amplifier: an impulse response (a file or one of
// the built-in cabinets) resampled to the session rate, brought to the common
// loudness, and convolved with the amplifier's output by a partitioned
// convolver.
//
// Three phases:
//   set-up   Cabinet::Load (reads, checks, keeps the IR at its own rate) and
//            Cabinet::Prepare (resamples, normalises, builds the convolver):
//            may allocate and take time; any thread but the audio one.
//   reset    Cabinet::Reset: clears the convolver's history.
//   process  Cabinet::Process: the audio thread; no allocation, no I/O, no lock.
//
// Loudness: every IR is scaled so that white noise limited to 200 Hz..5 kHz
// comes out at the level it went in (the mean of |H(f)|^2 over that band, on a
// linear frequency grid, is 1; for a stereo IR the mean over both channels).
// Switching cabinets therefore keeps the level in the band where a guitar
// speaker does its work; "none" (no convolution) meets the same rule.
//
// Channels: the cabinet has 1 or 2 inputs and 1 or 2 outputs (not 2 in and 1
// out). Output c is input min(c, inputs - 1) convolved with IR channel
// min(c, IR channels - 1); a stereo IR on a single output is used as the mean
// of its two channels. So a mono amp into a stereo IR gives a stereo result.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

namespace cabinet {

// Longest IR accepted, in seconds at its own rate.
constexpr double kMaxSeconds = 10.0;
// Band whose energy every IR is normalised to (Hz).
constexpr double kLoudnessLowHz = 200.0;
constexpr double kLoudnessHighHz = 5000.0;

// An impulse response, planar: channels[c][n], 1 or 2 channels, all of one length.
struct ImpulseResponse {
  int sampleRate = 0;
  std::vector<std::vector<float>> channels;
  std::string source;  // the file name or "built-in NAME", for messages

  size_t frames() const { return channels.empty() ? 0 : channels[0].size(); }
};

// Reads an IR file (WAV, FLAC, AIFF ... through libsndfile). False with
// *error naming the file when it is missing, unreadable, empty, silent, holds
// a non-finite sample, has more than 2 channels, or is longer than kMaxSeconds.
bool ReadImpulseFile(const std::string& path, ImpulseResponse* out, std::string* error);

// The same checks on a sound file held in memory (the built-in cabinets);
// `name` stands for the file in messages.
bool ReadImpulseBytes(const void* data, size_t size, const std::string& name, ImpulseResponse* out,
                      std::string* error);

// The names of the built-in cabinets, "none" first, one per entry.
std::vector<std::string> BuiltinNames();
// True for a name in BuiltinNames().
bool IsBuiltin(const std::string& name);

// The IR at `rate` Hz (libsamplerate's best sinc converter; a copy when the
// rates agree), not yet normalised.
ImpulseResponse Resample(const ImpulseResponse& ir, int rate);
// The mean power gain |H(f)|^2 over kLoudnessLowHz..kLoudnessHighHz.
double BandPowerGain(const ImpulseResponse& ir);
// Scales the IR to a band power gain of 1. False with *error when the IR has
// (practically) nothing in that band.
bool Normalise(ImpulseResponse* ir, std::string* error);

struct CabinetConfig {
  int sampleRate = 48000;
  int maxBlock = 512;  // the longest block Process is given
  int inputs = 1;      // 1 or 2
  int outputs = 1;     // 1 or 2 (not fewer than inputs)
  // Offline (amprender): every partition is computed in the calling thread's
  // Process call (the convolver waits for its workers), so a render is the
  // same every time. Live: the long partitions run on the convolver's own
  // threads and Process never waits for them.
  bool offline = true;
  // Live rigs whose every Process call has exactly maxBlock frames (a power
  // of two, 16..8192) run without latency. Otherwise the cabinet buffers one
  // fixed partition and reports it as latency(); the output is then the same
  // whatever block sizes Process is given.
  bool exactBlocks = false;
  int realtimePriority = 0;  // SCHED_FIFO priority for live worker threads; 0: normal threads
};

class Cabinet {
 public:
  // A built-in name (see BuiltinNames, "none" included) or an IR file path.
  // Null with *error when the name is unknown and no such file can be used.
  static std::unique_ptr<Cabinet> Load(const std::string& nameOrPath, std::string* error);
  // Over an IR already in memory (tests, a rig that received one).
  static std::unique_ptr<Cabinet> FromImpulse(ImpulseResponse ir, std::string* error);
  ~Cabinet();
  Cabinet(const Cabinet&) = delete;
  Cabinet& operator=(const Cabinet&) = delete;

  // Resamples and normalises the IR for this configuration and builds the
  // convolver. False with *error on a configuration it cannot run. Set-up
  // thread; may be called again (not while Process runs).
  bool Prepare(const CabinetConfig& config, std::string* error);

  // Audio thread. in[i] for each input, out[c] for each output, frames <=
  // maxBlock (exactly maxBlock with exactBlocks). in and out may not alias.
  void Process(const float* const* in, float* const* out, int frames) noexcept;
  // Clears the convolution history (and the latency buffer). Not during Process.
  void Reset() noexcept;

  // Frames by which the output lags the input (0 for "none" and exactBlocks).
  int latency() const { return latency_; }
  bool bypass() const { return bypass_; }  // "none": the input passes unchanged
  const std::string& name() const { return name_; }
  int irChannels() const;
  // The prepared, normalised IR at the session rate (empty before Prepare or for "none").
  const ImpulseResponse& prepared() const { return prepared_; }

 private:
  Cabinet() = default;
  struct Engine;

  std::string name_;
  bool bypass_ = false;
  ImpulseResponse original_;
  ImpulseResponse prepared_;
  CabinetConfig config_;
  int latency_ = 0;
  std::unique_ptr<Engine> engine_;
};

}  // namespace cabinet
