// The request and response values of the loopback server.
#include <algorithm>

#include "tests/support/loopback_server.h"

namespace lexomir::testing {
namespace {

bool equals_ignoring_case(std::string_view a, std::string_view b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    return lower(x) == lower(y);
  });
}

bool has_header(const std::vector<std::string>& lines, std::string_view name) {
  return std::any_of(lines.begin(), lines.end(), [&](const std::string& line) {
    const auto colon = line.find(':');
    return colon != std::string::npos && equals_ignoring_case(std::string_view(line).substr(0, colon), name);
  });
}

}  // namespace

std::string RecordedRequest::path() const {
  const auto scheme_end = target.find("://");
  if (target.empty() || target[0] == '/' || scheme_end == std::string::npos) return target;
  const auto path_start = target.find('/', scheme_end + 3);
  return path_start == std::string::npos ? std::string("/") : target.substr(path_start);
}

std::optional<std::string> RecordedRequest::header(std::string_view name) const {
  for (const auto& [key, value] : headers) {
    if (equals_ignoring_case(key, name)) return value;
  }
  return std::nullopt;
}

std::vector<std::string> RecordedRequest::header_values(std::string_view name) const {
  std::vector<std::string> values;
  for (const auto& [key, value] : headers) {
    if (equals_ignoring_case(key, name)) values.push_back(value);
  }
  return values;
}

ScriptedResponse ScriptedResponse::ok(std::string body, std::string content_type) {
  ScriptedResponse response;
  response.headers.push_back("Content-Type: " + content_type);
  response.body = std::move(body);
  return response;
}

ScriptedResponse ScriptedResponse::redirect(std::string location, std::string status_line) {
  ScriptedResponse response;
  response.status_line = std::move(status_line);
  response.headers.push_back("Location: " + location);
  return response;
}

ScriptedResponse ScriptedResponse::hang() {
  ScriptedResponse response;
  response.never_answer = true;
  return response;
}

ScriptedResponse ScriptedResponse::cut_mid_body(std::string body, std::size_t sent) {
  ScriptedResponse response;
  response.body = std::move(body);
  response.cut_body_after = std::min(sent, response.body.size());
  return response;
}

std::string ScriptedResponse::head() const {
  if (raw_head) return *raw_head;
  std::string head = status_line + "\r\n";
  for (const auto& line : headers) head += line + "\r\n";
  if (content_length && !has_header(headers, "Content-Length")) {
    head += "Content-Length: " + std::to_string(body.size()) + "\r\n";
  }
  if (!has_header(headers, "Connection")) head += "Connection: close\r\n";
  head += "\r\n";
  return head;
}

ScriptedResponse& ScriptedResponse::pad_head_to(std::size_t size) {
  headers.push_back("X-Padding: ");
  const std::size_t bare = head().size();
  if (size > bare) headers.back().append(size - bare, 'a');
  return *this;
}

}  // namespace lexomir::testing
