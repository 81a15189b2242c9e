// Bringing an IR to the session: resampling (libsamplerate) and the loudness
// rule (the mean power gain over 200 Hz..5 kHz, measured with FFTW).
#include <fftw3.h>
#include <samplerate.h>

#include <cmath>
#include <complex>

#include "host/cabinet/cabinet.h"
#include "host/cabinet/fftw_lock.h"

namespace cabinet {
namespace {

// Below this band power gain (-100 dB) an IR has nothing where a guitar
// speaker works; scaling it up would only amplify noise.
constexpr double kSilentBandGain = 1e-10;

}  // namespace

ImpulseResponse Resample(const ImpulseResponse& ir, int rate) {
  if (ir.sampleRate == rate) return ir;
  ImpulseResponse r;
  r.sampleRate = rate;
  r.source = ir.source;
  const double ratio = static_cast<double>(rate) / ir.sampleRate;
  // The converter's filter spreads the last samples a little past the end.
  const size_t inFrames = ir.frames() + 64;
  const size_t outFrames = static_cast<size_t>(std::ceil(inFrames * ratio)) + 1;
  for (const std::vector<float>& ch : ir.channels) {
    std::vector<float> in(ch);
    in.resize(inFrames, 0.0f);
    std::vector<float> out(outFrames, 0.0f);
    SRC_DATA d{};
    d.data_in = in.data();
    d.data_out = out.data();
    d.input_frames = static_cast<long>(inFrames);
    d.output_frames = static_cast<long>(outFrames);
    d.src_ratio = ratio;
    d.end_of_input = 1;
    // A valid ratio and channel count cannot fail; the output stays silent if it does.
    if (src_simple(&d, SRC_SINC_BEST_QUALITY, 1) == 0)
      out.resize(static_cast<size_t>(d.output_frames_gen));
    r.channels.push_back(std::move(out));
  }
  size_t n = r.channels[0].size();
  for (const auto& ch : r.channels) n = std::min(n, ch.size());
  for (auto& ch : r.channels) ch.resize(std::max<size_t>(n, 1), 0.0f);
  return r;
}

double BandPowerGain(const ImpulseResponse& ir) {
  size_t n = 8192;  // at least 5.9 Hz resolution at 48 kHz
  while (n < ir.frames()) n *= 2;
  std::vector<float> in(n);
  std::vector<std::complex<float>> spectrum(n / 2 + 1);
  fftwf_plan plan;
  {
    std::lock_guard<std::mutex> lock(FftwPlannerLock());
    plan = fftwf_plan_dft_r2c_1d(static_cast<int>(n), in.data(),
                                 reinterpret_cast<fftwf_complex*>(spectrum.data()), FFTW_ESTIMATE);
  }
  double sum = 0.0;
  size_t bins = 0;
  for (const std::vector<float>& ch : ir.channels) {
    std::fill(in.begin(), in.end(), 0.0f);
    std::copy(ch.begin(), ch.end(), in.begin());
    fftwf_execute(plan);
    for (size_t k = 0; k < spectrum.size(); ++k) {
      const double f = static_cast<double>(k) * ir.sampleRate / static_cast<double>(n);
      if (f < kLoudnessLowHz || f > kLoudnessHighHz) continue;
      sum += std::norm(std::complex<double>(spectrum[k]));
      ++bins;
    }
  }
  {
    std::lock_guard<std::mutex> lock(FftwPlannerLock());
    fftwf_destroy_plan(plan);
  }
  return bins ? sum / static_cast<double>(bins) : 0.0;
}

bool Normalise(ImpulseResponse* ir, std::string* error) {
  const double gain = BandPowerGain(*ir);
  if (!(gain > kSilentBandGain) || !std::isfinite(gain)) {
    *error = "impulse response " + ir->source +
             ": has (practically) nothing between 200 Hz and 5 kHz and cannot be brought to "
             "the common loudness";
    return false;
  }
  const float scale = static_cast<float>(1.0 / std::sqrt(gain));
  for (auto& ch : ir->channels)
    for (float& v : ch) v *= scale;
  return true;
}

}  // namespace cabinet
