#include "tests/daw/daw_audio.h"

#include <sndfile.h>

#include <algorithm>
#include <cmath>

#include "host/amprender/di_riff.h"

namespace daw {

bool ReadSound(const std::string& path, Sound* sound, std::string* error) {
  SF_INFO info{};
  SNDFILE* f = sf_open(path.c_str(), SFM_READ, &info);
  if (!f) {
    *error = "cannot read " + path + ": " + sf_strerror(nullptr);
    return false;
  }
  sound->channels = info.channels;
  sound->rate = info.samplerate;
  sound->format = info.format;
  sound->frames.assign(static_cast<size_t>(info.frames) * info.channels, 0.0f);
  const sf_count_t got = sf_readf_float(f, sound->frames.data(), info.frames);
  sf_close(f);
  if (got != info.frames) {
    *error = "short read from " + path;
    return false;
  }
  return true;
}

bool ReplaceMono(const std::string& path, const std::vector<float>& samples, std::string* error) {
  SF_INFO info{};
  SNDFILE* f = sf_open(path.c_str(), SFM_READ, &info);
  if (!f) {
    *error = "cannot read " + path + ": " + sf_strerror(nullptr);
    return false;
  }
  sf_close(f);
  if (info.channels != 1 || info.frames != static_cast<sf_count_t>(samples.size())) {
    *error = path + " is not a mono file of " + std::to_string(samples.size()) + " frames";
    return false;
  }
  SF_INFO out{};
  out.samplerate = info.samplerate;
  out.channels = 1;
  out.format = info.format;
  f = sf_open(path.c_str(), SFM_WRITE, &out);
  if (!f) {
    *error = "cannot rewrite " + path + ": " + sf_strerror(nullptr);
    return false;
  }
  const sf_count_t put = sf_writef_float(f, samples.data(), info.frames);
  sf_close(f);
  if (put != info.frames) {
    *error = "short write to " + path;
    return false;
  }
  return true;
}

bool WriteStereoFloat(const std::string& path, const std::vector<float>& left,
                      const std::vector<float>& right, int rate, std::string* error) {
  SF_INFO info{};
  info.samplerate = rate;
  info.channels = 2;
  info.format = SF_FORMAT_WAV | SF_FORMAT_FLOAT;
  SNDFILE* f = sf_open(path.c_str(), SFM_WRITE, &info);
  if (!f) {
    *error = "cannot write " + path + ": " + sf_strerror(nullptr);
    return false;
  }
  std::vector<float> frames;
  for (size_t i = 0; i < left.size(); ++i) {
    frames.push_back(left[i]);
    frames.push_back(right[i]);
  }
  const sf_count_t put = sf_writef_float(f, frames.data(), static_cast<sf_count_t>(left.size()));
  sf_close(f);
  if (put != static_cast<sf_count_t>(left.size())) {
    *error = "short write to " + path;
    return false;
  }
  return true;
}

std::vector<float> PaddedRiff(int64_t frames, int64_t pad, int rate, int side) {
  const std::vector<float> riff = amprender::SynthesizeDiRiff(rate);
  std::vector<float> out(static_cast<size_t>(std::max<int64_t>(frames, 0)), 0.0f);
  const int64_t delay = side == 0 ? 0 : rate / 8;
  const float gain = side == 0 ? 1.0f : 0.7f;
  const int64_t body = std::min<int64_t>(frames - 2 * pad - delay, riff.size());
  for (int64_t t = 0; t < body; ++t)
    out[static_cast<size_t>(pad + delay + t)] = gain * riff[static_cast<size_t>(t)];
  return out;
}

Difference Compare(const Sound& a, const Sound& b, int64_t from, int64_t to) {
  Difference d;
  const int channels = std::min(a.channels, b.channels);
  to = std::min({to, a.length(), b.length()});
  for (int64_t t = from; t < to; ++t) {
    bool differs = false;
    for (int c = 0; c < channels; ++c) {
      const double x = a.at(t, c), y = b.at(t, c);
      d.peak = std::max(d.peak, std::fabs(x));
      const double diff = std::fabs(x - y);
      if (diff != 0.0 || std::isnan(x) != std::isnan(y)) differs = true;
      d.maxAbs = std::max(d.maxAbs, diff);
    }
    if (differs) {
      ++d.differing;
      if (d.first < 0) d.first = t;
    }
    ++d.compared;
  }
  return d;
}

}  // namespace daw
