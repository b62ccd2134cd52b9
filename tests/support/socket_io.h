#pragma once
// Socket reads and writes for the loopback server that give up as soon as the server stops, so
// that no connection thread can outlive the server's destructor. The socket is non-blocking and
// the stop descriptor becomes readable once, for good, when the server stops.
#include <chrono>
#include <cstddef>
#include <string>
#include <string_view>

namespace lexomir::testing {

enum class IoResult { ok, closed, stopped, timed_out };

// Appends what arrives to buffer (at least one byte) unless the peer closed, the server stopped,
// or the time-out passed (none when negative).
IoResult receive_some(int fd, int stop_fd, std::string& buffer,
                      std::chrono::milliseconds timeout = std::chrono::milliseconds(-1));

// Sends every byte unless the peer went away or the server stopped.
IoResult send_all(int fd, int stop_fd, std::string_view bytes);

// Sleeps for the duration; stopped when the server stops first.
IoResult pause(int stop_fd, std::chrono::milliseconds duration);

}  // namespace lexomir::testing
