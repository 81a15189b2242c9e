#include "tests/daw/tool_runner.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <fstream>
#include <sstream>

namespace daw {
namespace {

std::vector<char*> Pointers(const std::vector<std::string>& strings) {
  std::vector<char*> out;
  for (const std::string& s : strings) out.push_back(const_cast<char*>(s.c_str()));
  out.push_back(nullptr);
  return out;
}

double Now() {
  timespec ts;
  clock_gettime(CLOCK_MONOTONIC, &ts);
  return static_cast<double>(ts.tv_sec) + 1e-9 * static_cast<double>(ts.tv_nsec);
}

}  // namespace

ToolResult RunTool(const std::vector<std::string>& argv, const std::vector<std::string>& env,
                   const std::string& workDir, const std::string& logPath, int timeoutSeconds) {
  ToolResult result;
  std::vector<char*> args = Pointers(argv);
  std::vector<char*> envp = Pointers(env);
  const pid_t pid = fork();
  if (pid < 0) return result;
  if (pid == 0) {
    // The child leads a process group of its own, so a time-out can end the
    // tool together with anything it started; no input, output to the log.
    setpgid(0, 0);
    int log = open(logPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    int null = open("/dev/null", O_RDONLY);
    if (log < 0 || null < 0 || chdir(workDir.c_str()) != 0) _exit(127);
    dup2(null, 0);
    dup2(log, 1);
    dup2(log, 2);
    execve(args[0], args.data(), envp.data());
    _exit(127);
  }
  setpgid(pid, pid);
  const double deadline = Now() + timeoutSeconds;
  int status = 0;
  for (;;) {
    pid_t done = waitpid(pid, &status, WNOHANG);
    if (done == pid) break;
    if (done < 0) return result;
    if (Now() > deadline) {
      result.timedOut = true;
      kill(-pid, SIGKILL);
      waitpid(pid, &status, 0);
      break;
    }
    usleep(20000);
  }
  std::ifstream log(logPath);
  std::stringstream text;
  text << log.rdbuf();
  result.output = text.str();
  if (!result.timedOut && WIFEXITED(status)) result.exitCode = WEXITSTATUS(status);
  if (!result.timedOut && WIFSIGNALED(status)) result.signal = WTERMSIG(status);
  return result;
}

}  // namespace daw
