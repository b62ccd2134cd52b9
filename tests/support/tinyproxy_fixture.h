#pragma once
// A real tinyproxy on a free loopback port, for tests of requests that go through an HTTP proxy.
//
//   Tinyproxy proxy;                        // started and accepting connections, or a test failure
//   ASSERT_TRUE(proxy.ok()) << proxy.error();
//   LoopbackServer server;
//   ... a request for server.url("/p") with the proxy text proxy.proxy() ("127.0.0.1:PORT") ...
//   // Read what reached the server, not what the client sent: tinyproxy rewrites the request line
//   // to origin form, adds its own "Via" header and drops hop-by-hop headers.
//
// tinyproxy 1.11 also drops a repeated response header (a second Set-Cookie), so test cookies
// against the server directly. It runs in the foreground as a child process with a config and a log
// in a private temporary folder; the destructor ends it, waits for it and removes the folder.
// When /usr/bin/tinyproxy is missing, or it does not come up, the constructor records a test
// failure that names scripts/install-deps.sh.
#include <sys/types.h>

#include <string>

namespace lexomir::testing {

class Tinyproxy {
 public:
  // extra_config: further config lines, each ending in "\n" (for instance "DisableViaHeader Yes\n").
  explicit Tinyproxy(std::string extra_config = "");
  ~Tinyproxy();
  Tinyproxy(const Tinyproxy&) = delete;
  Tinyproxy& operator=(const Tinyproxy&) = delete;

  bool ok() const { return pid_ > 0 && port_ > 0; }
  const std::string& error() const { return error_; }
  int port() const { return port_; }
  std::string proxy() const { return "127.0.0.1:" + std::to_string(port_); }  // the proxy box's text
  std::string log() const;  // what tinyproxy has written so far, for failure messages

 private:
  bool start_once(const std::string& extra_config);
  void end_child();

  std::string folder_;
  pid_t pid_ = -1;
  int port_ = 0;
  std::string error_;
};

}  // namespace lexomir::testing
