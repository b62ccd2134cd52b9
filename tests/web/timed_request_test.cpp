// The timed request end to end against a loopback server: the scheme it adds, the time-out and what is
// left behind after it, the outputs, and the result types.
#include <dirent.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>

#include "platform/inet/cookie_store.h"
#include "platform/threads/worker_thread.h"
#include "tests/support/loopback_server.h"
#include "tests/support/tinyproxy_fixture.h"
#include "text/process_events.h"
#include "web/timed_request.h"

namespace lexomir {
namespace {

using testing::LoopbackServer;
using testing::ScriptedResponse;
using namespace std::chrono_literals;
using namespace std::string_literals;

TimedRequestOptions with(const std::function<void(TimedRequestOptions&)>& set) {
  TimedRequestOptions options;
  set(options);
  return options;
}

int open_descriptors() {
  int count = 0;
  if (DIR* dir = opendir("/proc/self/fd")) {
    while (readdir(dir)) ++count;
    closedir(dir);
  }
  return count;
}

bool eventually(const std::function<bool()>& condition, std::chrono::milliseconds limit) {
  const auto deadline = std::chrono::steady_clock::now() + limit;
  while (!condition()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    std::this_thread::sleep_for(5ms);
  }
  return true;
}

TEST(TimedRequest, TimeoutMessageIsTheFixedGbkText) {
  const std::string message = kTimeoutMessage;
  EXPECT_EQ(message.size(), 94u);
  EXPECT_EQ(message.substr(0, 8), "\xB3\xAC\xCA\xB1\xB7\xB5\xBB\xD8");  // 超时返回
  EXPECT_EQ(message.substr(message.size() - 2), "\xA1\xA3");            // 。
}

TEST(TimedRequest, BlankUrlReturnsNothingAndStartsNoThread) {
  const int workers = platform::live_worker_count();
  for (std::string blank : {""s, "   "s, "\xA1\xA1 "s}) {
    Text url = blank;
    Text headers = "kept";
    EXPECT_TRUE(
        timed_request(url, with([&](TimedRequestOptions& o) { o.returned_headers = &headers; })).empty());
    EXPECT_EQ(url, blank);
    EXPECT_EQ(headers, "kept");
  }
  EXPECT_EQ(platform::live_worker_count(), workers);
}

struct SchemeCase {
  const char* name;
  std::string url;
  std::string becomes;
};

class Scheme : public ::testing::TestWithParam<SchemeCase> {};

TEST_P(Scheme, IsAddedUnlessTheUrlStartsWithOneExactly) {
  Text url = GetParam().url;
  // A time-out of 0 ends the request before anything can be sent.
  EXPECT_EQ(timed_request(url, with([&](TimedRequestOptions& o) { o.timeout_seconds = 0; })),
            Bytes(kTimeoutMessage));
  EXPECT_EQ(url, GetParam().becomes);
}

INSTANTIATE_TEST_SUITE_P(TimedRequest, Scheme,
                         ::testing::Values(SchemeCase{"None", "host/x", "http://host/x"},
                                           SchemeCase{"Http", "http://host/", "http://host/"},
                                           SchemeCase{"Https", "https://host/", "https://host/"},
                                           SchemeCase{"UpperCase", "HTTP://host/", "http://HTTP://host/"},
                                           SchemeCase{"LeadingBlank", " http://host/",
                                                      "http:// http://host/"}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(TimedRequest, ZeroTimeoutLeavesTheOutputsAlone) {
  Text url = "http://127.0.0.1:9/";
  Text headers = "h", cookies = "c";
  const Bytes result = timed_request(url, with([&](TimedRequestOptions& o) {
                                       o.timeout_seconds = 0;
                                       o.returned_headers = &headers;
                                       o.result_type = 1;
                                       o.returned_cookies = &cookies;
                                     }));
  EXPECT_EQ(result, Bytes(kTimeoutMessage));
  EXPECT_EQ(headers, "h");
  EXPECT_EQ(cookies, "c");
}

int g_events_processed = 0;

TEST(TimedRequest, ServerThatNeverAnswersTimesOutAndTheWorkerIsGivenUp) {
  LoopbackServer server;
  ASSERT_TRUE(server.ok());
  server.set_default(ScriptedResponse::hang());
  const int descriptors = open_descriptors();
  set_process_events_hook([] { ++g_events_processed; });
  g_events_processed = 0;

  Text url = server.url("/slow");
  Text headers = "untouched";
  const auto start = std::chrono::steady_clock::now();
  const Bytes result = timed_request(url, with([&](TimedRequestOptions& o) {
                                       o.timeout_seconds = 1;
                                       o.returned_headers = &headers;
                                       o.result_type = 2;
                                     }));
  const auto waited = std::chrono::steady_clock::now() - start;
  set_process_events_hook(nullptr);

  EXPECT_EQ(result, Bytes(kTimeoutMessage));
  EXPECT_EQ(headers, "untouched");
  EXPECT_GE(waited, 1s);
  EXPECT_GT(g_events_processed, 1) << "the caller's events flow while it waits";
  ASSERT_TRUE(server.wait_for_requests(1));
  // The abandoned worker's transfer is cancelled: its connection, thread and sockets go promptly.
  EXPECT_TRUE(server.wait_until_no_connections(1s));
  EXPECT_TRUE(eventually([] { return platform::live_worker_count() == 0; }, 1s));
  EXPECT_TRUE(eventually([&] { return open_descriptors() <= descriptors; }, 1s));
}

TEST(TimedRequest, FinishedWorkerIsReadBackWithTheOutputsAsked) {
  platform::clear_cookies();
  LoopbackServer server;
  ASSERT_TRUE(server.ok());
  ScriptedResponse response = ScriptedResponse::ok("body\0after nul"s);
  response.headers.push_back("Set-Cookie: s=1; path=/");
  server.set_default(response);

  Text url = server.url("/page");
  Text headers, cookies;
  const Bytes result = timed_request(url, with([&](TimedRequestOptions& o) {
                                       o.returned_headers = &headers;
                                       o.returned_cookies = &cookies;
                                     }));
  EXPECT_EQ(result.data(), "body\0after nul"s);
  EXPECT_EQ(headers, response.head());
  EXPECT_EQ(cookies, "s=1;");
  ASSERT_EQ(server.request_count(), 1u);
  EXPECT_EQ(server.last_request().method, "GET");
}

TEST(TimedRequest, PostWithDataAndNoRedirects) {
  LoopbackServer server;
  ASSERT_TRUE(server.ok());
  server.route("/form", ScriptedResponse::redirect("/elsewhere"));
  Text url = server.url("/form");
  Text headers;
  timed_request(url, with([&](TimedRequestOptions& o) {
                  o.method = 1;
                  o.submitted_data = Bytes("k=v"s);
                  o.returned_headers = &headers;
                  o.allow_redirects = false;
                }));
  ASSERT_EQ(server.request_count(), 1u);
  EXPECT_EQ(server.last_request().method, "POST");
  EXPECT_EQ(server.last_request().body, "k=v");
  EXPECT_THAT(headers, ::testing::StartsWith("HTTP/1.1 302 Found\r\n"));
}

struct ResultCase {
  const char* name;
  std::optional<int> type;
  std::string body;
  std::string result;
};

class ResultType : public ::testing::TestWithParam<ResultCase> {};

TEST_P(ResultType, ConvertsOrReturnsEveryByte) {
  LoopbackServer server;
  ASSERT_TRUE(server.ok());
  server.set_default(ScriptedResponse::ok(GetParam().body));
  Text url = server.url("/");
  EXPECT_EQ(timed_request(url, with([&](TimedRequestOptions& o) { o.result_type = GetParam().type; })).data(),
            GetParam().result);
}

// 中文 in UTF-8, GBK and Big5; 體 (traditional) in Big5 becomes 体 in GBK.
INSTANTIATE_TEST_SUITE_P(
    TimedRequest, ResultType,
    ::testing::Values(ResultCase{"Utf8", 1, "\xE4\xB8\xAD\xE6\x96\x87", "\xD6\xD0\xCE\xC4"},
                      ResultCase{"Utf8StopsAtNul", 1, "\xE4\xB8\xAD\0\xE6\x96\x87"s, "\xD6\xD0"},
                      ResultCase{"Big5Simplified", 2, "\xA4\xA4\xA4\xE5\xC5\xE9", "\xD6\xD0\xCE\xC4\xCC\xE5"},
                      ResultCase{"RawWhenNotGiven", std::nullopt, "a\0b\xFF"s, "a\0b\xFF"s},
                      ResultCase{"RawForZero", 0, "a\0b"s, "a\0b"s},
                      ResultCase{"RawForThree", 3, "a\0b"s, "a\0b"s}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(TimedRequest, ThroughTinyproxyAsTheKeywordMethodAsks) {
  testing::Tinyproxy proxy;
  ASSERT_TRUE(proxy.ok()) << proxy.error();
  LoopbackServer server;
  ASSERT_TRUE(server.ok());
  server.set_default(ScriptedResponse::ok("question page"));
  Text url = server.url("/question/1.html");
  EXPECT_EQ(timed_request(url, with([&](TimedRequestOptions& o) { o.proxy = proxy.proxy(); })).data(),
            "question page")
      << proxy.log();
  ASSERT_EQ(server.request_count(), 1u);
  EXPECT_TRUE(server.last_request().header("Via").has_value());
}

}  // namespace
}  // namespace lexomir
