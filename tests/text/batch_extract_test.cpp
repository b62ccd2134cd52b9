#include "text/batch_extract.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/regexp/regexp.h"
#include "tests/support/test_data.h"

namespace lexomir {
namespace {

struct ExtractCase {
  const char* name;
  Text subject;
  TextArray expected;
  ExtractOptions options = {};
  Text left = "<em>";
  Text right = "</em>";
};

class BatchExtractTest : public ::testing::TestWithParam<ExtractCase> {};

TEST_P(BatchExtractTest, Items) {
  const ExtractCase& c = GetParam();
  TextArray output = {"left over"};
  EXPECT_EQ(batch_extract(c.subject, c.left, c.right, output, c.options),
            static_cast<int>(c.expected.size()));
  EXPECT_EQ(output, c.expected);
}

ExtractOptions wrapped(int max_length) {
  ExtractOptions options;
  options.max_length = max_length;
  options.prefix = "[";
  options.suffix = "]";
  options.put_left_back = true;
  options.put_right_back = true;
  return options;
}

ExtractOptions limited(int max_length) {
  ExtractOptions options;
  options.max_length = max_length;
  return options;
}

ExtractOptions right_back_only(int max_length) {
  ExtractOptions options;
  options.max_length = max_length;
  options.put_right_back = true;
  return options;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, BatchExtractTest,
    ::testing::Values(
        ExtractCase{
            "CaseOfDelimitersIgnoredAndEmptyItemKept", "x<em>a</em>y<EM>b</em><em></em>", {"a", "b", ""}},
        ExtractCase{"LeftInsideAnItemBelongsToIt", "<em>a<em>b</em>", {"a<em>b"}},
        ExtractCase{"NoItemAcrossALineFeed", "<em>a\nb</em>", {}},
        ExtractCase{"CarriageReturnIsNoLineBreak", "<em>a\r</em>", {"a\r"}},
        ExtractCase{"NoDelimiterEmptiesTheOutput", "plain text", {}}, ExtractCase{"EmptySubject", "", {}},
        ExtractCase{"ItemsKeepMarkupAndSpaces", "<em> <b>x</b> </em>", {" <b>x</b> "}},
        // 中 is two bytes: longer than a maximum of 1.
        ExtractCase{"MaximumLengthCountsBytes", "<em>\xD6\xD0</em><em>a</em>", {"a"}, limited(1)},
        ExtractCase{"NegativeMaximumDropsEverything", "<em>a</em><em></em>", {}, limited(-1)},
        ExtractCase{"PrefixSuffixAndBothDelimitersBack", "<em>a</em>", {"<em>[a]</em>"}, wrapped(0)},
        ExtractCase{"WithAMaximumTheLeftDelimiterWins", "<em>a</em>", {"<em>[a]"}, wrapped(5)},
        ExtractCase{"WithAMaximumTheRightComesBackAlone", "<em>a</em>", {"a</em>"}, right_back_only(5)},
        ExtractCase{"DelimitersGoBackAsGiven", "<EM>a</EM>", {"<em>[a]</em>"}, wrapped(0)},
        ExtractCase{"DotInADelimiterIsAPattern", "abcX;", {"X"}, {}, "a.c", ";"},
        ExtractCase{"SpecialCharactersAreLiteral", "(a)x[b] (a)+y[b]", {"x", "+y"}, {}, "(a)", "[b]"},
        ExtractCase{"BackslashAtTheEndOfLeftIsRejected", "x\\(a)</em>", {}, {}, "x\\"},
        ExtractCase{
            "ChineseDelimiters", "\xA1\xBE\xD6\xD0\xA1\xBF", {"\xD6\xD0"}, {}, "\xA1\xBE", "\xA1\xBF"},
        ExtractCase{"LoneLeadByteAtTheEnd", "<em>a</em>\xD6", {"a"}},
        ExtractCase{"ZeroByteEndsTheSubject", std::string("<em>a</em>\0<em>b</em>", 21), {"a"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(BatchExtract, RealSearchPageHighlights) {
  const Text page = testing::read_data_file("real/search-surname-0.html");
  ASSERT_FALSE(page.empty());
  TextArray items;
  ASSERT_EQ(batch_extract(page, "<em>", "</em>", items), 86);
  EXPECT_EQ(items[0], "\xD6\xD0\xB9\xFA\xD7\xEE\xB3\xA4\xD0\xD5\xCA\xCF");  // 中国最长姓氏
  EXPECT_EQ(
      items[1],
      "\xEC\xE0\xBA\xAA\xC9\xC7\xCB\xC2\xCE\xE4\xC4\xC2\xD4\xC6\xBC\xAE\xF7\xB8");  // 爨邯汕寺武穆云籍鞲
  EXPECT_EQ(items[3], "\xD0\xD5");                                                  // 姓
  // The last one holds markup escapes, brackets and a backslash, all as written.
  EXPECT_EQ(items[85],
            "\xD6\xD0\xB9\xFA\xD7\xEE\xB3\xA4(\xD0\xD5)\xCA\xCF&quot;\xEC\xE0&lt;\xBA\xAA&gt;\xC9\xC7/"
            "\xCB\xC2\\\xCE\xE4"
            "\xC4\xC2\xD4\xC6\xBC\xAE\xF7\xB8&quot;\xD3\xD0\xBA\xCE\xBA\xAC\xD2\xE5?");
}

TEST(BatchExtract, RealSearchPageQuestionLinks) {
  const Text page = testing::read_data_file("real/search-surname-0.html");
  TextArray links;
  ASSERT_EQ(batch_extract(page, ">  <a href=\"", "\" ", links), 10);
  EXPECT_EQ(links[0], "http://zhidao.baidu.com/question/550103806.html");
  EXPECT_EQ(links[1], "http://zhidao.baidu.com/question/535571525.html");
  EXPECT_EQ(links[2], "http://zhidao.baidu.com/question/28539401.html");
}

TEST(BatchExtract, InvalidGbkComesBackAsTheConverterWritesIt) {
  TextArray items;
  // 81 20 is no character; FF has no GBK code of its own.
  ASSERT_EQ(batch_extract("<em>\x81 x</em><em>\xFF</em>", "<em>", "</em>", items), 2);
  EXPECT_EQ(items[0], "? x");
  EXPECT_EQ(items[0].find('\0'), std::string::npos);
  EXPECT_EQ(items[1].find('\0'), std::string::npos);
}

TEST(BatchExtract, InitialisesTheThreadOnlyWhileItRuns) {
  const int before = platform::co_initialize_depth();
  TextArray items;
  batch_extract("<em>a</em>", "<em>", "</em>", items);
  batch_extract("x", "x\\", "y", items);  // rejected pattern
  EXPECT_EQ(platform::co_initialize_depth(), before);
}

TEST(BatchExtract, LargePages) {
  Text page;
  for (int i = 0; i < 100000; ++i) page += "<li><em>\xD6\xD0</em> \xCE\xC4</li>\n";
  TextArray items;
  ASSERT_EQ(batch_extract(page, "<em>", "</em>", items), 100000);
  EXPECT_EQ(items.back(), "\xD6\xD0");
  // One long line of openings with nothing to close them ends, with nothing found.
  const Text unclosed(1 << 20, 'x');
  Text openings;
  for (int i = 0; i < 20000; ++i) openings += "<em>xxxxxxxxxxxxxxxxxxxxxxx";
  EXPECT_EQ(batch_extract(openings + unclosed, "<em>", "</em>", items), 0);
  EXPECT_EQ(batch_extract(openings + unclosed + "\n<em>z</em>", "<em>", "</em>", items), 1);
  // An item as long as the page.
  EXPECT_EQ(batch_extract("<em>" + unclosed + "</em>", "<em>", "</em>", items), 1);
  EXPECT_EQ(items[0].size(), unclosed.size());
}

}  // namespace
}  // namespace lexomir
