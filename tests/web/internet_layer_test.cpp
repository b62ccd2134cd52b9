// The libcurl layer's own promises: a transfer cancelled from another thread ends at once, an idle
// transfer gives up by itself, cookies set by hand reach the next request, URLs are taken apart.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <string>

#include "platform/inet/cookie_store.h"
#include "platform/inet/internet.h"
#include "tests/support/loopback_server.h"

namespace lexomir::platform {
namespace {

using testing::LoopbackServer;
using testing::ScriptedResponse;
using namespace std::chrono_literals;

struct Opened {
  InternetHandle session, connection, request;
};

Opened open_get(Internet& internet, const LoopbackServer& server, const std::string& path) {
  Opened h{};
  h.session = internet.open("agent", kOpenDirect, "", "", 0);
  h.connection = internet.connect(h.session, "127.0.0.1", server.port(), "", "", kServiceHttp, 0, 0);
  h.request = internet.open_request(h.connection, "GET", path, "HTTP/1.1", "", 0, 0);
  return h;
}

TEST(InternetLayer, CancelEndsARunningTransferAndEveryLaterCall) {
  LoopbackServer server;
  ASSERT_TRUE(server.ok());
  server.set_default(ScriptedResponse::hang());
  auto internet = make_internet();
  const Opened h = open_get(*internet, server, "/hang");
  ASSERT_NE(h.request, kNoHandle);
  auto sent = std::async(std::launch::async, [&] { return internet->send_request(h.request, "", {}); });
  ASSERT_TRUE(server.wait_for_requests(1));

  internet->cancel();
  ASSERT_EQ(sent.wait_for(1s), std::future_status::ready);
  EXPECT_FALSE(sent.get());
  EXPECT_TRUE(server.wait_until_no_connections(1s));
  EXPECT_EQ(internet->open("agent", kOpenDirect, "", "", 0), kNoHandle);
  EXPECT_FALSE(internet->send_request(h.request, "", {}));
}

TEST(InternetLayer, IdleTransferGivesUpByItself) {
  LoopbackServer server;
  ASSERT_TRUE(server.ok());
  server.set_default(ScriptedResponse::hang());
  auto internet = make_internet({.connect_timeout = 60s, .idle_timeout = 1s});
  const Opened h = open_get(*internet, server, "/hang");
  EXPECT_FALSE(internet->send_request(h.request, "", {}));
  std::uint32_t read = 7;
  char buffer[16];
  internet->read_file(h.request, buffer, sizeof buffer, read);
  EXPECT_EQ(read, 0u);
}

TEST(InternetLayer, CookieSetByHandGoesToThatHostUntilItExpires) {
  clear_cookies();
  LoopbackServer server;
  ASSERT_TRUE(server.ok());
  server.set_default(ScriptedResponse::ok("x"));
  auto internet = make_internet();
  auto fetch = [&] {
    const Opened h = open_get(*internet, server, "/any/path");
    internet->send_request(h.request, "", {});
    for (InternetHandle handle : {h.request, h.connection, h.session}) internet->close_handle(handle);
    return server.last_request().header("Cookie");
  };

  ASSERT_TRUE(internet->set_cookie("http://127.0.0.1", "k", "v; path=/"));
  ASSERT_TRUE(internet->set_cookie("http://other.test", "o", "1"));
  EXPECT_EQ(fetch(), "k=v");
  ASSERT_TRUE(internet->set_cookie("http://127.0.0.1", "k", "gone; path=/; max-age=0"));
  EXPECT_EQ(fetch(), std::nullopt);
}

TEST(InternetLayer, HeaderBlockNeedsRoomForItsNul) {
  LoopbackServer server;
  ASSERT_TRUE(server.ok());
  ScriptedResponse response = ScriptedResponse::ok("b");
  response.pad_head_to(100);
  server.set_default(response);
  auto internet = make_internet();
  const Opened h = open_get(*internet, server, "/");
  ASSERT_TRUE(internet->send_request(h.request, "", {}));

  std::string buffer(200, '#');
  std::uint32_t length = 100;
  EXPECT_FALSE(internet->query_info(h.request, kQueryRawHeadersCrlf, buffer.data(), length));
  EXPECT_EQ(buffer, std::string(200, '#'));
  length = 101;
  ASSERT_TRUE(internet->query_info(h.request, kQueryRawHeadersCrlf, buffer.data(), length));
  EXPECT_EQ(buffer.substr(0, 101), response.head() + '\0');
}

struct CrackCase {
  const char* name;
  std::string url;
  std::optional<UrlParts> parts;
};

class CrackUrl : public ::testing::TestWithParam<CrackCase> {};

TEST_P(CrackUrl, TakesTheUrlApart) {
  const auto parts = crack_url(GetParam().url);
  ASSERT_EQ(parts.has_value(), GetParam().parts.has_value());
  if (!parts) return;
  const UrlParts& want = *GetParam().parts;
  EXPECT_EQ(parts->scheme, want.scheme);
  EXPECT_EQ(parts->host, want.host);
  EXPECT_EQ(parts->port, want.port);
  EXPECT_EQ(parts->user, want.user);
  EXPECT_EQ(parts->password, want.password);
  EXPECT_EQ(parts->path_and_query, want.path_and_query);
}

INSTANTIATE_TEST_SUITE_P(
    InternetLayer, CrackUrl,
    ::testing::Values(CrackCase{"Search", "http://h.test/search?ie=gbk&word=%C4%E3",
                                UrlParts{"http", "h.test", 80, "", "", "/search?ie=gbk&word=%C4%E3"}},
                      CrackCase{"NoPath", "http://h.test", UrlParts{"http", "h.test", 80, "", "", "/"}},
                      CrackCase{"Everything", "HTTPS://u:p@h.test:8443/x?y",
                                UrlParts{"https", "h.test", 8443, "u", "p", "/x?y"}},
                      CrackCase{"NoScheme", "h.test/x", std::nullopt}, CrackCase{"Empty", "", std::nullopt},
                      CrackCase{"BadPort", "http://h.test:99999/", std::nullopt}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace lexomir::platform
