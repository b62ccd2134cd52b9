// What the exchange worker passes to the internet layer and writes back into the record, seen through a
// recording layer. The bytes that reach a real server are checked in exchange_wire_test.cpp.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>

#include "tests/web/exchange_request.h"
#include "tests/web/recording_internet.h"
#include "web/exchange_file.h"
#include "web/exchange_worker.h"

namespace lexomir {
namespace {

using ::testing::ElementsAre;
using testing::RecordingInternet;
using namespace std::string_literals;

using Request = testing::ExchangeRequest;

Request req(std::initializer_list<std::pair<std::string Request::*, std::string>> fields,
            bool redirects = true) {
  Request r;
  for (const auto& [field, value] : fields) r.*field = value;
  r.redirects = redirects;
  return r;
}

RequestRecord run(const Request& request, RecordingInternet& internet) {
  return testing::exchange(request, internet);
}

const std::string kAccept = kDefaultAcceptLine;
const std::string kLanguage = kDefaultLanguageLine;
const std::string kForm = kFormContentTypeLine;

struct HeaderCase {
  const char* name;
  Request request;
  std::string sent_headers;
  std::string sent_data;
};

class CompletedHeaders : public ::testing::TestWithParam<HeaderCase> {};

TEST_P(CompletedHeaders, AreSentAsTheWorkerBuildsThem) {
  RecordingInternet internet;
  internet.raw_headers = "HTTP/1.1 200 OK\r\n\r\n";
  run(GetParam().request, internet);
  ASSERT_TRUE(internet.sent_headers.has_value());
  EXPECT_EQ(*internet.sent_headers, GetParam().sent_headers);
  EXPECT_EQ(internet.sent_data, GetParam().sent_data);
}

INSTANTIATE_TEST_SUITE_P(
    Worker, CompletedHeaders,
    ::testing::Values(
        HeaderCase{"EmptyGetGetsDefaultsInOrder", {}, kAccept + "Referer: http://host/p\r\n" + kLanguage, ""},
        HeaderCase{"LanguageLineHidesTheAcceptDefault", req({{&Request::headers, "Accept-Language: en\r\n"}}),
                   "Accept-Language: en\r\nReferer: http://host/p\r\n", ""},
        HeaderCase{"RefererNoMarkerIsRemovedAndNoRefererAdded", req({{&Request::headers, "RefererNo\r\n"}}),
                   "\r\n" + kAccept + kLanguage, ""},
        HeaderCase{"CallersRefererIsKept", req({{&Request::headers, "Referer: x\r\n"}}),
                   "Referer: x\r\n" + kAccept + kLanguage, ""},
        HeaderCase{"UnterminatedHeadersRunTogether", req({{&Request::headers, "X-A: 1"}}),
                   "X-A: 1" + kAccept + "Referer: http://host/p\r\n" + kLanguage, ""},
        HeaderCase{"GetCookiesCloseTheHeaders", req({{&Request::cookies, "a=1; b=2"}}),
                   kAccept + "Referer: http://host/p\r\n" + kLanguage + "Cookie: a=1; b=2\r\n\r\n", ""},
        HeaderCase{"BlankCookiesStillMakeACookieLine", req({{&Request::cookies, "  "}}),
                   kAccept + "Referer: http://host/p\r\n" + kLanguage + "Cookie:   \r\n\r\n", ""},
        HeaderCase{
            "PostGetsFormTypeLengthThenCookie",
            req({{&Request::method, "POST"}, {&Request::data, "hello world"}, {&Request::cookies, "c=1"}}),
            kAccept + "Referer: http://host/p\r\n" + kLanguage + kForm +
                "Content-Length: 11\r\nCookie: c=1\r\n\r\n",
            "hello world"},
        HeaderCase{"PostKeepsCallersContentType",
                   req({{&Request::method, "POST"},
                        {&Request::headers, "Content-Type: text/plain\r\n"},
                        {&Request::data, "a\0b"s}}),
                   "Content-Type: text/plain\r\n" + kAccept + "Referer: http://host/p\r\n" + kLanguage +
                       "Content-Length: 3\r\n",
                   "a\0b"s},
        HeaderCase{"EmptyPostHasNoFormLines", req({{&Request::method, "POST"}}),
                   kAccept + "Referer: http://host/p\r\n" + kLanguage, ""}),
    [](const auto& info) { return std::string(info.param.name); });

struct FlagCase {
  const char* name;
  Request request;
  std::uint32_t flags;
  int port;
};

class RequestFlags : public ::testing::TestWithParam<FlagCase> {};

TEST_P(RequestFlags, FollowTheRequest) {
  RecordingInternet internet;
  run(GetParam().request, internet);
  EXPECT_EQ(internet.flags, GetParam().flags);
  EXPECT_EQ(internet.port, GetParam().port);
}

INSTANTIATE_TEST_SUITE_P(
    Worker, RequestFlags,
    ::testing::Values(FlagCase{"PlainHttp", {}, 0x80004010u, 80},
                      FlagCase{"OwnCookiesKeepTheStoreOut",
                               req({{&Request::url, "http://host:81/"}, {&Request::cookies, "a=1"}}),
                               0x80084010u, 81},
                      FlagCase{"BlankCookiesDoNot", req({{&Request::cookies, " "}}), 0x80004010u, 80},
                      FlagCase{"NoRedirects", req({}, false), 0x80204010u, 80},
                      FlagCase{"HttpsIsSecureAlone",
                               req({{&Request::url, "https://host/"}, {&Request::cookies, "a=1"}}, false),
                               0x00800000u, 443},
                      FlagCase{"HttpsFoundAnywhereInAnyCase",
                               req({{&Request::url, "http://host/?u=HTTPS://x"}}), 0x00800000u, 443}),
    [](const auto& info) { return std::string(info.param.name); });

struct AgentCase {
  const char* name;
  std::string headers;
  std::string agent;
};

class AgentText : public ::testing::TestWithParam<AgentCase> {};

TEST_P(AgentText, ComesFromTheHeadersOrTheDefault) {
  RecordingInternet internet;
  run(req({{&Request::headers, GetParam().headers}}), internet);
  EXPECT_EQ(internet.agent, GetParam().agent);
  EXPECT_EQ(internet.sent_headers->substr(0, GetParam().headers.size()), GetParam().headers);
}

INSTANTIATE_TEST_SUITE_P(Worker, AgentText,
                         ::testing::Values(AgentCase{"None", "", kDefaultUserAgent},
                                           AgentCase{"Given", "User-Agent: Tool/1.0\r\n", "Tool/1.0"},
                                           AgentCase{"AnyCaseTrimmed", "X: 1\r\nuser-agent:  T 2 \r\n",
                                                     "T 2"},
                                           AgentCase{"UnterminatedGivesEmpty", "User-Agent: Tool", ""}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Worker, OpensClosesAndReadsInOrder) {
  RecordingInternet internet;
  internet.body = std::string(5000, 'x') + "\0end"s;
  internet.raw_headers = "HTTP/1.1 200 OK\r\nX: y\r\n\r\n";
  const RequestRecord out =
      run(req({{&Request::url, "http://Host:81/a?b=1#f"}, {&Request::proxy, "proxy:81"}}), internet);

  EXPECT_THAT(internet.calls, ElementsAre("open", "connect", "open_request", "send", "query 22 2048",
                                          "close request", "close connection", "close session"));
  EXPECT_EQ(internet.access_type, platform::kOpenProxy);
  EXPECT_EQ(internet.proxy_list, "http=proxy:81");
  EXPECT_EQ(internet.host, "host");
  EXPECT_EQ(internet.port, 81);
  EXPECT_EQ(internet.method, "GET");
  EXPECT_EQ(internet.path, "/a?b=1#f");
  EXPECT_EQ(internet.version, "HTTP/1.1");
  // Read in 2048-byte chunks until one delivers nothing.
  EXPECT_THAT(internet.read_sizes, ElementsAre(2048u, 2048u, 2048u, 2048u));

  EXPECT_EQ(out[kBodyField].data(), internet.body);
  EXPECT_EQ(out[kReturnedCookiesField].data(), "");
  EXPECT_EQ(out[kReturnedHeadersField].data(), internet.raw_headers);
  EXPECT_EQ(out[kProxyField].data(), "proxy:81");
  EXPECT_EQ(out[kRedirectField].data(), kTrueText);
}

TEST(Worker, DirectSessionWhenTheProxyFieldIsEmpty) {
  RecordingInternet internet;
  run({}, internet);
  EXPECT_EQ(internet.access_type, platform::kOpenDirect);
  EXPECT_EQ(internet.proxy_list, "");
}

TEST(Worker, CookieWalkCollectsAndStoresEverySetCookieLine) {
  RecordingInternet internet;
  internet.raw_headers =
      "HTTP/1.1 200 OK\r\nSet-Cookie: a=1; path=/\r\nX: 1\r\nset-cookie: b=2; path=/\r\nSet-Cookie: c=3\r\n"
      "Set-Cookie: flag\r\n\r\n";
  const RequestRecord out = run(req({{&Request::url, "https://Secure/login"}}), internet);
  EXPECT_EQ(out[kReturnedCookiesField].data(), "a=1;b=2;;;");
  using Cookie = std::tuple<std::string, std::string, std::string>;
  // Stored for "http://" + host even for https; a line without "=" is all data and no name.
  EXPECT_THAT(
      internet.cookies_set,
      ElementsAre(Cookie{"http://secure", "a", "1; path=/"}, Cookie{"http://secure", "b", "2; path=/"},
                  Cookie{"http://secure", "c", "3"}, Cookie{"http://secure", "", "flag"}));
  // Cookies go into the store after the handles are closed.
  EXPECT_EQ(internet.calls[internet.calls.size() - 5], "close session");
}

TEST(Worker, NoResponseLeavesBlankHeadersAndNoCookies) {
  RecordingInternet internet;
  const RequestRecord out = run(req({{&Request::cookies, "mine=1"}}), internet);
  EXPECT_EQ(out[kBodyField].data(), "");
  EXPECT_EQ(out[kReturnedHeadersField].data(), std::string(2048, ' '));
  EXPECT_EQ(out[kReturnedCookiesField].data(), "");
}

TEST(Worker, UnknownMethodSendsNothing) {
  RecordingInternet internet;
  internet.body = "never read";
  const RequestRecord out = run(req({{&Request::method, "PUT"}}), internet);
  EXPECT_FALSE(internet.sent_headers.has_value());
  EXPECT_EQ(out[kReturnedHeadersField].data(), std::string(2048, ' '));
}

struct FailureCase {
  const char* name;
  bool open, connect, request;
  std::vector<std::string> calls;
};

class OpenFailure : public ::testing::TestWithParam<FailureCase> {};

TEST_P(OpenFailure, ClosesWhatWasOpenedAndWritesTheRecordBackEmpty) {
  RecordingInternet internet;
  internet.fail_open = GetParam().open;
  internet.fail_connect = GetParam().connect;
  internet.fail_request = GetParam().request;
  internet.raw_headers = "HTTP/1.1 200 OK\r\nSet-Cookie: a=1\r\n\r\n";
  const RequestRecord out = run(
      req({{&Request::headers, "H: 1\r\n"}, {&Request::data, "d"}, {&Request::cookies, "c=1"}}), internet);
  EXPECT_EQ(internet.calls, GetParam().calls);
  // The method and the cookies sent are not handed back as if they were returned cookies and headers.
  EXPECT_EQ(out[kBodyField].data(), "");
  EXPECT_EQ(out[kReturnedCookiesField].data(), "");
  EXPECT_EQ(out[kReturnedHeadersField].data(), "");
  EXPECT_EQ(out[kExtraHeadersField].data(), "H: 1\r\n");
  EXPECT_EQ(out[kSubmittedDataField].data(), "d");
}

INSTANTIATE_TEST_SUITE_P(
    Worker, OpenFailure,
    ::testing::Values(FailureCase{"Session", true, false, false, {"open"}},
                      FailureCase{"Connection", false, true, false, {"open", "connect", "close session"}},
                      FailureCase{"Request",
                                  false,
                                  false,
                                  true,
                                  {"open", "connect", "open_request", "close connection", "close session"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Worker, UnreadableRecordIsLeftAsItWas) {
  ExchangeFile file;
  ASSERT_TRUE(file.write(std::string("\x03\0\0\0abc", 7)));
  RecordingInternet internet;
  run_exchange(file, internet);
  EXPECT_TRUE(internet.calls.empty());
  EXPECT_EQ(file.contents(), std::string("\x03\0\0\0abc", 7));
}

}  // namespace
}  // namespace lexomir
