#pragma once
// Reads one HTTP request off a loopback server connection and splits it into its parts.
#include <optional>
#include <string>

#include "tests/support/loopback_server.h"

namespace lexomir::testing {

// The request line and header lines of a head that ends with the empty line; raw is the head.
RecordedRequest parse_request_head(const std::string& head);

// Reads a whole request: the head, then the body by Content-Length or by chunks. A client that asks
// "Expect: 100-continue" is told to go on first. Nullopt when the client left or the server stopped
// before the request was whole.
std::optional<RecordedRequest> read_request(int fd, int stop_fd);

}  // namespace lexomir::testing
