// The loopback server and the tinyproxy fixture, checked with plain sockets so that a fault in
// them cannot hide behind a fault in the HTTP client they are meant to test.
#include <arpa/inet.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/time.h>

#include <chrono>
#include <string>

#include "tests/support/loopback_server.h"
#include "tests/support/tinyproxy_fixture.h"
#include "tests/support/unique_fd.h"

namespace lexomir::testing {
namespace {

using namespace std::chrono_literals;
using namespace std::string_literals;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::StartsWith;

UniqueFd connect_to(int port) {
  UniqueFd fd(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0));
  timeval timeout{10, 0};  // a broken server fails the test instead of hanging it
  ::setsockopt(fd.get(), SOL_SOCKET, SO_RCVTIMEO, &timeout, sizeof timeout);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = htons(static_cast<uint16_t>(port));
  if (::connect(fd.get(), reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) return {};
  return fd;
}

void send_text(int fd, const std::string& bytes) {
  ASSERT_EQ(::send(fd, bytes.data(), bytes.size(), MSG_NOSIGNAL), static_cast<ssize_t>(bytes.size()));
}

// Every byte the peer sends until it closes the connection.
std::string read_to_end(int fd) {
  std::string received;
  char chunk[4096];
  ssize_t got;
  while ((got = ::recv(fd, chunk, sizeof chunk, 0)) > 0)
    received.append(chunk, static_cast<std::size_t>(got));
  return received;
}

std::string exchange(int port, const std::string& request) {
  UniqueFd fd = connect_to(port);
  if (!fd.valid()) return "(no connection)";
  send_text(fd.get(), request);
  return read_to_end(fd.get());
}

TEST(LoopbackServer, RecordsEachRequestByteForByteAndAnswersByPath) {
  LoopbackServer server;
  ASSERT_TRUE(server.ok());
  server.route("/search?word=%C4%E3", ScriptedResponse::ok("exact"));
  server.route_prefix("/question/", ScriptedResponse::ok("question"));
  server.route_prefix("/question/special", ScriptedResponse::ok("longer prefix"));

  const std::string get = "GET /search?word=%C4%E3 HTTP/1.0\r\nUser-Agent: probe\r\nAccept: */*\r\n\r\n";
  EXPECT_THAT(exchange(server.port(), get), StartsWith("HTTP/1.1 200 OK\r\n"));
  const std::string post = "POST /question/1.html HTTP/1.1\r\nHost: h\r\nContent-Length: 5\r\n\r\na\0b=c"s;
  EXPECT_THAT(exchange(server.port(), post), HasSubstr("\r\n\r\nquestion"));
  // Absolute form, as a client sends it to a proxy, still routes by its path.
  const std::string absolute =
      "GET http://example.test/question/special HTTP/1.1\r\nHost: example.test\r\n\r\n";
  EXPECT_THAT(exchange(server.port(), absolute), HasSubstr("\r\n\r\nlonger prefix"));
  const std::string chunked =
      "POST /other HTTP/1.1\r\nTransfer-Encoding: chunked\r\n\r\n3\r\nabc\r\n2\r\nde\r\n0\r\n\r\n";
  EXPECT_THAT(exchange(server.port(), chunked), StartsWith("HTTP/1.1 404 Not Found\r\n"));

  const auto requests = server.requests();
  ASSERT_EQ(requests.size(), 4u);
  EXPECT_EQ(requests[0].raw, get);
  EXPECT_EQ(requests[0].method, "GET");
  EXPECT_EQ(requests[0].path(), "/search?word=%C4%E3");
  EXPECT_EQ(requests[0].version, "HTTP/1.0");
  EXPECT_EQ(requests[0].header("user-agent"), "probe");
  EXPECT_EQ(requests[0].header("Referer"), std::nullopt);
  EXPECT_EQ(requests[1].raw, post);
  EXPECT_EQ(requests[1].body, "a\0b=c"s);
  EXPECT_EQ(requests[1].head(), post.substr(0, post.size() - 5));
  EXPECT_EQ(requests[2].target, "http://example.test/question/special");
  EXPECT_EQ(requests[2].path(), "/question/special");
  EXPECT_EQ(requests[3].raw, chunked);
  EXPECT_EQ(requests[3].body, "abcde");
  EXPECT_EQ(server.last_request().path(), "/other");
}

// libcurl holds back a large POST body until the server says to go on; without the answer every such
// request would stall for a second.
TEST(LoopbackServer, TellsAClientThatExpectsContinueToSendTheBody) {
  LoopbackServer server;
  UniqueFd fd = connect_to(server.port());
  send_text(fd.get(), "POST /p HTTP/1.1\r\nExpect: 100-continue\r\nContent-Length: 4\r\n\r\n");
  const std::string go_on = "HTTP/1.1 100 Continue\r\n\r\n";
  std::string received(go_on.size(), '\0');
  ASSERT_EQ(::recv(fd.get(), received.data(), received.size(), MSG_WAITALL),
            static_cast<ssize_t>(go_on.size()));
  EXPECT_EQ(received, go_on);
  send_text(fd.get(), "body");
  EXPECT_THAT(read_to_end(fd.get()), StartsWith("HTTP/1.1 404"));
  EXPECT_EQ(server.last_request().body, "body");
}

TEST(LoopbackServer, SendsTheScriptedBytesAsGiven) {
  LoopbackServer server;
  ScriptedResponse cookies = ScriptedResponse::ok("a\0b"s, "text/plain");
  cookies.headers.push_back("Set-Cookie: a=1; path=/");
  cookies.headers.push_back("Set-Cookie: b=2; path=/");
  server.enqueue(cookies);
  ScriptedResponse raw;
  raw.raw_head = "HTTP/1.0 200 OK\r\nX-Odd:no-space\r\n\r\n";
  raw.body = "tail";
  server.enqueue(raw);
  server.enqueue(ScriptedResponse::redirect("/elsewhere"));
  ScriptedResponse big = ScriptedResponse::ok("x");
  big.pad_head_to(2048);
  server.enqueue(big);

  const std::string request = "GET / HTTP/1.1\r\n\r\n";
  EXPECT_EQ(exchange(server.port(), request),
            "HTTP/1.1 200 OK\r\nContent-Type: text/plain\r\nSet-Cookie: a=1; path=/\r\n"
            "Set-Cookie: b=2; path=/\r\nContent-Length: 3\r\nConnection: close\r\n\r\na\0b"s);
  EXPECT_EQ(exchange(server.port(), request), "HTTP/1.0 200 OK\r\nX-Odd:no-space\r\n\r\ntail");
  EXPECT_THAT(exchange(server.port(), request), StartsWith("HTTP/1.1 302 Found\r\nLocation: /elsewhere\r\n"));
  const std::string padded = exchange(server.port(), request);
  EXPECT_EQ(padded.find("\r\n\r\n") + 4, 2048u);
  EXPECT_EQ(padded.size(), 2049u);
  // The queue is used up: the default answers again.
  EXPECT_THAT(exchange(server.port(), request), StartsWith("HTTP/1.1 404"));
}

TEST(LoopbackServer, ClosesMidBodyAfterAnnouncingTheWholeBody) {
  LoopbackServer server;
  server.set_default(ScriptedResponse::cut_mid_body(std::string(10000, 'z'), 3000));
  const std::string received = exchange(server.port(), "GET / HTTP/1.1\r\n\r\n");
  EXPECT_THAT(received, HasSubstr("Content-Length: 10000\r\n"));
  EXPECT_EQ(received.size() - (received.find("\r\n\r\n") + 4), 3000u);
}

TEST(LoopbackServer, DelaysAndHangsWithoutHoldingUpOtherConnections) {
  auto server = std::make_unique<LoopbackServer>();
  server->route("/hang", ScriptedResponse::hang());
  ScriptedResponse slow = ScriptedResponse::ok("slow");
  slow.delay = 300ms;
  server->route("/slow", slow);
  server->set_default(ScriptedResponse::ok("fine"));

  UniqueFd hanging = connect_to(server->port());
  send_text(hanging.get(), "GET /hang HTTP/1.1\r\n\r\n");
  ASSERT_TRUE(server->wait_for_requests(1));

  const auto start = std::chrono::steady_clock::now();
  EXPECT_THAT(exchange(server->port(), "GET /slow HTTP/1.1\r\n\r\n"), HasSubstr("\r\n\r\nslow"));
  EXPECT_GE(std::chrono::steady_clock::now() - start, 300ms);
  EXPECT_THAT(exchange(server->port(), "GET / HTTP/1.1\r\n\r\n"), HasSubstr("\r\n\r\nfine"));

  // A client that gives up frees its held connection.
  hanging.reset();
  EXPECT_TRUE(server->wait_until_no_connections());

  // Stopping does not wait for a held connection or a pending delay.
  UniqueFd held = connect_to(server->port());
  send_text(held.get(), "GET /hang HTTP/1.1\r\n\r\n");
  slow.delay = 1h;
  server->enqueue(slow);
  UniqueFd delayed = connect_to(server->port());
  send_text(delayed.get(), "GET /slow HTTP/1.1\r\n\r\n");
  ASSERT_TRUE(server->wait_for_requests(5));
  const auto stop_start = std::chrono::steady_clock::now();
  server.reset();
  EXPECT_LT(std::chrono::steady_clock::now() - stop_start, 5s);
  EXPECT_EQ(read_to_end(held.get()), "");
}

TEST(TinyproxyFixture, CarriesARequestToTheLoopbackServer) {
  Tinyproxy proxy;
  ASSERT_TRUE(proxy.ok()) << proxy.error();
  LoopbackServer server;
  server.route("/through?x=1", ScriptedResponse::ok("proxied"));

  UniqueFd fd = connect_to(proxy.port());
  ASSERT_TRUE(fd.valid());
  send_text(fd.get(), "GET " + server.url("/through?x=1") + " HTTP/1.1\r\nHost: " + server.host_port() +
                          "\r\nX-Probe: 1\r\n\r\n");
  EXPECT_THAT(read_to_end(fd.get()), HasSubstr("\r\n\r\nproxied"));

  ASSERT_EQ(server.request_count(), 1u);
  const RecordedRequest request = server.last_request();
  EXPECT_THAT(request.raw, StartsWith("GET /through?x=1 HTTP/1.1\r\n"));
  EXPECT_THAT(request.header_values("X-Probe"), ElementsAre("1"));
  EXPECT_THAT(request.header("Via").value_or(""), HasSubstr("tinyproxy"));
}

}  // namespace
}  // namespace lexomir::testing
