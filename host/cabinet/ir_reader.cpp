// Reading impulse responses through libsndfile, from a file or from bytes in
// memory, with every check a cabinet needs before it is used.
#include <sndfile.h>
#include <sys/stat.h>

#include <cerrno>
#include <cmath>
#include <cstring>

#include "host/cabinet/cabinet.h"

namespace cabinet {
namespace {

constexpr int kMinRate = 8000;
constexpr int kMaxRate = 768000;

// Takes the frames of an opened file, checks them and fills *out. Closes sf.
bool ReadOpened(SNDFILE* sf, const SF_INFO& info, const std::string& name, ImpulseResponse* out,
                std::string* error) {
  auto refuse = [&](const std::string& why) {
    sf_close(sf);
    *error = "impulse response " + name + ": " + why;
    return false;
  };
  if (info.channels < 1 || info.channels > 2)
    return refuse("has " + std::to_string(info.channels) +
                  " channels; a cabinet IR is mono or stereo");
  if (info.samplerate < kMinRate || info.samplerate > kMaxRate)
    return refuse("sample rate " + std::to_string(info.samplerate) + " Hz is outside " +
                  std::to_string(kMinRate) + ".." + std::to_string(kMaxRate) + " Hz");
  if (info.frames <= 0) return refuse("is empty (no samples)");
  const double seconds = static_cast<double>(info.frames) / info.samplerate;
  if (seconds > kMaxSeconds) {
    char text[96];
    std::snprintf(text, sizeof text, "is %.1f s long; an IR longer than %.0f s is refused", seconds,
                  kMaxSeconds);
    return refuse(text);
  }

  std::vector<float> interleaved(static_cast<size_t>(info.frames) * info.channels);
  const sf_count_t got = sf_readf_float(sf, interleaved.data(), info.frames);
  if (got <= 0) return refuse("cannot be read: " + std::string(sf_strerror(sf)));
  sf_close(sf);

  ImpulseResponse ir;
  ir.sampleRate = info.samplerate;
  ir.source = name;
  ir.channels.assign(info.channels, std::vector<float>(static_cast<size_t>(got)));
  float peak = 0.0f;
  for (sf_count_t n = 0; n < got; ++n) {
    for (int c = 0; c < info.channels; ++c) {
      const float v = interleaved[static_cast<size_t>(n) * info.channels + c];
      if (!std::isfinite(v)) {
        *error = "impulse response " + name + ": sample " + std::to_string(n) +
                 " is not a finite number";
        return false;
      }
      peak = std::max(peak, std::fabs(v));
      ir.channels[c][static_cast<size_t>(n)] = v;
    }
  }
  if (peak == 0.0f) {
    *error = "impulse response " + name + ": is silent (every sample is zero)";
    return false;
  }
  *out = std::move(ir);
  return true;
}

// libsndfile's virtual I/O over a read-only buffer.
struct MemoryFile {
  const unsigned char* data;
  sf_count_t size;
  sf_count_t pos;
};

sf_count_t MemLength(void* user) { return static_cast<MemoryFile*>(user)->size; }
sf_count_t MemSeek(sf_count_t offset, int whence, void* user) {
  auto* m = static_cast<MemoryFile*>(user);
  sf_count_t to = offset;
  if (whence == SEEK_CUR) to += m->pos;
  if (whence == SEEK_END) to += m->size;
  if (to < 0 || to > m->size) return -1;
  m->pos = to;
  return to;
}
sf_count_t MemRead(void* ptr, sf_count_t count, void* user) {
  auto* m = static_cast<MemoryFile*>(user);
  const sf_count_t n = std::max<sf_count_t>(0, std::min(count, m->size - m->pos));
  if (n > 0) std::memcpy(ptr, m->data + m->pos, static_cast<size_t>(n));
  m->pos += n;
  return n;
}
sf_count_t MemWrite(const void*, sf_count_t, void*) { return 0; }
sf_count_t MemTell(void* user) { return static_cast<MemoryFile*>(user)->pos; }

}  // namespace

bool ReadImpulseFile(const std::string& path, ImpulseResponse* out, std::string* error) {
  struct stat st;
  if (stat(path.c_str(), &st) != 0) {
    *error = "impulse response " + path + ": " +
             (errno == ENOENT ? std::string("no such file") : std::strerror(errno));
    return false;
  }
  if (S_ISDIR(st.st_mode)) {
    *error = "impulse response " + path + ": is a folder, not a sound file";
    return false;
  }
  SF_INFO info{};
  SNDFILE* sf = sf_open(path.c_str(), SFM_READ, &info);
  if (!sf) {
    *error = "impulse response " + path + ": cannot be read as a sound file (" +
             sf_strerror(nullptr) + ")";
    return false;
  }
  return ReadOpened(sf, info, path, out, error);
}

bool ReadImpulseBytes(const void* data, size_t size, const std::string& name, ImpulseResponse* out,
                      std::string* error) {
  MemoryFile file{static_cast<const unsigned char*>(data), static_cast<sf_count_t>(size), 0};
  SF_VIRTUAL_IO io{MemLength, MemSeek, MemRead, MemWrite, MemTell};
  SF_INFO info{};
  SNDFILE* sf = sf_open_virtual(&io, SFM_READ, &info, &file);
  if (!sf) {
    *error = "impulse response " + name + ": cannot be read as a sound file (" +
             sf_strerror(nullptr) + ")";
    return false;
  }
  return ReadOpened(sf, info, name, out, error);
}

}  // namespace cabinet
