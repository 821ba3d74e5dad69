#ifndef VEKTORLING_SIM_POLLER_H
#define VEKTORLING_SIM_POLLER_H

#include <string>
#include <vector>

#include <sys/epoll.h>
#include <time.h>

// Waits for many descriptors at once (epoll). Each descriptor is registered
// once, with a tag, instead of being handed to the kernel again at every
// wait; a wait costs the same however many are registered and returns the
// tags of the ready ones.
class Poller {
public:
  struct Ready {
    void* tag;
    short events;  // as poll() reports them: POLLIN, POLLOUT, POLLHUP, POLLERR
  };

  Poller() = default;
  ~Poller();
  Poller(const Poller&) = delete;
  Poller& operator=(const Poller&) = delete;

  // False with one line in *error when the kernel refuses.
  bool Open(std::string* error);
  // Watches fd for input, and for room to write when `output` is set.
  bool Add(int fd, void* tag, bool output);
  bool Change(int fd, void* tag, bool output);
  // Before the descriptor is closed.
  void Remove(int fd);
  // Waits until a descriptor is ready or the timeout has passed (nullptr:
  // no timeout) and puts the ready ones into *ready. -1 with errno on failure.
  int Wait(const timespec* timeout, std::vector<Ready>* ready);

private:
  bool Control(int operation, int fd, void* tag, bool output);

  int fd_ = -1;
  bool fine_timeouts_ = true;  // epoll_pwait2 is there (Linux 5.11 and later)
  std::vector<epoll_event> events_ = std::vector<epoll_event>(64);
};

#endif
