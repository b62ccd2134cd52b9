#pragma once
// A real HTTP/1.x server on 127.0.0.1 for the tests: it records every request byte for byte and
// answers from a script.
//
//   LoopbackServer server;                                   // listening at once on a free port
//   ASSERT_TRUE(server.ok());
//   server.route("/search?word=%C4%E3", ScriptedResponse::ok("<em>a</em>"));  // path with query
//   server.route_prefix("/question/", ScriptedResponse::ok(page));            // every question page
//   server.set_default(ScriptedResponse::ok(page));          // whatever nothing else answers
//   server.enqueue(ScriptedResponse::hang());                // next request only, before any route
//   fetch(server.url("/search?word=x"));                     // "http://127.0.0.1:PORT/search?word=x"
//   ASSERT_TRUE(server.wait_for_requests(1));
//   EXPECT_EQ(server.last_request().path(), "/search?word=x");
//   EXPECT_EQ(server.last_request().header("User-Agent"), "...");
//   EXPECT_THAT(server.last_request().raw, StartsWith("GET /search?word=x HTTP/1.0\r\n"));
//
// Which response a request gets: the handler, when one is set and returns a response; else the
// next queued response; else the exact route for its path with query; else the longest matching
// prefix route; else the default (404 until set). Routes match the origin-form path, so a request
// in absolute form ("GET http://host/p HTTP/1.1", as a client sends to a proxy) matches "/p" too:
// point a client's proxy setting at host_port() to see the bytes it sends to a proxy, or to serve
// links to any host (such as the question links of a real captured search page) without a name
// lookup. Through the Tinyproxy fixture only 127.0.0.1 URLs work: there is no DNS here.
//
// Other checks the web tests tend to need: a client that gave up a transfer shows as
// wait_until_no_connections(); a header block of an exact size comes from pad_head_to(2048); a
// raw_head sends any bytes at all before the body (a malformed or oversized block).
//
// Every connection has its own thread and is closed after one response ("Connection: close" is
// added unless the script gives a Connection header), so a request that is never answered does not
// hold up the next one. The destructor stops every connection, delays and hangs included, and
// joins every thread.
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <functional>
#include <list>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <utility>
#include <vector>

#include "tests/support/unique_fd.h"

namespace lexomir::testing {

struct RecordedRequest {
  std::string raw;  // exactly as received: request line, header lines, empty line, body
  std::string method;
  std::string target;  // as on the request line
  std::string version;
  std::vector<std::pair<std::string, std::string>> headers;  // in order; values without outer blanks
  std::string body;                                          // decoded when it came chunked, else as received
  std::size_t raw_body_size = 0;  // how many bytes at the end of raw are the body as received

  // The target in origin form: "/p?q" also for "http://host/p?q".
  std::string path() const;
  // The value of the first header line of that name (letter case ignored), or nullopt.
  std::optional<std::string> header(std::string_view name) const;
  // The values of every header line of that name, in order.
  std::vector<std::string> header_values(std::string_view name) const;
  // The raw bytes before the body: request line, header lines and the empty line.
  std::string head() const { return raw.substr(0, raw.size() - raw_body_size); }
};

struct ScriptedResponse {
  std::string status_line = "HTTP/1.1 200 OK";
  // Whole header lines without "\r\n", sent in this order; a name may repeat (several Set-Cookie).
  std::vector<std::string> headers;
  // When set, sent verbatim in place of the status line, the header lines and the empty line.
  std::optional<std::string> raw_head;
  std::string body;  // any bytes, NUL included
  // Adds "Content-Length: <body size>" unless a header line gives one (or raw_head is set).
  bool content_length = true;
  std::chrono::milliseconds delay{0};  // wait before the first byte of the answer
  bool never_answer = false;           // hold the connection until the client leaves or the server stops
  // Send only this many body bytes after a head that announces the whole body, then close.
  std::optional<std::size_t> cut_body_after;

  static ScriptedResponse ok(std::string body, std::string content_type = "text/html");
  // A redirect to location; status_line such as "HTTP/1.1 301 Moved Permanently" for another code.
  static ScriptedResponse redirect(std::string location, std::string status_line = "HTTP/1.1 302 Found");
  static ScriptedResponse hang();
  // The whole body announced, then only the first `sent` bytes of it before the connection closes.
  static ScriptedResponse cut_mid_body(std::string body, std::size_t sent);

  // The bytes sent before the body: raw_head, or the status line, the header lines and the empty line.
  std::string head() const;
  // Adds an "X-Padding" header line so that head() is exactly `size` bytes (or just the line, when
  // the head is longer already): for header blocks of a chosen size, such as 2047 or 2048 bytes.
  // No effect on a raw_head.
  ScriptedResponse& pad_head_to(std::size_t size);
};

class LoopbackServer {
 public:
  using Handler = std::function<std::optional<ScriptedResponse>(const RecordedRequest&)>;

  LoopbackServer();
  ~LoopbackServer();
  LoopbackServer(const LoopbackServer&) = delete;
  LoopbackServer& operator=(const LoopbackServer&) = delete;

  bool ok() const { return listener_.valid(); }
  int port() const { return port_; }
  std::string host_port() const;                       // "127.0.0.1:PORT"
  std::string url(std::string_view path = "/") const;  // "http://127.0.0.1:PORT" + path

  void enqueue(ScriptedResponse response);
  void route(std::string path_with_query, ScriptedResponse response);
  void route_prefix(std::string prefix, ScriptedResponse response);
  void set_default(ScriptedResponse response);
  void set_handler(Handler handler);

  std::vector<RecordedRequest> requests() const;
  std::size_t request_count() const;
  // The last complete request, or an empty one when none came yet.
  RecordedRequest last_request() const;
  // Waits until at least count requests have come in; false at the time-out.
  bool wait_for_requests(std::size_t count,
                         std::chrono::milliseconds timeout = std::chrono::seconds(10)) const;
  void clear_requests();

  int connections_accepted() const;
  int connections_open() const;
  // Waits until no connection is open, for instance after a client gave up a transfer.
  bool wait_until_no_connections(std::chrono::milliseconds timeout = std::chrono::seconds(10)) const;

  // Stops and joins everything; the destructor calls it. Calling it again does nothing.
  void stop();

 private:
  struct Connection {
    std::thread thread;
    std::shared_ptr<std::atomic<bool>> done;
  };

  void accept_loop();
  void serve(UniqueFd client);
  ScriptedResponse choose(const RecordedRequest& request);
  void reap_finished_connections();

  UniqueFd listener_;
  int port_ = 0;
  UniqueFd stop_read_;
  UniqueFd stop_write_;
  std::thread acceptor_;
  std::list<Connection> connections_;  // touched by the acceptor, and by stop() after it has ended
  bool stopped_ = false;

  mutable std::mutex mutex_;
  mutable std::condition_variable changed_;
  std::vector<RecordedRequest> requests_;
  int accepted_ = 0;
  int open_ = 0;
  std::list<ScriptedResponse> queue_;
  std::map<std::string, ScriptedResponse> exact_;
  std::map<std::string, ScriptedResponse> prefixes_;
  ScriptedResponse fallback_;
  Handler handler_;
};

}  // namespace lexomir::testing
