#include "text/delimited.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/support/test_data.h"
#include "text/primitives.h"

namespace lexomir {
namespace {

struct MiddleRow {
  std::string name;
  Text text;
  Text left;
  Text right;
  int start;
  bool exact_case;
  Text expected;
};

class MiddleTextTest : public ::testing::TestWithParam<MiddleRow> {};

TEST_P(MiddleTextTest, TextBetweenDelimiters) {
  const MiddleRow& row = GetParam();
  EXPECT_EQ(middle_text(row.text, row.left, row.right, row.start, row.exact_case), row.expected);
}

const Text kQuote = kQuotePlaceholder;

INSTANTIATE_TEST_SUITE_P(
    Rows, MiddleTextTest,
    ::testing::Values(
        MiddleRow{"RightSearchedAfterLeft", "a<b>c<b>d", "<b>", "<b>", 0, false, "c"},
        MiddleRow{"QuotePlaceholder", "x=\"1\" y", "x=" + kQuote, kQuote, 0, false, "1"},
        MiddleRow{"PlaceholderEveryOccurrence", "\"\"v\"\"", kQuote + kQuote, kQuote + kQuote, 0, false, "v"},
        MiddleRow{"IgnoresCaseByDefault", "KEY=v;", "key=", ";", 0, false, "v"},
        MiddleRow{"ExactCase", "KEY=v;", "key=", ";", 0, true, ""},
        MiddleRow{"RightIgnoresCaseToo", "<a>v</A>", "<a>", "</a>", 0, false, "v"},
        MiddleRow{"LeftMissing", "abc", "<", ">", 0, false, ""},
        MiddleRow{"RightMissing", "a<bc", "<", ">", 0, false, ""},
        MiddleRow{"RightOnlyBeforeLeft", "a>b<c", "<", ">", 0, false, ""},
        MiddleRow{"EmptyBetween", "a<>b", "<", ">", 0, false, ""},
        MiddleRow{"EmptyLeftMeansWholeText", "ab;c", "", ";", 0, false, "ab"},
        MiddleRow{"EmptyRightAlwaysEmpty", "a<bc", "<", "", 0, false, ""},
        MiddleRow{"EmptyText", "", "<", ">", 0, false, ""},
        MiddleRow{"FirstLeftOccurrence", "<1><2>", "<", ">", 0, false, "1"},
        MiddleRow{"StartSkipsEarlierLeft", "<1><2>", "<", ">", 2, false, "2"},
        // The start only places the left delimiter; a right delimiter right after it still counts.
        MiddleRow{"StartDoesNotSkipIntoRest", "xx<a>yyy>", "<", ">", 3, false, "a"},
        MiddleRow{"StartBeyondEnd", "<1>", "<", ">", 9, false, ""},
        MiddleRow{"NegativeStart", "<1>", "<", ">", -5, false, "1"},
        // 丄 (81 41) ends in 'A': the right delimiter "a" is not found inside it.
        MiddleRow{"DelimiterNotOnSecondByte",
                  "<\x81\x41x"
                  "a",
                  "<", "a", 0, false, "\x81\x41x"}),
    [](const auto& info) { return info.param.name; });

struct BeforeRow {
  std::string name;
  Text text;
  Text delimiter;
  int start;
  bool ignore_case;
  Text expected;
};

class TextBeforeTest : public ::testing::TestWithParam<BeforeRow> {};

TEST_P(TextBeforeTest, TextBeforeFirstDelimiter) {
  const BeforeRow& row = GetParam();
  EXPECT_EQ(text_before(row.text, row.delimiter, row.start, row.ignore_case), row.expected);
}

INSTANTIATE_TEST_SUITE_P(Rows, TextBeforeTest,
                         ::testing::Values(BeforeRow{"Found", "a=1;b=2", ";", 1, false, "a=1"},
                                           BeforeRow{"Missing", "a=1", ";", 1, false, ""},
                                           BeforeRow{"AtStart", ";a", ";", 1, false, ""},
                                           BeforeRow{"ExactByDefault", "Ab;", "B", 1, false, ""},
                                           BeforeRow{"IgnoringCase", "Ab;", "B", 1, true, "A"},
                                           BeforeRow{"StartZeroMeansOne", "a;b;", ";", 0, false, "a"},
                                           BeforeRow{"StartNegativeMeansOne", "a;b;", ";", -9, false, "a"},
                                           // The result still runs from the text's first byte.
                                           BeforeRow{"LaterStart", "a;b;", ";", 3, false, "a;b"},
                                           BeforeRow{"StartBeyondEnd", "a;b;", ";", 99, false, ""},
                                           BeforeRow{"EmptyDelimiter", "abc", "", 1, false, ""},
                                           BeforeRow{"EmptyText", "", ";", 1, false, ""}),
                         [](const auto& info) { return info.param.name; });

// The keywords metadata of real question pages, cut with the delimiters the keyword method uses.
struct PageRow {
  std::string name;
  std::string file;
  Text keywords;
};

class MiddleTextRealPageTest : public ::testing::TestWithParam<PageRow> {};

TEST_P(MiddleTextRealPageTest, CutsKeywords) {
  const PageRow& row = GetParam();
  const Text page = bytes_to_text(testing::read_data_file("real/" + row.file));
  ASSERT_FALSE(page.empty()) << row.file;
  EXPECT_EQ(middle_text(page, "keywords\" content=\"", "\"/><meta name="), row.keywords);
  // The same delimiters written with the placeholder find the same text.
  EXPECT_EQ(middle_text(page, "keywords" + kQuote + " content=" + kQuote, kQuote + "/><meta name="),
            row.keywords);
}

INSTANTIATE_TEST_SUITE_P(Rows, MiddleTextRealPageTest,
                         ::testing::Values(
                             // 炒股票
                             PageRow{"OneKeyword", "question-10207377.html", "\xB3\xB4\xB9\xC9\xC6\xB1"},
                             // 股票,st,意思
                             PageRow{"SeveralKeywords", "question-1061321.html",
                                     "\xB9\xC9\xC6\xB1,st,\xD2\xE2\xCB\xBC"}),
                         [](const auto& info) { return info.param.name; });

}  // namespace
}  // namespace lexomir
