#ifndef VEKTORLING_TESTS_SUPPORT_PLAYERPROCESS_H
#define VEKTORLING_TESTS_SUPPORT_PLAYERPROCESS_H

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <csignal>
#include <string>
#include <utility>
#include <vector>

#include "Framing.h"

// Starts the program of the build (vektorling, vektorling-watch, ...) with
// the arguments in the background; its standard output goes to out_fd and
// its standard error to err_fd when they are not -1. Returns its process id,
// -1 when it could not be started.
inline pid_t StartProgram(const std::string& program, std::vector<std::string> args, int out_fd, int err_fd) {
  args.insert(args.begin(), std::string(VEKTORLING_BINARY_DIR) + "/" + program);
  // Prepared before fork: a server thread may be running, so the child may
  // only make async-signal-safe calls.
  std::vector<char*> argv;
  for (std::string& a : args) argv.push_back(&a[0]);
  argv.push_back(nullptr);
  const pid_t pid = ::fork();
  if (pid == 0) {
    if (out_fd != -1) ::dup2(out_fd, STDOUT_FILENO);
    if (err_fd != -1) ::dup2(err_fd, STDERR_FILENO);
    ::execv(argv[0], argv.data());
    ::_exit(127);
  }
  return pid;
}

// The player program; its standard output and error both go to output_fd.
inline pid_t StartPlayer(std::vector<std::string> args, int output_fd = -1) {
  return StartProgram("vektorling", std::move(args), output_fd, output_fd);
}

// Runs the player program with the arguments and returns its exit status,
// or -1 when it did not end by itself within 5 s (it is then killed).
// output receives its standard output and error; pid its process id.
inline int RunPlayer(std::vector<std::string> args, std::string& output, std::atomic<pid_t>& pid) {
  int out[2];
  if (::pipe2(out, O_CLOEXEC) != 0) return -1;
  pid = StartPlayer(std::move(args), out[1]);
  ::close(out[1]);
  if (pid < 0) {
    ::close(out[0]);
    return -1;
  }
  char buf[4096];
  ssize_t n = -1;
  while (framing::WaitReadable(out[0], 5000) && (n = ::read(out[0], buf, sizeof(buf))) > 0)
    output.append(buf, n);
  ::close(out[0]);
  if (n != 0) ::kill(pid, SIGKILL);
  int status = 0;
  ::waitpid(pid, &status, 0);
  return n == 0 && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

#endif
