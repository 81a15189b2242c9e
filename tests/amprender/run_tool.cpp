#include "tests/amprender/run_tool.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <fstream>
#include <iterator>

#include "gtest/gtest.h"

namespace amprender_test {
namespace {

std::string Slurp(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void RemoveTree(const std::string& path) {
  DIR* dir = opendir(path.c_str());
  if (dir) {
    while (dirent* entry = readdir(dir)) {
      std::string name = entry->d_name;
      if (name == "." || name == "..") continue;
      std::string child = path + "/" + name;
      struct stat st;
      if (lstat(child.c_str(), &st) == 0 && S_ISDIR(st.st_mode))
        RemoveTree(child);
      else
        unlink(child.c_str());
    }
    closedir(dir);
  }
  rmdir(path.c_str());
}

}  // namespace

ToolResult RunTool(const ToolRun& run) {
  const std::string outFile = run.workDir + "/../" + "tool.stdout." + std::to_string(getpid());
  const std::string errFile = run.workDir + "/../" + "tool.stderr." + std::to_string(getpid());
  std::vector<std::string> argv = {AMPRENDER_PATH};
  argv.insert(argv.end(), run.args.begin(), run.args.end());
  std::vector<char*> cargs;
  for (auto& a : argv) cargs.push_back(a.data());
  cargs.push_back(nullptr);

  pid_t pid = fork();
  if (pid == 0) {
    if (chdir(run.workDir.c_str()) != 0) _exit(125);
    int in = open(run.stdinFile.empty() ? "/dev/null" : run.stdinFile.c_str(), O_RDONLY);
    int out = open(outFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    int err = open(errFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (in < 0 || out < 0 || err < 0) _exit(125);
    dup2(in, 0);
    dup2(out, 1);
    dup2(err, 2);
    if (run.fileSizeLimit >= 0) {
      // A full disk, as far as the program can tell: writes past the limit fail.
      signal(SIGXFSZ, SIG_IGN);
      rlimit limit = {static_cast<rlim_t>(run.fileSizeLimit),
                      static_cast<rlim_t>(run.fileSizeLimit)};
      setrlimit(RLIMIT_FSIZE, &limit);
    }
    execv(cargs[0], cargs.data());
    _exit(126);
  }
  ToolResult r;
  int status = 0;
  if (pid > 0 && waitpid(pid, &status, 0) == pid)
    r.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  r.out = Slurp(outFile);
  r.err = Slurp(errFile);
  unlink(outFile.c_str());
  unlink(errFile.c_str());
  return r;
}

ScratchDir::ScratchDir() {
  std::string pattern = ::testing::TempDir() + "amprender-XXXXXX";
  std::vector<char> name(pattern.begin(), pattern.end());
  name.push_back('\0');
  char* made = mkdtemp(name.data());
  path_ = made ? made : "";
  if (!made) ADD_FAILURE() << "cannot make a scratch folder under " << ::testing::TempDir();
  // The tool's captured output goes beside the folder, so Files() sees only
  // what the tool wrote.
  path_ += "/work";
  mkdir(path_.c_str(), 0755);
}

ScratchDir::~ScratchDir() {
  if (!path_.empty()) RemoveTree(path_.substr(0, path_.size() - 5));
}

std::vector<std::string> ScratchDir::Files() const {
  std::vector<std::string> names;
  DIR* dir = opendir(path_.c_str());
  if (!dir) return names;
  while (dirent* entry = readdir(dir)) {
    std::string name = entry->d_name;
    if (name != "." && name != "..") names.push_back(name);
  }
  closedir(dir);
  std::sort(names.begin(), names.end());
  return names;
}

std::vector<unsigned char> ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<unsigned char>(std::istreambuf_iterator<char>(in),
                                    std::istreambuf_iterator<char>());
}

bool Exists(const std::string& path) {
  struct stat st;
  return stat(path.c_str(), &st) == 0;
}

}  // namespace amprender_test
