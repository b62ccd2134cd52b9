#include "tests/support/request_reader.h"

#include <cstdlib>
#include <string_view>

#include "tests/support/socket_io.h"

namespace lexomir::testing {
namespace {

// Far beyond anything a test sends; it only keeps a runaway client from eating the memory.
constexpr std::size_t kMaxRequestBytes = 64u << 20;

std::string trim(std::string_view text) {
  const auto first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  const auto last = text.find_last_not_of(" \t");
  return std::string(text.substr(first, last - first + 1));
}

bool equals_ignoring_case(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

// Makes sure buffer holds at least `size` bytes; false when the client left or the server stopped.
bool fill_to(int fd, int stop_fd, std::string& buffer, std::size_t size) {
  while (buffer.size() < size) {
    if (buffer.size() > kMaxRequestBytes) return false;
    if (receive_some(fd, stop_fd, buffer) != IoResult::ok) return false;
  }
  return true;
}

// Makes sure buffer holds `needle` at or after `from`; its position, or npos when it never came.
std::size_t fill_until(int fd, int stop_fd, std::string& buffer, std::size_t from, std::string_view needle) {
  for (;;) {
    const auto found = buffer.find(needle, from);
    if (found != std::string::npos) return found;
    if (buffer.size() > kMaxRequestBytes) return std::string::npos;
    if (receive_some(fd, stop_fd, buffer) != IoResult::ok) return std::string::npos;
  }
}

// Decodes a chunked body that starts at `start`; sets `end` past its last byte (trailers included).
std::optional<std::string> read_chunked(int fd, int stop_fd, std::string& buffer, std::size_t start,
                                        std::size_t& end) {
  std::string body;
  std::size_t at = start;
  for (;;) {
    const auto line_end = fill_until(fd, stop_fd, buffer, at, "\r\n");
    if (line_end == std::string::npos) return std::nullopt;
    const std::string size_text = buffer.substr(at, line_end - at);
    char* parsed_end = nullptr;
    const unsigned long long size = std::strtoull(size_text.c_str(), &parsed_end, 16);
    if (parsed_end == size_text.c_str() || size > kMaxRequestBytes) return std::nullopt;
    at = line_end + 2;
    if (size == 0) break;
    if (!fill_to(fd, stop_fd, buffer, at + size + 2)) return std::nullopt;
    body.append(buffer, at, size);
    at += size + 2;
  }
  // Trailer lines, if any, up to the empty line.
  for (;;) {
    const auto line_end = fill_until(fd, stop_fd, buffer, at, "\r\n");
    if (line_end == std::string::npos) return std::nullopt;
    const bool empty_line = line_end == at;
    at = line_end + 2;
    if (empty_line) break;
  }
  end = at;
  return body;
}

}  // namespace

RecordedRequest parse_request_head(const std::string& head) {
  RecordedRequest request;
  request.raw = head;
  std::size_t at = 0;
  bool first = true;
  while (at < head.size()) {
    auto line_end = head.find("\r\n", at);
    if (line_end == std::string::npos) line_end = head.size();
    const std::string_view line(head.data() + at, line_end - at);
    at = line_end + 2;
    if (line.empty()) break;
    if (first) {
      first = false;
      const auto space1 = line.find(' ');
      const auto space2 = space1 == std::string_view::npos ? space1 : line.find(' ', space1 + 1);
      request.method = std::string(line.substr(0, space1));
      if (space1 != std::string_view::npos) {
        request.target = std::string(line.substr(
            space1 + 1, space2 == std::string_view::npos ? std::string_view::npos : space2 - space1 - 1));
      }
      if (space2 != std::string_view::npos) request.version = std::string(line.substr(space2 + 1));
      continue;
    }
    const auto colon = line.find(':');
    if (colon == std::string_view::npos) {
      request.headers.emplace_back(trim(line), std::string());
    } else {
      request.headers.emplace_back(std::string(line.substr(0, colon)), trim(line.substr(colon + 1)));
    }
  }
  return request;
}

std::optional<RecordedRequest> read_request(int fd, int stop_fd) {
  std::string buffer;
  const auto head_end = fill_until(fd, stop_fd, buffer, 0, "\r\n\r\n");
  if (head_end == std::string::npos) return std::nullopt;
  const std::size_t body_start = head_end + 4;
  RecordedRequest request = parse_request_head(buffer.substr(0, body_start));

  const auto expect = request.header("Expect");
  if (expect && equals_ignoring_case(*expect, "100-continue") && buffer.size() == body_start) {
    if (send_all(fd, stop_fd, "HTTP/1.1 100 Continue\r\n\r\n") != IoResult::ok) return std::nullopt;
  }

  std::size_t body_end = body_start;
  const auto encoding = request.header("Transfer-Encoding");
  if (encoding && equals_ignoring_case(*encoding, "chunked")) {
    auto body = read_chunked(fd, stop_fd, buffer, body_start, body_end);
    if (!body) return std::nullopt;
    request.body = std::move(*body);
  } else if (const auto length = request.header("Content-Length")) {
    const unsigned long long size = std::strtoull(length->c_str(), nullptr, 10);
    if (size > kMaxRequestBytes) return std::nullopt;
    body_end = body_start + size;
    if (!fill_to(fd, stop_fd, buffer, body_end)) return std::nullopt;
    request.body = buffer.substr(body_start, size);
  }
  // Whatever came after this request on the connection belongs to a later one, which a closing
  // server never reads.
  request.raw = buffer.substr(0, body_end);
  request.raw_body_size = body_end - body_start;
  return request;
}

}  // namespace lexomir::testing
