#include "xvfb_server.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <vector>

extern char** environ;

namespace testing_x11 {

bool OnPath(const char* program) {
  const char* path = std::getenv("PATH");
  std::string dirs = path != nullptr ? path : "/usr/bin:/bin";
  size_t begin = 0;
  while (begin <= dirs.size()) {
    const size_t end = std::min(dirs.find(':', begin), dirs.size());
    const std::string candidate = dirs.substr(begin, end - begin) + "/" + program;
    if (access(candidate.c_str(), X_OK) == 0) return true;
    begin = end + 1;
  }
  return false;
}

std::unique_ptr<XvfbServer> XvfbServer::Start() {
  if (!OnPath("Xvfb")) return nullptr;
  int fds[2];
  if (pipe(fds) != 0) return nullptr;
  fcntl(fds[0], F_SETFD, FD_CLOEXEC);  // the write end stays open in Xvfb

  std::string fd_text = std::to_string(fds[1]);
  // -terminate: the server ends when its last client goes, so a test process
  // that dies leaves no server behind.
  std::vector<std::string> args = {"Xvfb",       "-displayfd", fd_text, "-screen",   "0",
                                   "640x480x24", "-nolisten",  "tcp",   "-terminate"};
  std::vector<char*> argv;
  for (auto& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
  pid_t pid = 0;
  const int spawned = posix_spawnp(&pid, "Xvfb", &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  close(fds[1]);
  if (spawned != 0) {
    close(fds[0]);
    return nullptr;
  }
  // Xvfb writes the display number and a newline once it accepts clients.
  std::string number;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (std::chrono::steady_clock::now() < deadline) {
    pollfd p{fds[0], POLLIN, 0};
    if (poll(&p, 1, 100) <= 0) continue;
    char c;
    if (read(fds[0], &c, 1) != 1) break;
    if (c == '\n') break;
    number += c;
  }
  close(fds[0]);
  if (number.empty()) {
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
    return nullptr;
  }
  return std::unique_ptr<XvfbServer>(new XvfbServer(pid, ":" + number));
}

void XvfbServer::Kill() {
  if (pid_ == 0) return;
  kill(pid_, SIGKILL);
  waitpid(pid_, nullptr, 0);
  pid_ = 0;
}

XvfbServer::~XvfbServer() {
  if (pid_ == 0) return;
  kill(pid_, SIGTERM);
  int status = 0;
  for (int i = 0; i < 50; ++i) {
    if (waitpid(pid_, &status, WNOHANG) == pid_) return;
    usleep(20000);
  }
  kill(pid_, SIGKILL);
  waitpid(pid_, &status, 0);
}

}  // namespace testing_x11
