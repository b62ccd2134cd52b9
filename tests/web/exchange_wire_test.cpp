// The exchange worker over the real internet layer against a loopback server: the bytes on the wire,
// direct and through a proxy, cookies, redirects, and what comes back when the answer is odd or missing.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <string>
#include <thread>

#include "platform/inet/cookie_store.h"
#include "tests/support/free_port.h"
#include "tests/support/loopback_server.h"
#include "tests/support/tinyproxy_fixture.h"
#include "tests/web/exchange_request.h"
#include "web/exchange_file.h"
#include "web/exchange_worker.h"

namespace lexomir {
namespace {

using ::testing::ElementsAre;
using testing::LoopbackServer;
using testing::ScriptedResponse;
using namespace std::string_literals;

using Exchange = testing::ExchangeRequest;

RequestRecord run(const Exchange& e) { return testing::exchange(e, *platform::make_internet()); }

Exchange get(std::string url) {
  Exchange e;
  e.url = std::move(url);
  return e;
}

std::vector<std::string> split_cookies(const std::string& line) {
  std::vector<std::string> out;
  for (std::size_t start = 0; start <= line.size();) {
    std::size_t end = line.find("; ", start);
    out.push_back(line.substr(start, end == std::string::npos ? std::string::npos : end - start));
    if (end == std::string::npos) break;
    start = end + 2;
  }
  return out;
}

class ExchangeWire : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(server.ok());
    platform::clear_cookies();
  }
  LoopbackServer server;
};

const std::string kDefaults = "Connection: Keep-Alive\r\nCache-Control: no-cache\r\nPragma: no-cache\r\n";

TEST_F(ExchangeWire, GetGoesOutAsTheWorkerCompletedIt) {
  server.set_default(ScriptedResponse::ok("page"));
  const std::string url = server.url("/p?q=1");
  const RequestRecord out = run(get(url));
  ASSERT_EQ(server.request_count(), 1u);
  EXPECT_EQ(server.last_request().raw, "GET /p?q=1 HTTP/1.1\r\nHost: " + server.host_port() +
                                           "\r\nUser-Agent: " + kDefaultUserAgent + "\r\n" + kDefaults +
                                           kDefaultAcceptLine + "Referer: " + url + "\r\n" +
                                           kDefaultLanguageLine + "\r\n");
  EXPECT_EQ(out[kBodyField].data(), "page");
}

TEST_F(ExchangeWire, PostWithOwnCookiesAndAgent) {
  server.set_default(ScriptedResponse::ok("done"));
  Exchange e = get(server.url("/form"));
  e.method = "POST";
  e.headers = "User-Agent: Tool/1.0\r\n";
  e.data = "a=1&b=2";
  e.cookies = "c=3";
  run(e);
  ASSERT_EQ(server.request_count(), 1u);
  // The caller's User-Agent line takes the place of the session's, which carries the same text.
  EXPECT_EQ(server.last_request().raw, "POST /form HTTP/1.1\r\nHost: " + server.host_port() + "\r\n" +
                                           kDefaults + "User-Agent: Tool/1.0\r\n" + kDefaultAcceptLine +
                                           "Referer: " + e.url + "\r\n" + kDefaultLanguageLine +
                                           kFormContentTypeLine +
                                           "Content-Length: 7\r\nCookie: c=3\r\n\r\na=1&b=2");
}

TEST_F(ExchangeWire, EmptyPostAndHeadersWithoutAcceptLine) {
  server.set_default(ScriptedResponse::ok(""));
  Exchange e = get(server.url("/f"));
  e.method = "POST";
  e.headers = "Accept-Language: en\r\n";
  run(e);
  ASSERT_EQ(server.request_count(), 1u);
  const auto request = server.last_request();
  EXPECT_EQ(request.header("Accept"), std::nullopt) << request.raw;
  EXPECT_EQ(request.header("Content-Length"), std::nullopt) << request.raw;
  EXPECT_EQ(request.header("Content-Type"), std::nullopt) << request.raw;
  EXPECT_EQ(request.header_values("Accept-Language"), std::vector<std::string>{"en"});
  EXPECT_EQ(request.body, "");
}

TEST_F(ExchangeWire, ProxyGetsTheAbsoluteUrlOfAnHttpRequest) {
  server.set_default(ScriptedResponse::ok("via proxy"));
  Exchange e = get("http://example.test:8080/p");
  e.proxy = server.host_port();
  const RequestRecord out = run(e);
  ASSERT_EQ(server.request_count(), 1u);
  EXPECT_EQ(server.last_request().head(),
            "GET http://example.test:8080/p HTTP/1.1\r\nHost: example.test:8080\r\n"
            "User-Agent: " +
                std::string(kDefaultUserAgent) + "\r\n" + kDefaults + kDefaultAcceptLine +
                "Referer: http://example.test:8080/p\r\n" + kDefaultLanguageLine + "\r\n");
  EXPECT_EQ(out[kBodyField].data(), "via proxy");
}

TEST_F(ExchangeWire, ProxyWithoutPortIsOnPort80) {
  // Port 80 needs the right to bind it (CI runs as root); elsewhere there is nothing to listen with.
  const int listener = ::socket(AF_INET, SOCK_STREAM, 0);
  ASSERT_GE(listener, 0);
  const int on = 1;
  ::setsockopt(listener, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(80);
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  if (::bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
      ::listen(listener, 1) != 0) {
    ::close(listener);
    GTEST_SKIP() << "cannot listen on 127.0.0.1:80 here";
  }
  std::string request_line;
  std::thread proxy([&] {
    pollfd waiting{listener, POLLIN, 0};
    if (::poll(&waiting, 1, 10000) != 1) return;  // the request went elsewhere
    const int client = ::accept(listener, nullptr, nullptr);
    if (client < 0) return;
    char buffer[4096];
    const ssize_t n = ::recv(client, buffer, sizeof buffer, 0);
    if (n > 0) {
      const std::string received(buffer, static_cast<std::size_t>(n));
      request_line = received.substr(0, received.find("\r\n"));
    }
    const char answer[] = "HTTP/1.0 200 OK\r\nContent-Length: 2\r\n\r\nok";
    ::send(client, answer, sizeof answer - 1, MSG_NOSIGNAL);
    ::close(client);
  });
  Exchange e = get("http://example.test/p");
  e.proxy = "127.0.0.1";
  const RequestRecord out = run(e);
  proxy.join();
  ::close(listener);
  EXPECT_EQ(request_line, "GET http://example.test/p HTTP/1.1");
  EXPECT_EQ(out[kBodyField].data(), "ok");
}

TEST_F(ExchangeWire, ThroughTinyproxy) {
  testing::Tinyproxy proxy;
  ASSERT_TRUE(proxy.ok()) << proxy.error();
  server.set_default(ScriptedResponse::ok("proxied body"));
  Exchange e = get(server.url("/q"));
  e.proxy = proxy.proxy();
  const RequestRecord out = run(e);
  EXPECT_EQ(out[kBodyField].data(), "proxied body") << proxy.log();
  ASSERT_EQ(server.request_count(), 1u);
  const auto request = server.last_request();
  EXPECT_THAT(request.raw, ::testing::StartsWith("GET /q HTTP/1.1\r\n"));
  EXPECT_EQ(request.header("User-Agent"), std::string(kDefaultUserAgent));
  EXPECT_EQ(request.header("Referer"), e.url);
  EXPECT_EQ(request.header("Accept-Language"), "zh-cn");
  EXPECT_TRUE(request.header("Via").has_value());
  EXPECT_THAT(out[kReturnedHeadersField].data(), ::testing::StartsWith("HTTP/1.1 200 OK\r\n"));
}

TEST_F(ExchangeWire, CookiesComeBackAndAreSentAgainUnlessTheRequestHasItsOwn) {
  ScriptedResponse setting = ScriptedResponse::ok("set");
  setting.headers = {"Set-Cookie: a=1; path=/", "Set-Cookie: b=2; path=/"};
  server.enqueue(setting);
  server.set_default(ScriptedResponse::ok("plain"));

  EXPECT_EQ(run(get(server.url("/login")))[kReturnedCookiesField].data(), "a=1;b=2;");
  run(get(server.url("/next")));
  Exchange own = get(server.url("/own"));
  own.cookies = "mine=1";
  run(own);

  const auto requests = server.requests();
  ASSERT_EQ(requests.size(), 3u);
  EXPECT_EQ(requests[0].header("Cookie"), std::nullopt);
  // Stored once each, although both the library and the cookie walk take them from the response.
  ASSERT_EQ(requests[1].header_values("Cookie").size(), 1u);
  EXPECT_THAT(split_cookies(*requests[1].header("Cookie")), ::testing::UnorderedElementsAre("a=1", "b=2"));
  EXPECT_EQ(requests[2].header_values("Cookie"), std::vector<std::string>{"mine=1"});
}

TEST_F(ExchangeWire, RedirectsFollowedOrAnswered) {
  server.route("/old", ScriptedResponse::redirect("/new"));
  server.route("/new", ScriptedResponse::ok("new page"));
  const RequestRecord followed = run(get(server.url("/old")));
  EXPECT_EQ(followed[kBodyField].data(), "new page");
  EXPECT_THAT(followed[kReturnedHeadersField].data(), ::testing::StartsWith("HTTP/1.1 200 OK\r\n"));

  Exchange stay = get(server.url("/old"));
  stay.redirects = false;
  const RequestRecord answered = run(stay);
  EXPECT_THAT(answered[kReturnedHeadersField].data(), ::testing::StartsWith("HTTP/1.1 302 Found\r\n"));
  EXPECT_EQ(server.request_count(), 3u);
}

TEST_F(ExchangeWire, UnreachableHostGivesEmptyBodyAndBlankHeaders) {
  const int port = testing::free_loopback_port();
  ASSERT_NE(port, 0);
  const RequestRecord out = run(get("http://127.0.0.1:" + std::to_string(port) + "/"));
  EXPECT_EQ(out[kBodyField].data(), "");
  EXPECT_EQ(out[kReturnedHeadersField].data(), std::string(2048, ' '));
  EXPECT_EQ(out[kReturnedCookiesField].data(), "");
}

struct HeadCase {
  const char* name;
  std::size_t head_size;
  bool fits;
};

class HeaderBlock : public ExchangeWire, public ::testing::WithParamInterface<HeadCase> {};

TEST_P(HeaderBlock, IsReturnedOnlyWhenItFitsWithItsNul) {
  ScriptedResponse response = ScriptedResponse::ok(std::string(3000, 'b'));
  response.headers.push_back("Set-Cookie: big=1; path=/");
  response.pad_head_to(GetParam().head_size);
  ASSERT_EQ(response.head().size(), GetParam().head_size);
  server.set_default(response);
  const RequestRecord out = run(get(server.url("/")));
  EXPECT_EQ(out[kBodyField].data(), response.body);
  EXPECT_EQ(out[kReturnedHeadersField].data(), GetParam().fits ? response.head() : std::string(2048, ' '));
  EXPECT_EQ(out[kReturnedCookiesField].data(), GetParam().fits ? "big=1;" : "");
}

INSTANTIATE_TEST_SUITE_P(Wire, HeaderBlock,
                         ::testing::Values(HeadCase{"Fits2047", 2047, true},
                                           HeadCase{"Overflows2048", 2048, false},
                                           HeadCase{"Overflows5000", 5000, false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(ExchangeWire, BodyIsKeptWhenTheConnectionClosesMidway) {
  server.set_default(ScriptedResponse::cut_mid_body(std::string(10000, 'x') + "tail", 5000));
  EXPECT_EQ(run(get(server.url("/")))[kBodyField].data(), std::string(5000, 'x'));
}

TEST_F(ExchangeWire, BodyArrivesWholeWithItsNuls) {
  std::string body;
  for (int i = 0; i < 70000; ++i) body += static_cast<char>(i % 251);
  server.set_default(ScriptedResponse::ok(body, "application/octet-stream"));
  EXPECT_EQ(run(get(server.url("/bin")))[kBodyField].data(), body);
}

}  // namespace
}  // namespace lexomir
