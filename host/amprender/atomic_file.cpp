#include "host/amprender/atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace amprender {
namespace {

std::string Folder(const std::string& path) {
  size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

std::string BaseName(const std::string& path) {
  size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

mode_t CurrentUmask() {
  mode_t mask = umask(0);
  umask(mask);
  return mask;
}

}  // namespace

int AtomicFile::Create(std::string* error) {
  Discard();
  struct stat st;
  if (stat(finalPath_.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) {
    *error = "cannot write " + finalPath_ + ": it is a folder";
    return -1;
  }
  std::string pattern = Folder(finalPath_) + "/." + BaseName(finalPath_) + ".XXXXXX";
  std::vector<char> name(pattern.begin(), pattern.end());
  name.push_back('\0');
  int fd = mkstemp(name.data());
  if (fd < 0) {
    *error = "cannot write " + finalPath_ + ": " + std::strerror(errno);
    return -1;
  }
  // mkstemp creates the file private; give it the permissions of a new file.
  fchmod(fd, 0666 & ~CurrentUmask());
  tempPath_ = name.data();
  pending_ = true;
  return fd;
}

bool AtomicFile::Commit(std::string* error) {
  if (!pending_) {
    *error = "internal: nothing to commit for " + finalPath_;
    return false;
  }
  if (std::rename(tempPath_.c_str(), finalPath_.c_str()) != 0) {
    *error = "cannot write " + finalPath_ + ": " + std::strerror(errno);
    Discard();
    return false;
  }
  pending_ = false;
  return true;
}

void AtomicFile::Discard() {
  if (pending_) unlink(tempPath_.c_str());
  pending_ = false;
}

bool WriteFileAtomically(const std::string& path, const std::vector<uint8_t>& bytes,
                         std::string* error) {
  AtomicFile file(path);
  int fd = file.Create(error);
  if (fd < 0) return false;
  size_t done = 0;
  while (done < bytes.size()) {
    ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      *error = "cannot write " + path + ": " + std::strerror(n < 0 ? errno : ENOSPC);
      close(fd);
      return false;
    }
    done += static_cast<size_t>(n);
  }
  // On the disk before the rename, so a crash leaves the old file or the new one.
  const bool synced = fsync(fd) == 0;
  if (close(fd) != 0 || !synced) {
    *error = "cannot write " + path + ": " + std::strerror(errno);
    return false;
  }
  return file.Commit(error);
}

bool ReadWholeFile(const std::string& path, std::vector<uint8_t>* bytes, std::string* error) {
  bytes->clear();
  int fd = path == "-" ? STDIN_FILENO : open(path.c_str(), O_RDONLY);
  const std::string shown = path == "-" ? "standard input" : path;
  if (fd < 0) {
    *error = "cannot read " + shown + ": " + std::strerror(errno);
    return false;
  }
  struct stat st;
  if (fstat(fd, &st) == 0 && S_ISDIR(st.st_mode)) {
    *error = "cannot read " + shown + ": it is a folder";
    if (fd != STDIN_FILENO) close(fd);
    return false;
  }
  uint8_t buffer[65536];
  for (;;) {
    ssize_t n = read(fd, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      *error = "cannot read " + shown + ": " + std::strerror(errno);
      if (fd != STDIN_FILENO) close(fd);
      return false;
    }
    if (n == 0) break;
    bytes->insert(bytes->end(), buffer, buffer + n);
  }
  if (fd != STDIN_FILENO) close(fd);
  return true;
}

}  // namespace amprender
