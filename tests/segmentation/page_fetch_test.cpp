// The plain GET of the search page against a loopback server: its exact bytes, its limits and what it
// returns for every kind of answer.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "platform/inet/cookie_store.h"
#include "segmentation/page_fetch.h"
#include "tests/support/free_port.h"
#include "tests/support/loopback_server.h"
#include "tests/support/tinyproxy_fixture.h"

namespace lexomir {
namespace {

using testing::LoopbackServer;
using testing::ScriptedResponse;
using namespace std::string_literals;

class PageFetch : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(server.ok());
    platform::clear_cookies();
  }
  LoopbackServer server;
};

TEST_F(PageFetch, SendsAFreshHttp10GetWithoutItsFragment) {
  server.set_default(ScriptedResponse::ok("<em>a</em>"));
  const Bytes body = page_fetch(server.url("/search?lm=0&word=%C4%E3#top"));
  EXPECT_EQ(body.data(), "<em>a</em>");
  ASSERT_EQ(server.request_count(), 1u);
  EXPECT_EQ(
      server.last_request().raw,
      "GET /search?lm=0&word=%C4%E3 HTTP/1.0\r\nHost: " + server.host_port() +
          "\r\nUser-Agent: Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.0)\r\nConnection: Keep-Alive\r\n"
          "Cache-Control: no-cache\r\nPragma: no-cache\r\nAccept: */*\r\n\r\n");
}

TEST_F(PageFetch, PathWithQueryMustStayUnder2048Characters) {
  server.set_default(ScriptedResponse::ok("ok"));
  EXPECT_EQ(page_fetch(server.url("/?" + std::string(2045, 'a'))).data(), "ok");
  EXPECT_EQ(server.request_count(), 1u);
  EXPECT_TRUE(page_fetch(server.url("/?" + std::string(2046, 'a'))).empty());
  EXPECT_EQ(server.request_count(), 1u);
}

TEST_F(PageFetch, AnyAnswerIsTheResultAndPartOfOneToo) {
  server.route("/missing", [] {
    ScriptedResponse r = ScriptedResponse::ok("error page");
    r.status_line = "HTTP/1.1 404 Not Found";
    return r;
  }());
  server.route("/moved", ScriptedResponse::redirect("/target"));
  server.route("/target", ScriptedResponse::ok("moved here"));
  server.route("/cut", ScriptedResponse::cut_mid_body("0123456789", 4));
  server.route("/nul", ScriptedResponse::ok("a\0b"s));
  EXPECT_EQ(page_fetch(server.url("/missing")).data(), "error page");
  EXPECT_EQ(page_fetch(server.url("/moved")).data(), "moved here");
  EXPECT_EQ(page_fetch(server.url("/cut")).data(), "0123");
  EXPECT_EQ(page_fetch(server.url("/nul")).data(), "a\0b"s);
}

TEST_F(PageFetch, FailuresGiveNothing) {
  const int closed = testing::free_loopback_port();
  for (const std::string& url : {""s, "#only"s, "no url at all"s, "ftp://127.0.0.1/x"s,
                                 "http://127.0.0.1:" + std::to_string(closed) + "/"}) {
    EXPECT_TRUE(page_fetch(url).empty()) << url;
  }
  EXPECT_EQ(server.request_count(), 0u);
}

TEST_F(PageFetch, CookiesOfOnePageGoWithTheNext) {
  ScriptedResponse first = ScriptedResponse::ok("first");
  first.headers.push_back("Set-Cookie: BAIDUID=abc; path=/");
  server.enqueue(first);
  server.set_default(ScriptedResponse::ok("second"));
  page_fetch(server.url("/a"));
  page_fetch(server.url("/b"));
  ASSERT_EQ(server.request_count(), 2u);
  EXPECT_EQ(server.requests()[1].header("Cookie"), "BAIDUID=abc");
}

TEST_F(PageFetch, FollowsTheSystemsProxySetting) {
  testing::Tinyproxy proxy;
  ASSERT_TRUE(proxy.ok()) << proxy.error();
  server.set_default(ScriptedResponse::ok("through the proxy"));
  ::setenv("http_proxy", ("http://" + proxy.proxy()).c_str(), 1);
  const Bytes body = page_fetch(server.url("/search?word=%C4%E3"));
  ::unsetenv("http_proxy");
  EXPECT_EQ(body.data(), "through the proxy") << proxy.log();
  ASSERT_EQ(server.request_count(), 1u);
  const auto request = server.last_request();
  EXPECT_THAT(request.raw, ::testing::StartsWith("GET /search?word=%C4%E3 HTTP/1.0\r\n"));
  EXPECT_EQ(request.header("User-Agent"), "Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.0)");
  EXPECT_EQ(request.header("Accept"), "*/*");
  EXPECT_TRUE(request.header("Via").has_value());
}

}  // namespace
}  // namespace lexomir
