#pragma once
// An internet layer that records what the exchange worker passes to it and answers from a script, for the
// tests that are about the worker's own choices (flags, header text, order of calls).
#include <algorithm>
#include <cstring>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "platform/inet/internet.h"

namespace lexomir::testing {

class RecordingInternet final : public platform::Internet {
 public:
  // Script.
  bool fail_open = false;
  bool fail_connect = false;
  bool fail_request = false;
  std::string body;
  std::string raw_headers;  // empty: no response, the query fails

  // Record.
  std::vector<std::string> calls;
  std::string agent;
  std::uint32_t access_type = 99;
  std::string proxy_list;
  std::string host;
  int port = -1;
  std::string method;
  std::string path;
  std::string version;
  std::uint32_t flags = 0;
  std::optional<std::string> sent_headers;
  std::string sent_data;
  std::vector<std::uint32_t> read_sizes;
  std::vector<std::tuple<std::string, std::string, std::string>> cookies_set;

  platform::InternetHandle open(const std::string& a, std::uint32_t type, const std::string& list,
                                const std::string& bypass, std::uint32_t open_flags) override {
    calls.push_back("open");
    agent = a;
    access_type = type;
    proxy_list = list;
    if (!bypass.empty() || open_flags != 0) calls.push_back("open: unexpected bypass or flags");
    return fail_open ? platform::kNoHandle : kSession;
  }
  platform::InternetHandle connect(platform::InternetHandle session, const std::string& h, int p,
                                   const std::string& user, const std::string& password,
                                   std::uint32_t service, std::uint32_t connect_flags,
                                   std::uintptr_t context) override {
    calls.push_back("connect");
    host = h;
    port = p;
    if (session != kSession || !user.empty() || !password.empty() || service != platform::kServiceHttp ||
        connect_flags != 0 || context != 0) {
      calls.push_back("connect: unexpected arguments");
    }
    return fail_connect ? platform::kNoHandle : kConnection;
  }
  platform::InternetHandle open_request(platform::InternetHandle connection, const std::string& m,
                                        const std::string& p, const std::string& v,
                                        const std::string& referrer, std::uint32_t f,
                                        std::uintptr_t context) override {
    calls.push_back("open_request");
    method = m;
    path = p;
    version = v;
    flags = f;
    if (connection != kConnection || !referrer.empty() || context != 0)
      calls.push_back("open_request: unexpected");
    return fail_request ? platform::kNoHandle : kRequest;
  }
  bool send_request(platform::InternetHandle, std::string_view headers, std::string_view data) override {
    calls.push_back("send");
    sent_headers = std::string(headers);
    sent_data = std::string(data);
    return !raw_headers.empty();
  }
  bool read_file(platform::InternetHandle, char* buffer, std::uint32_t size, std::uint32_t& read) override {
    read_sizes.push_back(size);
    read = static_cast<std::uint32_t>(std::min<std::size_t>(size, body.size() - body_position_));
    std::memcpy(buffer, body.data() + body_position_, read);
    body_position_ += read;
    return true;
  }
  bool query_info(platform::InternetHandle, std::uint32_t level, char* buffer,
                  std::uint32_t& length) override {
    calls.push_back("query " + std::to_string(level) + " " + std::to_string(length));
    if (raw_headers.empty() || raw_headers.size() + 1 > length) return false;
    std::memcpy(buffer, raw_headers.c_str(), raw_headers.size() + 1);
    return true;
  }
  bool close_handle(platform::InternetHandle handle) override {
    calls.push_back(handle == kSession      ? "close session"
                    : handle == kConnection ? "close connection"
                                            : "close request");
    return true;
  }
  bool set_cookie(const std::string& url, const std::string& name, const std::string& data) override {
    calls.push_back("set_cookie");
    cookies_set.emplace_back(url, name, data);
    return true;
  }
  void cancel() override { calls.push_back("cancel"); }

  static constexpr platform::InternetHandle kSession = 11;
  static constexpr platform::InternetHandle kConnection = 22;
  static constexpr platform::InternetHandle kRequest = 33;

 private:
  std::size_t body_position_ = 0;
};

}  // namespace lexomir::testing
