// Audio in and out of amprender through libsndfile: a source of interleaved
// float frames (a file, standard input or a buffer in memory) and a WAV sink
// that writes to a temporary file and appears under its name only on Finish().
#pragma once

#include <sndfile.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "host/amprender/atomic_file.h"
#include "host/amprender/options.h"

namespace amprender {

class AudioSource {
 public:
  virtual ~AudioSource() = default;
  virtual int channels() const = 0;
  virtual int sampleRate() const = 0;
  virtual int64_t frames() const = 0;
  // Reads up to `frames` interleaved frames; returns the number read (0 at the
  // end), or -1 on a read error with *error set.
  virtual int64_t Read(float* interleaved, int64_t frames, std::string* error) = 0;
};

// Interleaved frames already in memory (the built-in riff).
class MemorySource : public AudioSource {
 public:
  MemorySource(std::vector<float> interleaved, int channels, int sampleRate);
  int channels() const override { return channels_; }
  int sampleRate() const override { return rate_; }
  int64_t frames() const override { return static_cast<int64_t>(data_.size()) / channels_; }
  int64_t Read(float* interleaved, int64_t frames, std::string* error) override;

 private:
  std::vector<float> data_;
  int channels_;
  int rate_;
  size_t position_ = 0;
};

// Opens a sound file (or standard input for "-"), mono or stereo. Returns null
// with *error set when it cannot be read.
std::unique_ptr<AudioSource> OpenSoundFile(const std::string& path, std::string* error);

// Where rendered frames go.
class FrameSink {
 public:
  virtual ~FrameSink() = default;
  virtual bool Write(const float* interleaved, int64_t frames, std::string* error) = 0;
};

// Frames kept in memory, for a render that is scaled once it is complete.
class MemorySink : public FrameSink {
 public:
  bool Write(const float* interleaved, int64_t frames, std::string* error) override;
  explicit MemorySink(int channels) : channels_(channels) {}
  std::vector<float>& samples() { return samples_; }

 private:
  std::vector<float> samples_;
  int channels_;
};

// A WAV file of 32-bit float or 24-bit PCM samples. Values beyond full scale
// are clipped in the 24-bit format, kept in the float one.
class WavSink : public FrameSink {
 public:
  explicit WavSink(std::string path) : file_(std::move(path)) {}
  ~WavSink();
  WavSink(const WavSink&) = delete;
  WavSink& operator=(const WavSink&) = delete;

  bool Open(int channels, int sampleRate, SampleFormat format, std::string* error);
  bool Write(const float* interleaved, int64_t frames, std::string* error) override;
  // Closes the file, still under its temporary name; after a failure
  // nothing is left behind.
  bool Finish(std::string* error);
  // Renames the finished file into place.
  bool Commit(std::string* error) { return file_.Commit(error); }
  // Closes and removes the temporary file.
  void Abandon();

 private:
  AtomicFile file_;
  SNDFILE* sf_ = nullptr;
};

}  // namespace amprender
