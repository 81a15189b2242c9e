// Sound files around the DAW test: the known input written over the files
// Ardour captured, the stereo input amprender reads, and the comparison of
// two renders.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace daw {

struct Sound {
  int channels = 0;
  int rate = 0;
  int format = 0;             // libsndfile's format word
  std::vector<float> frames;  // interleaved
  int64_t length() const { return channels ? static_cast<int64_t>(frames.size()) / channels : 0; }
  float at(int64_t frame, int channel) const { return frames[frame * channels + channel]; }
};

bool ReadSound(const std::string& path, Sound* sound, std::string* error);

// Overwrites a mono file with `samples` in the file's own format and length:
// Ardour keeps a capture's length in its session, so the two must agree.
bool ReplaceMono(const std::string& path, const std::vector<float>& samples, std::string* error);

bool WriteStereoFloat(const std::string& path, const std::vector<float>& left,
                      const std::vector<float>& right, int rate, std::string* error);

// `frames` samples of the built-in DI riff between `pad` frames of silence at
// either end, so a host's region fades act on silence only. The right side is
// the riff a little later and quieter, so the two sides differ.
std::vector<float> PaddedRiff(int64_t frames, int64_t pad, int rate, int side);

struct Difference {
  int64_t compared = 0;   // frames compared
  int64_t differing = 0;  // frames where any channel differs
  int64_t first = -1;     // first differing frame
  double maxAbs = 0.0;    // largest sample difference
  double peak = 0.0;      // largest |sample| of the reference in the range
};

// Compares frames [from, to) of every channel of a and b.
Difference Compare(const Sound& a, const Sound& b, int64_t from, int64_t to);

}  // namespace daw
