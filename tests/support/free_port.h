#pragma once
// Loopback ports for the test servers.
//
//   int port = lexomir::testing::free_loopback_port();   // 0 when none could be had
//   bool up = lexomir::testing::port_accepts(port);       // something listens on 127.0.0.1:port
//
// A free port is only free at the moment of asking; a child process that binds it later can lose
// the race, so callers that start one retry with a new port when it fails to come up.
#include "tests/support/unique_fd.h"

namespace lexomir::testing {

// A port on 127.0.0.1 that nothing listens on right now.
int free_loopback_port();

// A listening socket on 127.0.0.1 with a port chosen by the system; port receives it.
// Invalid when the socket could not be made.
UniqueFd listen_on_loopback(int& port);

// Whether a TCP connection to 127.0.0.1:port is accepted.
bool port_accepts(int port);

}  // namespace lexomir::testing
