#include "host/amprender/audio_io.h"

#include <unistd.h>

#include <algorithm>
#include <cstring>

namespace amprender {

MemorySource::MemorySource(std::vector<float> interleaved, int channels, int sampleRate)
    : data_(std::move(interleaved)), channels_(channels), rate_(sampleRate) {}

int64_t MemorySource::Read(float* interleaved, int64_t frames, std::string*) {
  size_t want = static_cast<size_t>(frames) * channels_;
  size_t n = std::min(want, data_.size() - position_);
  std::copy(data_.begin() + position_, data_.begin() + position_ + n, interleaved);
  position_ += n;
  return static_cast<int64_t>(n) / channels_;
}

bool MemorySink::Write(const float* interleaved, int64_t frames, std::string*) {
  samples_.insert(samples_.end(), interleaved, interleaved + frames * channels_);
  return true;
}

namespace {

// Standard input is read whole into memory and handed to libsndfile through
// its virtual I/O, so a pipe works for every format it reads.
struct MemoryFile {
  std::vector<uint8_t> bytes;
  sf_count_t position = 0;
};

sf_count_t MemLength(void* user) {
  return static_cast<sf_count_t>(static_cast<MemoryFile*>(user)->bytes.size());
}
sf_count_t MemSeek(sf_count_t offset, int whence, void* user) {
  auto* m = static_cast<MemoryFile*>(user);
  sf_count_t base = whence == SEEK_CUR   ? m->position
                    : whence == SEEK_END ? static_cast<sf_count_t>(m->bytes.size())
                                         : 0;
  m->position = std::clamp<sf_count_t>(base + offset, 0, m->bytes.size());
  return m->position;
}
sf_count_t MemRead(void* ptr, sf_count_t count, void* user) {
  auto* m = static_cast<MemoryFile*>(user);
  sf_count_t n = std::min<sf_count_t>(count, m->bytes.size() - m->position);
  std::memcpy(ptr, m->bytes.data() + m->position, static_cast<size_t>(n));
  m->position += n;
  return n;
}
sf_count_t MemWrite(const void*, sf_count_t, void*) { return 0; }
sf_count_t MemTell(void* user) { return static_cast<MemoryFile*>(user)->position; }

class SndfileSource : public AudioSource {
 public:
  SndfileSource(SNDFILE* sf, SF_INFO info, std::unique_ptr<MemoryFile> memory)
      : sf_(sf), info_(info), memory_(std::move(memory)) {}
  ~SndfileSource() override { sf_close(sf_); }
  int channels() const override { return info_.channels; }
  int sampleRate() const override { return info_.samplerate; }
  int64_t frames() const override { return info_.frames; }
  int64_t Read(float* interleaved, int64_t frames, std::string* error) override {
    sf_count_t n = sf_readf_float(sf_, interleaved, frames);
    if (n < frames && sf_error(sf_) != SF_ERR_NO_ERROR) {
      *error = std::string("reading the input failed: ") + sf_strerror(sf_);
      return -1;
    }
    return n;
  }

 private:
  SNDFILE* sf_;
  SF_INFO info_;
  std::unique_ptr<MemoryFile> memory_;  // backs standard input; outlives sf_
};

}  // namespace

std::unique_ptr<AudioSource> OpenSoundFile(const std::string& path, std::string* error) {
  SF_INFO info;
  std::memset(&info, 0, sizeof info);
  SNDFILE* sf = nullptr;
  std::unique_ptr<MemoryFile> memory;
  const std::string shown = path == "-" ? "standard input" : path;
  if (path == "-") {
    memory = std::make_unique<MemoryFile>();
    if (!ReadWholeFile("-", &memory->bytes, error)) return nullptr;
    static SF_VIRTUAL_IO io = {MemLength, MemSeek, MemRead, MemWrite, MemTell};
    sf = sf_open_virtual(&io, SFM_READ, &info, memory.get());
  } else {
    if (access(path.c_str(), R_OK) != 0) {
      *error = "cannot read " + shown + ": " + std::strerror(errno);
      return nullptr;
    }
    sf = sf_open(path.c_str(), SFM_READ, &info);
  }
  if (!sf) {
    *error = "cannot read " + shown + ": " + sf_strerror(nullptr);
    return nullptr;
  }
  if (info.channels < 1 || info.channels > 2) {
    *error = shown + " has " + std::to_string(info.channels) +
             " channels; amprender takes mono or stereo";
    sf_close(sf);
    return nullptr;
  }
  if (info.samplerate < 1000 || info.samplerate > 768000) {
    *error = shown + " has an unusable sample rate of " + std::to_string(info.samplerate) + " Hz";
    sf_close(sf);
    return nullptr;
  }
  return std::make_unique<SndfileSource>(sf, info, std::move(memory));
}

WavSink::~WavSink() { Abandon(); }

bool WavSink::Open(int channels, int sampleRate, SampleFormat format, std::string* error) {
  int fd = file_.Create(error);
  if (fd < 0) return false;
  SF_INFO info;
  std::memset(&info, 0, sizeof info);
  info.channels = channels;
  info.samplerate = sampleRate;
  info.format =
      SF_FORMAT_WAV | (format == SampleFormat::kPcm24 ? SF_FORMAT_PCM_24 : SF_FORMAT_FLOAT);
  sf_ = sf_open_fd(fd, SFM_WRITE, &info, SF_TRUE);
  if (!sf_) {
    *error = "cannot write " + file_.finalPath() + ": " + sf_strerror(nullptr);
    close(fd);
    file_.Discard();
    return false;
  }
  // The PEAK chunk carries the time of writing; without it the same render
  // gives the same bytes.
  sf_command(sf_, SFC_SET_ADD_PEAK_CHUNK, nullptr, SF_FALSE);
  sf_command(sf_, SFC_SET_CLIPPING, nullptr, SF_TRUE);
  return true;
}

bool WavSink::Write(const float* interleaved, int64_t frames, std::string* error) {
  if (!sf_) return false;
  sf_count_t n = sf_writef_float(sf_, interleaved, frames);
  if (n != frames) {
    *error = "cannot write " + file_.finalPath() + ": " + sf_strerror(sf_);
    return false;
  }
  return true;
}

bool WavSink::Finish(std::string* error) {
  if (!sf_) return false;
  sf_write_sync(sf_);
  int status = sf_error(sf_);
  std::string reason = status != SF_ERR_NO_ERROR ? sf_strerror(sf_) : "";
  int closed = sf_close(sf_);
  sf_ = nullptr;
  if (status != SF_ERR_NO_ERROR || closed != 0) {
    if (reason.empty()) reason = sf_error_number(closed);
    *error = "cannot write " + file_.finalPath() + ": " + reason;
    file_.Discard();
    return false;
  }
  return true;
}

void WavSink::Abandon() {
  if (sf_) sf_close(sf_);
  sf_ = nullptr;
  file_.Discard();
}

}  // namespace amprender
