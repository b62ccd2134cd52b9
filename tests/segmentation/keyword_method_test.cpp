#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <atomic>

#include "segmentation/methods.h"
#include "tests/segmentation/method_fixture.h"
#include "tests/support/free_port.h"
#include "tests/support/test_data.h"
#include "tests/support/tinyproxy_fixture.h"
#include "web/timed_request.h"

namespace lexomir::testing {
namespace {

using ::testing::ElementsAre;

// A search page that lists the given links in the service's markup.
std::string search_page(const std::vector<std::string>& links) {
  std::string page = "<html><body>";
  for (const auto& link : links) {
    page +=
        "<dt class=\"result-title\">  <a href=\"" + link + "\" \n target=\"_blank\"><em>q</em></a></dt>\n";
  }
  return page + "</body></html>";
}

// A question page declaring its keywords as the service does.
std::string question_page(const std::string& keywords) {
  return "<head><title>t</title> <meta name=\"keywords\" content=\"" + keywords +
         "\"/><meta name=\"description\" content=\"d\"></head><body>text</body>";
}

class KeywordMethodTest : public MethodTest {
 protected:
  // Serves each page at /question/N.html and lists them in that order on the search page.
  void serve_questions(const std::vector<std::string>& pages) {
    std::vector<std::string> links;
    for (std::size_t i = 0; i < pages.size(); ++i) {
      const std::string path = "/question/" + std::to_string(i) + ".html";
      server.route(path, ScriptedResponse::ok(pages[i]));
      links.push_back(server.url(path));
    }
    serve_search_page(search_page(links));
  }
};

TEST_F(KeywordMethodTest, WalksTheLinksAndLeavesTheLastKeywordsOnTheClipboard) {
  window.question = "\xB9\xC9";  // "股"
  serve_questions({question_page("a,b"), question_page("c")});
  std::vector<std::pair<int, int>> progress;
  MethodHooks hooks;
  hooks.on_link_done = [&progress](int done, int total) { progress.emplace_back(done, total); };

  const RunReport report = run_keyword_method(window, service, hooks);

  const auto requests = server.requests();
  ASSERT_EQ(requests.size(), 3u);
  EXPECT_EQ(requests[0].path(), search_path("%B9%C9"));
  EXPECT_EQ(requests[1].path(), "/question/0.html");
  EXPECT_EQ(requests[2].path(), "/question/1.html");
  EXPECT_EQ(window.result, entries({"a", "b", "c"}));
  EXPECT_EQ(window.clipboard, "c");
  EXPECT_THAT(window.calls,
              ElementsAre("enabled 0", std::string("caption ") + kRunningCaption, "set result ",
                          "read question", "read proxy", "read result", "append a\xA3\xBB", "read result",
                          "append b\xA3\xBB", "read proxy", "read result", "append c\xA3\xBB", "clipboard c",
                          "enabled 1", std::string("caption ") + kIdleCaption));
  EXPECT_TRUE(report.page_fetched);
  EXPECT_EQ(report.links, 2);
  EXPECT_EQ(report.links_done, 2);
  EXPECT_EQ(report.timeouts, 0);
  EXPECT_THAT(progress, ElementsAre(std::pair(1, 2), std::pair(2, 2)));
}

struct KeywordsCase {
  const char* name;
  std::vector<std::string> pages;
  Text result;
  Text clipboard;
};

class KeywordsTextTest : public KeywordMethodTest, public ::testing::WithParamInterface<KeywordsCase> {};

TEST_P(KeywordsTextTest, EntriesFollowTheKeywordsOfEachPage) {
  serve_questions(GetParam().pages);
  run_keyword_method(window, service);
  EXPECT_EQ(window.result, GetParam().result);
  EXPECT_EQ(window.clipboard, GetParam().clipboard);
  EXPECT_TRUE(window.ended_idle());
}

const KeywordsCase kKeywordsCases[] = {
    {"SeparatorAtTheEnd", {question_page("a,b,")}, entries({"a", "b"}), "a,b,"},
    {"SeparatorAtTheStartInEmptyBox", {question_page(",a,b")}, entries({"", "a", "b"}), ",a,b"},
    {"DoubledSeparatorSkipsTheEmptyItem", {question_page("a,,b")}, entries({"a", "b"}), "a,,b"},
    {"NoSeparatorIsOneWord", {question_page("a b c")}, entries({"a b c"}), "a b c"},
    {"LeadingSpaceIsKept", {question_page("a, b")}, entries({"a", " b"}), "a, b"},
    {"SameKeywordOnTwoPages", {question_page("a,b"), question_page("b,c")}, entries({"a", "b", "c"}), "b,c"},
    {"KeywordInsideEarlierEntry",
     {question_page("abc"), question_page("b,bcd")},
     entries({"abc", "bcd"}),
     "b,bcd"},
    {"KeywordsCompareWithLetterCase", {question_page("a,A")}, entries({"a", "A"}), "a,A"},
    {"DelimitersInAnotherCase",
     {"<META NAME=\"KEYWORDS\" CONTENT=\"x,y\"/><META NAME=\"d\">"},
     entries({"x", "y"}),
     "x,y"},
    {"LastPageWithoutKeywordsEmptiesTheClipboard",
     {question_page("a"), "<html>no metadata</html>"},
     entries({"a"}),
     ""},
    {"LeftDelimiterWithoutRight", {"<meta name=\"keywords\" content=\"a,b\">"}, "", ""},
    {"NulEndsTheQuestionPage", {std::string("<p>\0", 4) + question_page("a")}, "", ""},
    {"GbkKeywords",
     {question_page("\xB9\xC9\xC6\xB1,st,\xD2\xE2\xCB\xBC")},  // 股票,st,意思
     entries({"\xB9\xC9\xC6\xB1", "st", "\xD2\xE2\xCB\xBC"}),
     "\xB9\xC9\xC6\xB1,st,\xD2\xE2\xCB\xBC"},
};

INSTANTIATE_TEST_SUITE_P(Pages, KeywordsTextTest, ::testing::ValuesIn(kKeywordsCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(KeywordMethodTest, SearchPageWithoutLinksGoesToTheClipboard) {
  const std::string page = "<html><em>no links</em></html>";
  serve_search_page(page);
  const RunReport report = run_keyword_method(window, service);
  EXPECT_EQ(window.result, "");
  EXPECT_EQ(window.clipboard, page);
  EXPECT_EQ(report.links, 0);
  EXPECT_TRUE(window.calls_starting_with("read proxy").empty());
  EXPECT_TRUE(window.ended_idle());
}

TEST_F(KeywordMethodTest, UnreachableServiceLeavesTheClipboardAlone) {
  service.host = "127.0.0.1:" + std::to_string(free_loopback_port());
  window.result = "old";
  const RunReport report = run_keyword_method(window, service);
  EXPECT_FALSE(report.page_fetched);
  EXPECT_EQ(window.result, "");
  EXPECT_FALSE(window.clipboard.has_value());
  EXPECT_TRUE(window.ended_idle());
}

TEST_F(KeywordMethodTest, TooLongQuestionMakesNoRequest) {
  window.question = std::string(667, 'q');
  serve_search_page(search_page({server.url("/question/0.html")}));
  EXPECT_FALSE(run_keyword_method(window, service).page_fetched);
  EXPECT_EQ(server.request_count(), 0u);
  EXPECT_FALSE(window.clipboard.has_value());
  EXPECT_TRUE(window.ended_idle());
}

TEST_F(KeywordMethodTest, RepeatedLinkIsFetchedEachTimeButAppendedOnce) {
  const std::string link = server.url("/question/7.html");
  server.route("/question/7.html", ScriptedResponse::ok(question_page("k")));
  serve_search_page(search_page({link, link}));
  const RunReport report = run_keyword_method(window, service);
  EXPECT_EQ(requests_for("/question/7.html"), 2u);
  EXPECT_EQ(window.result, entries({"k"}));
  EXPECT_EQ(report.links_done, 2);
}

TEST_F(KeywordMethodTest, LinkWithoutSchemeIsFetchedOverHttp) {
  server.route("/question/1.html", ScriptedResponse::ok(question_page("k")));
  serve_search_page(search_page({server.host_port() + "/question/1.html"}));
  run_keyword_method(window, service);
  EXPECT_EQ(requests_for("/question/1.html"), 1u);
  EXPECT_EQ(window.result, entries({"k"}));
}

TEST_F(KeywordMethodTest, FailingQuestionPagesAreSkipped) {
  const std::string dead = "http://127.0.0.1:" + std::to_string(free_loopback_port()) + "/question/0.html";
  server.route("/question/1.html", ScriptedResponse::ok(question_page("k")));
  serve_search_page(search_page({dead, server.url("/question/1.html")}));
  const RunReport report = run_keyword_method(window, service);
  EXPECT_EQ(window.result, entries({"k"}));
  EXPECT_EQ(report.links_done, 2);
  EXPECT_EQ(report.timeouts, 0);
}

TEST_F(KeywordMethodTest, TimeOutMessageCountsAsTimeOutAndAddsNothing) {
  // The exact body a timed request returns when it gives up on a page.
  serve_questions({std::string(kTimeoutMessage), question_page("k")});
  const RunReport report = run_keyword_method(window, service);
  EXPECT_EQ(report.timeouts, 1);
  EXPECT_EQ(window.result, entries({"k"}));
}

TEST_F(KeywordMethodTest, RealPages) {
  // The captured search page's ten links, pointed at the loopback server, each answered with one of the
  // captured question pages in turn.
  const std::vector<std::string> pages = {
      "real/question-1000626.html",   "real/question-10207377.html", "real/question-10337431.html",
      "real/question-103374317.html", "real/question-1061321.html",  "real/question-10640085.html",
  };
  std::string search = read_data_file("real/search-surname-0.html");
  const std::string service_root = "http://zhidao.baidu.com/";
  std::atomic<std::size_t> link{0};
  for (std::size_t at = search.find(service_root); at != std::string::npos;
       at = search.find(service_root, at + 1)) {
    search.replace(at, service_root.size(), server.url("/"));
  }
  server.set_handler([&](const RecordedRequest& request) -> std::optional<ScriptedResponse> {
    if (request.path().rfind("/question/", 0) != 0) return std::nullopt;
    return ScriptedResponse::ok(read_data_file(pages[link++ % pages.size()]));
  });
  serve_search_page(search);

  const RunReport report = run_keyword_method(window, service);

  EXPECT_EQ(report.links, 10);
  EXPECT_EQ(report.links_done, 10);
  // 股票, 炒股票, st, 意思; the tenth link gets the fourth page, whose keywords are 股票.
  EXPECT_EQ(window.result,
            entries({"\xB9\xC9\xC6\xB1", "\xB3\xB4\xB9\xC9\xC6\xB1", "st", "\xD2\xE2\xCB\xBC"}));
  EXPECT_EQ(window.clipboard, "\xB9\xC9\xC6\xB1");
}

class KeywordProxyTest : public KeywordMethodTest {
 protected:
  // The question pages that came through the proxy: tinyproxy adds its Via header.
  std::vector<bool> via_proxy() const {
    std::vector<bool> out;
    for (const auto& request : server.requests()) {
      if (request.path().rfind("/question/", 0) == 0) out.push_back(request.header("Via").has_value());
    }
    return out;
  }
};

TEST_F(KeywordProxyTest, ProxyTextIsReadForEveryLink) {
  Tinyproxy proxy;
  ASSERT_TRUE(proxy.ok()) << proxy.error();
  serve_questions({question_page("a"), question_page("b"), question_page("c")});
  // Empty at first (direct), then typed in while the run goes on.
  window.proxies = {"", proxy.proxy()};

  run_keyword_method(window, service);

  EXPECT_THAT(via_proxy(), ElementsAre(false, true, true));
  EXPECT_EQ(window.result, entries({"a", "b", "c"}));
  // The search page itself never goes through the proxy box.
  EXPECT_FALSE(server.requests().front().header("Via").has_value());
}

TEST_F(KeywordProxyTest, UnusableProxyLeavesTheResultEmpty) {
  serve_questions({question_page("a")});
  window.proxies = {"127.0.0.1:" + std::to_string(free_loopback_port())};
  const RunReport report = run_keyword_method(window, service);
  EXPECT_TRUE(report.page_fetched);
  EXPECT_EQ(window.result, "");
  EXPECT_EQ(window.clipboard, "");
  EXPECT_TRUE(window.ended_idle());
}

}  // namespace
}  // namespace lexomir::testing
