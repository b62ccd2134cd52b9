#include "tests/support/socket_io.h"

#include <poll.h>
#include <sys/socket.h>

#include <cerrno>

namespace lexomir::testing {
namespace {

using Clock = std::chrono::steady_clock;

// Milliseconds left for poll(); -1 for no time-out.
int remaining_ms(std::chrono::milliseconds timeout, Clock::time_point start) {
  if (timeout.count() < 0) return -1;
  auto left = timeout - std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start);
  return left.count() > 0 ? static_cast<int>(left.count()) : 0;
}

// Waits until fd is ready for `events` or the stop descriptor fires.
IoResult wait_for(int fd, short events, int stop_fd, std::chrono::milliseconds timeout) {
  const auto start = Clock::now();
  for (;;) {
    pollfd fds[2] = {{stop_fd, POLLIN, 0}, {fd, events, 0}};
    const int count = ::poll(fds, fd >= 0 ? 2 : 1, remaining_ms(timeout, start));
    if (count < 0) {
      if (errno == EINTR) continue;
      return IoResult::closed;
    }
    if (fds[0].revents != 0) return IoResult::stopped;
    if (count == 0) return IoResult::timed_out;
    return IoResult::ok;
  }
}

}  // namespace

IoResult receive_some(int fd, int stop_fd, std::string& buffer, std::chrono::milliseconds timeout) {
  const auto start = Clock::now();
  for (;;) {
    const auto left = timeout.count() < 0 ? timeout : std::chrono::milliseconds(remaining_ms(timeout, start));
    const IoResult ready = wait_for(fd, POLLIN, stop_fd, left);
    if (ready != IoResult::ok) return ready;
    char chunk[16384];
    const ssize_t got = ::recv(fd, chunk, sizeof chunk, 0);
    if (got > 0) {
      buffer.append(chunk, static_cast<std::size_t>(got));
      return IoResult::ok;
    }
    if (got == 0) return IoResult::closed;
    if (errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR) return IoResult::closed;
  }
}

IoResult send_all(int fd, int stop_fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const IoResult ready = wait_for(fd, POLLOUT, stop_fd, std::chrono::milliseconds(-1));
    if (ready != IoResult::ok) return ready;
    const ssize_t sent = ::send(fd, bytes.data(), bytes.size(), MSG_NOSIGNAL);
    if (sent > 0) {
      bytes.remove_prefix(static_cast<std::size_t>(sent));
    } else if (sent < 0 && errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR) {
      return IoResult::closed;
    }
  }
  return IoResult::ok;
}

IoResult pause(int stop_fd, std::chrono::milliseconds duration) {
  return wait_for(-1, 0, stop_fd, duration) == IoResult::timed_out ? IoResult::ok : IoResult::stopped;
}

}  // namespace lexomir::testing
