#include "host/amprender/progress.h"

#include <unistd.h>

#include <algorithm>
#include <cmath>

namespace amprender {

ProgressBar::ProgressBar(std::FILE* stream, int64_t totalFrames)
    : stream_(stream), total_(totalFrames), enabled_(isatty(fileno(stream)) != 0) {}

void ProgressBar::Advance(int64_t frames) {
  done_.fetch_add(frames, std::memory_order_relaxed);
  if (!enabled_ || total_ <= 0) return;
  std::lock_guard<std::mutex> lock(mutex_);
  DrawLocked();
}

void ProgressBar::DrawLocked() {
  if (!enabled_ || total_ <= 0) return;
  const int64_t doneFrames = done_.load(std::memory_order_relaxed);
  int permille = static_cast<int>(std::min<int64_t>(1000, doneFrames * 1000 / total_));
  if (permille / 5 == shown_ / 5 && shown_ >= 0) return;
  shown_ = permille;
  constexpr int kWidth = 40;
  int filled = permille * kWidth / 1000;
  std::fprintf(stream_, "\r[%.*s%*s] %3d%%", filled, "########################################",
               kWidth - filled, "", permille / 10);
  std::fflush(stream_);
}

void ProgressBar::Clear() {
  std::lock_guard<std::mutex> lock(mutex_);
  ClearLocked();
}

void ProgressBar::ClearLocked() {
  if (!enabled_ || shown_ < 0) return;
  std::fprintf(stream_, "\r%*s\r", 48, "");
  std::fflush(stream_);
  shown_ = -1;
}

std::string FormatDbfs(double linear) {
  if (!(linear > 0.0)) return "-inf dBFS";
  char text[32];
  std::snprintf(text, sizeof text, "%+.1f dBFS", 20.0 * std::log10(linear));
  return text;
}

double Rms(double sumSquares, int64_t samples) {
  return samples > 0 ? std::sqrt(sumSquares / static_cast<double>(samples)) : 0.0;
}

bool LooksLikeLineLevel(const RenderStats& s) {
  return s.inPeak >= std::pow(10.0, -1.0 / 20.0) &&
         Rms(s.inSumSquares, s.inSamples) >= std::pow(10.0, -18.0 / 20.0);
}

std::string FormatSummary(const RenderStats& s) {
  const double seconds = s.sampleRate > 0 ? static_cast<double>(s.frames) / s.sampleRate : 0.0;
  const int64_t samples = s.frames * s.channels;
  const double rms = samples > 0 ? std::sqrt(s.sumSquares / static_cast<double>(samples)) : 0.0;
  char factor[32];
  if (s.cpuSeconds > 0.0)
    std::snprintf(factor, sizeof factor, "%.1fx", seconds / s.cpuSeconds);
  else
    std::snprintf(factor, sizeof factor, "n/a");
  char line[256];
  std::snprintf(line, sizeof line, "%.2f s rendered in %.3f s CPU (%s real time), peak %s, RMS %s",
                seconds, s.cpuSeconds, factor, FormatDbfs(s.peak).c_str(), FormatDbfs(rms).c_str());
  std::string out = line;
  if (s.inSamples > 0)
    out += " (input peak " + FormatDbfs(s.inPeak) + ", RMS " +
           FormatDbfs(Rms(s.inSumSquares, s.inSamples)) + ")";
  if (s.nonFinite > 0)
    out += "; " + std::to_string(s.nonFinite) + " NaN or infinite samples written as 0";
  return out;
}

}  // namespace amprender
