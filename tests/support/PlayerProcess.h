#ifndef VEKTORLING_TESTS_SUPPORT_PLAYERPROCESS_H
#define VEKTORLING_TESTS_SUPPORT_PLAYERPROCESS_H

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <csignal>
#include <string>
#include <vector>

#include "Framing.h"

// Runs the player program with the arguments and returns its exit status,
// or -1 when it did not end by itself within 5 s (it is then killed).
// output receives its standard output and error; pid its process id.
inline int RunPlayer(std::vector<std::string> args, std::string& output, std::atomic<pid_t>& pid) {
  args.insert(args.begin(), std::string(VEKTORLING_BINARY_DIR) + "/vektorling");
  // Prepared before fork: a server thread may be running, so the child may
  // only make async-signal-safe calls.
  std::vector<char*> argv;
  for (std::string& a : args) argv.push_back(&a[0]);
  argv.push_back(nullptr);
  int out[2];
  if (::pipe2(out, O_CLOEXEC) != 0 || (pid = ::fork()) < 0) return -1;
  if (pid == 0) {
    ::dup2(out[1], STDOUT_FILENO);
    ::dup2(out[1], STDERR_FILENO);
    ::execv(argv[0], argv.data());
    ::_exit(127);
  }
  ::close(out[1]);
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
