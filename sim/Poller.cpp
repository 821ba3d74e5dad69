#include "Poller.h"

#include <cerrno>
#include <cstring>

#include <poll.h>
#include <unistd.h>

Poller::~Poller() {
  if (fd_ >= 0) close(fd_);
}

bool Poller::Open(std::string* error) {
  fd_ = epoll_create1(EPOLL_CLOEXEC);
  if (fd_ < 0) {
    *error = std::string("cannot create an epoll set: ") + std::strerror(errno);
    return false;
  }
  return true;
}

bool Poller::Control(int operation, int fd, void* tag, bool output) {
  epoll_event event{};
  event.events = EPOLLIN;
  if (output) event.events |= EPOLLOUT;
  event.data.ptr = tag;
  return epoll_ctl(fd_, operation, fd, &event) == 0;
}

bool Poller::Add(int fd, void* tag, bool output) { return Control(EPOLL_CTL_ADD, fd, tag, output); }

bool Poller::Change(int fd, void* tag, bool output) { return Control(EPOLL_CTL_MOD, fd, tag, output); }

void Poller::Remove(int fd) {
  if (fd >= 0) epoll_ctl(fd_, EPOLL_CTL_DEL, fd, nullptr);
}

int Poller::Wait(const timespec* timeout, std::vector<Ready>* ready) {
  ready->clear();
  const int capacity = static_cast<int>(events_.size());
  int n = -1;
  if (fine_timeouts_) {
    n = epoll_pwait2(fd_, events_.data(), capacity, timeout, nullptr);
    if (n < 0 && errno == ENOSYS) fine_timeouts_ = false;
  }
  if (!fine_timeouts_) {
    // Whole milliseconds, rounded up so that a deadline is never run early.
    int ms = -1;
    if (timeout != nullptr) {
      const long long total = static_cast<long long>(timeout->tv_sec) * 1000 + (timeout->tv_nsec + 999999) / 1000000;
      ms = total > 1000000000 ? 1000000000 : static_cast<int>(total);
    }
    n = epoll_wait(fd_, events_.data(), capacity, ms);
  }
  for (int i = 0; i < n; ++i) {
    const unsigned e = events_[i].events;
    short events = 0;
    if (e & EPOLLIN) events |= POLLIN;
    if (e & EPOLLOUT) events |= POLLOUT;
    if (e & EPOLLHUP) events |= POLLHUP;
    if (e & EPOLLERR) events |= POLLERR;
    ready->push_back({events_[i].data.ptr, events});
  }
  return n;
}
