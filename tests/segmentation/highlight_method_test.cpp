#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "segmentation/methods.h"
#include "tests/segmentation/method_fixture.h"
#include "tests/support/free_port.h"
#include "tests/support/test_data.h"

namespace lexomir::testing {
namespace {

using ::testing::ElementsAre;

class HighlightMethodTest : public MethodTest {};

TEST_F(HighlightMethodTest, AsksForTheWholeQuestionAndAppendsEachNewFragment) {
  window.question = "\xC4\xE3\xBA\xC3 a";  // "你好 a"
  window.result = "left from an earlier run";
  serve_search_page("<p><em>one</em> and <em>two</em></p>");

  const RunReport report = run_highlight_method(window, service);

  ASSERT_EQ(server.request_count(), 1u);
  EXPECT_EQ(server.last_request().path(), search_path("%C4%E3%BA%C3%20%61"));
  EXPECT_EQ(window.result, entries({"one", "two"}));
  EXPECT_THAT(window.calls,
              ElementsAre("enabled 0", std::string("caption ") + kRunningCaption, "set result ",
                          "read question", "read result", "append one\xA3\xBB", "read result",
                          "append two\xA3\xBB", "enabled 1", std::string("caption ") + kIdleCaption));
  EXPECT_FALSE(window.clipboard.has_value());
  EXPECT_TRUE(report.page_fetched);
  EXPECT_EQ(report.fragments, 2);
  EXPECT_EQ(report.words_appended, 2);
}

struct PageCase {
  const char* name;
  std::string page;
  Text result;
};

class HighlightPageTest : public HighlightMethodTest, public ::testing::WithParamInterface<PageCase> {};

TEST_P(HighlightPageTest, ResultFollowsTheFragmentsInPageOrder) {
  serve_search_page(GetParam().page);
  run_highlight_method(window, service);
  EXPECT_EQ(window.result, GetParam().result);
  EXPECT_TRUE(window.ended_idle());
}

const PageCase kPageCases[] = {
    {"RepeatedFragmentOnceAtFirstPlace", "<em>b</em><em>a</em><em>b</em>", entries({"b", "a"})},
    {"FragmentInsideEarlierEntrySkipped", "<em>abc</em><em>b</em><em>bc</em>", entries({"abc"})},
    {"FragmentHoldingEarlierEntryAppended", "<em>b</em><em>abc</em><em>b</em>", entries({"b", "abc"})},
    {"LetterCaseMakesTwoWords", "<em>Ab</em><em>ab</em><em>AB</em>", entries({"Ab", "ab", "AB"})},
    {"EmptyFragmentFirstIsAnEntry", "<em></em><em>a</em><em></em>", entries({"", "a"})},
    {"EmptyFragmentLaterIsSkipped", "<em>a</em><em></em><em>b</em>", entries({"a", "b"})},
    {"UpperCaseDelimiters", "<EM>a</EM><Em>b</eM>", entries({"a", "b"})},
    {"MarkupAndSpacesKeptAsWritten", "<em> a<b>c</b> &amp; </em>", entries({" a<b>c</b> &amp; "})},
    {"NoFragmentAcrossALineBreak", "<em>a\nb</em><em>c</em>", entries({"c"})},
    {"CarriageReturnIsNoLineBreak", "<em>a\rb</em>", entries({"a\rb"})},
    {"NulEndsThePage", std::string("<em>a</em>\0<em>b</em>", 21), entries({"a"})},
    {"GbkFragments", "<em>\xD0\xD5\xCA\xCF</em><em>\xD0\xD5</em><em>\xCA\xCF\xC3\xFB</em>",
     // 姓氏, 姓 (inside 姓氏), 氏名
     entries({"\xD0\xD5\xCA\xCF", "\xCA\xCF\xC3\xFB"})},
    {"NoFragments", "<html>nothing highlighted</html>", ""},
};

INSTANTIATE_TEST_SUITE_P(Pages, HighlightPageTest, ::testing::ValuesIn(kPageCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(HighlightMethodTest, RealSearchPage) {
  serve_search_page(read_data_file("real/search-surname-0.html"));
  const RunReport report = run_highlight_method(window, service);
  EXPECT_EQ(
      window.result,
      entries({
          "\xD6\xD0\xB9\xFA\xD7\xEE\xB3\xA4\xD0\xD5\xCA\xCF",                          // 中国最长姓氏
          "\xEC\xE0\xBA\xAA\xC9\xC7\xCB\xC2\xCE\xE4\xC4\xC2\xD4\xC6\xBC\xAE\xF7\xB8",  // 爨邯汕寺武穆云籍鞲
          "\xD3\xD0\xBA\xCE\xBA\xAC\xD2\xE5",                                          // 有何含义
          "\xD6\xD0\xB9\xFA\xD0\xD5\xCA\xCF",                                          // 中国姓氏
          "\xD0\xD5\xCA\xCF\xD7\xEE\xB3\xA4",                                          // 姓氏最长
          "\xD6\xD0\xB9\xFA\xD0\xD5\xCA\xCF\xD3\xD0",                                  // 中国姓氏有
          "\xD3\xD0\xD6\xD0\xB9\xFA\xD7\xEE\xB3\xA4",                                  // 有中国最长
          // 中国最长(姓)氏&quot;爨&lt;邯&gt;汕/寺\武穆云籍鞲&quot;有何含义?
          "\xD6\xD0\xB9\xFA\xD7\xEE\xB3\xA4(\xD0\xD5)\xCA\xCF&quot;\xEC\xE0&lt;\xBA\xAA&gt;\xC9\xC7/"
          "\xCB\xC2\\"
          "\xCE\xE4\xC4\xC2\xD4\xC6\xBC\xAE\xF7\xB8&quot;\xD3\xD0\xBA\xCE\xBA\xAC\xD2\xE5?",
      }));
  EXPECT_EQ(report.fragments, 86);
}

TEST_F(HighlightMethodTest, ClearingTheBoxMidRunLetsEarlierWordsBack) {
  serve_search_page("<em>a</em><em>b</em><em>a</em>");
  bool cleared = false;
  window.after_append = [&cleared](RecordingWindow& w) {
    if (!cleared) w.result.clear();
    cleared = true;
  };
  run_highlight_method(window, service);
  EXPECT_EQ(window.result, entries({"b", "a"}));
}

TEST_F(HighlightMethodTest, EmptyQuestionIsAskedAllTheSame) {
  serve_search_page("<em>x</em>");
  run_highlight_method(window, service);
  ASSERT_EQ(server.request_count(), 1u);
  EXPECT_EQ(server.last_request().path(), search_path(""));
  EXPECT_EQ(window.result, entries({"x"}));
}

TEST_F(HighlightMethodTest, QuestionLengthLimit) {
  serve_search_page("<em>x</em>");
  // 666 bytes make a path with query of 2046 characters: still fetched.
  window.question = std::string(666, 'q');
  EXPECT_TRUE(run_highlight_method(window, service).page_fetched);
  EXPECT_EQ(window.result, entries({"x"}));
  ASSERT_EQ(server.request_count(), 1u);
  EXPECT_EQ(server.last_request().path().size(), 2046u);

  // 667 bytes make 2049: the fetch fails before anything is sent.
  window.question = std::string(667, 'q');
  window.calls.clear();
  const RunReport report = run_highlight_method(window, service);
  EXPECT_FALSE(report.page_fetched);
  EXPECT_EQ(window.result, "");
  EXPECT_EQ(server.request_count(), 1u);
  EXPECT_TRUE(window.ended_idle());
}

TEST_F(HighlightMethodTest, UnreachableServiceLeavesAnEmptyResultAndAnIdleButton) {
  service.host = "127.0.0.1:" + std::to_string(free_loopback_port());
  window.result = "old";
  const RunReport report = run_highlight_method(window, service);
  EXPECT_FALSE(report.page_fetched);
  EXPECT_EQ(window.result, "");
  EXPECT_TRUE(window.calls_starting_with("append").empty());
  EXPECT_TRUE(window.ended_idle());
}

TEST_F(HighlightMethodTest, ErrorPageIsSearchedLikeAnyOther) {
  ScriptedResponse missing = ScriptedResponse::ok("<em>gone</em>");
  missing.status_line = "HTTP/1.1 404 Not Found";
  server.route_prefix("/search?", missing);
  run_highlight_method(window, service);
  EXPECT_EQ(window.result, entries({"gone"}));
}

}  // namespace
}  // namespace lexomir::testing
