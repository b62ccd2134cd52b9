#include "text/regex_matcher.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/regexp/regexp.h"

namespace lexomir {
namespace {

TEST(RegexMatcher, NewMatcherHoldsNothing) {
  RegexMatcher matcher;
  EXPECT_EQ(matcher.match_count(), 0);
  EXPECT_EQ(matcher.group_count(), 0);
  EXPECT_EQ(matcher.pattern(), "");
  EXPECT_EQ(matcher.match_text(1), "");
  EXPECT_EQ(matcher.replace("x"), "");
}

TEST(RegexMatcher, AcceptedPatternWithoutMatchIsTrue) {
  RegexMatcher matcher;
  EXPECT_TRUE(matcher.execute("z(.)", "abc"));
  EXPECT_EQ(matcher.match_count(), 0);
  EXPECT_EQ(matcher.group_count(), 0);
  EXPECT_EQ(matcher.pattern(), "z(.)");
}

TEST(RegexMatcher, RejectedPatternLeavesNoMatches) {
  RegexMatcher matcher;
  ASSERT_TRUE(matcher.execute("(a)", "a"));
  // A left delimiter ending in a backslash takes the meaning away from the group's opening bracket.
  EXPECT_FALSE(matcher.execute("x\\(.*?)</em>", "x(a)</em>"));
  EXPECT_EQ(matcher.match_count(), 0);
  EXPECT_EQ(matcher.match_text(1), "");
  EXPECT_EQ(matcher.group_text(1, 1), "");
  EXPECT_EQ(matcher.replace("y"), "");
}

TEST(RegexMatcher, MatchesAndGroupsAreOneBasedAndEmptyOutOfRange) {
  RegexMatcher matcher;
  ASSERT_TRUE(matcher.execute("(a)|(b)", "xbya"));
  ASSERT_EQ(matcher.match_count(), 2);
  EXPECT_EQ(matcher.group_count(), 2);
  EXPECT_EQ(matcher.match_text(1), "b");
  EXPECT_EQ(matcher.match_text(2), "a");
  EXPECT_EQ(matcher.group_text(1, 1), "");  // took no part in the match
  EXPECT_EQ(matcher.group_text(1, 2), "b");
  EXPECT_EQ(matcher.group_text(2, 1), "a");
  for (auto [i, j] : {std::pair{0, 1}, {3, 1}, {1, 0}, {1, 3}, {-1, -1}}) {
    EXPECT_EQ(matcher.group_text(i, j), "") << i << "," << j;
  }
  EXPECT_EQ(matcher.match_text(0), "");
  EXPECT_EQ(matcher.match_text(3), "");
}

TEST(RegexMatcher, DotTakesAWholeChineseCharacterButNoLineFeed) {
  RegexMatcher matcher;
  // 中文字 D6D0 CEC4 D7D6
  ASSERT_TRUE(matcher.execute("\xD6\xD0(.)", "\xD6\xD0\xCE\xC4\xD7\xD6"));
  EXPECT_EQ(matcher.group_text(1, 1), "\xCE\xC4");
  ASSERT_TRUE(matcher.execute("a(.)b", "a\nb a\rb"));
  ASSERT_EQ(matcher.match_count(), 1);
  EXPECT_EQ(matcher.group_text(1, 1), "\r");
}

TEST(RegexMatcher, Options) {
  RegexMatcher matcher;
  ASSERT_TRUE(matcher.execute("A", "aA"));
  EXPECT_EQ(matcher.match_count(), 2);  // letters ignore case unless asked
  ASSERT_TRUE(matcher.execute("A", "aA", true));
  EXPECT_EQ(matcher.match_count(), 1);
  ASSERT_TRUE(matcher.execute("^b", "a\nb"));
  EXPECT_EQ(matcher.match_count(), 1);
  ASSERT_TRUE(matcher.execute("^b", "a\nb", false, false));
  EXPECT_EQ(matcher.match_count(), 0);
  ASSERT_TRUE(matcher.execute("a", "aaa", false, true, false));
  EXPECT_EQ(matcher.match_count(), 1);
  // After an empty match the scan moves on by one character.
  ASSERT_TRUE(matcher.execute("x*",
                              "\xD6\xD0"
                              "b"));
  EXPECT_EQ(matcher.match_count(), 3);
}

TEST(RegexMatcher, PositionsAreByteOffsetsOfTheTextItself) {
  RegexMatcher matcher;
  // 中中aba: the match "ba" begins at character 3 but byte 5, its group at byte 6. Searching for the group's
  // text from the match's character index would find the earlier "a" at byte 4.
  ASSERT_TRUE(matcher.execute("b(a)",
                              "\xD6\xD0\xD6\xD0"
                              "aba"));
  int position = 0;
  EXPECT_EQ(matcher.match_text(1, &position), "ba");
  EXPECT_EQ(position, 5);
  EXPECT_EQ(matcher.group_text(1, 1, &position), "a");
  EXPECT_EQ(position, 6);
  ASSERT_TRUE(matcher.execute("(x)?y", "\xD6\xD0y"));
  EXPECT_EQ(matcher.group_text(1, 1, &position), "");
  EXPECT_EQ(position, -2);
  EXPECT_EQ(matcher.match_text(2, &position), "");
  EXPECT_EQ(position, -2);
}

TEST(RegexMatcher, ReplaceWorksOnTheStoredSubject) {
  RegexMatcher matcher;
  ASSERT_TRUE(matcher.execute("a(.)", "a1 A\xD6\xD0 a"));
  EXPECT_EQ(matcher.replace("<$1>"), "<1> <\xD6\xD0> a");
  EXPECT_EQ(matcher.replace("[$&|$$|$2]"), "[a1|$|$2] [A\xD6\xD0|$|$2] a");
  ASSERT_TRUE(matcher.execute("a", "aa", false, true, false));
  EXPECT_EQ(matcher.replace("b"), "ba");
}

TEST(RegexMatcher, ThreadInitialisationStaysPaired) {
  const int before = platform::co_initialize_depth();
  {
    RegexMatcher matcher;
    EXPECT_EQ(platform::co_initialize_depth(), before + 1);
    ASSERT_TRUE(matcher.execute("(b)", "abc"));
    {
      RegexMatcher copy(matcher);
      EXPECT_EQ(copy.group_text(1, 1), "b");
      EXPECT_EQ(copy.pattern(), "(b)");
    }
    // The copy did not initialise the thread, so it did not end that either.
    EXPECT_EQ(platform::co_initialize_depth(), before + 1);
    EXPECT_EQ(matcher.group_text(1, 1), "b");
  }
  EXPECT_EQ(platform::co_initialize_depth(), before);
}

TEST(EscapePattern, EscapesTheNineCharactersOnly) {
  EXPECT_EQ(escape_pattern("{x}(y)?"), "\\{x\\}\\(y\\)\\?");
  EXPECT_EQ(escape_pattern("?*+[](){}"), "\\?\\*\\+\\[\\]\\(\\)\\{\\}");
  EXPECT_EQ(escape_pattern(".^$|\\"), ".^$|\\");
  // 0x5B and 0x7B as second bytes belong to their characters.
  EXPECT_EQ(escape_pattern("\x81[\x81{"), "\x81[\x81{");
  EXPECT_EQ(escape_pattern(""), "");
}

TEST(FivePairReplace, EachPairWorksOnTheResultOfTheOneBefore) {
  EXPECT_EQ(five_pair_replace("ab", std::nullopt, std::nullopt, false, {"a", "b"}, ReplacePair{"b", "c"}),
            "cc");
  EXPECT_EQ(five_pair_replace("aaa", 1, std::nullopt, false, {"a", "b"}), "baa");
  EXPECT_EQ(five_pair_replace("aaa", std::nullopt, 0, false, {"a", "b"}), "bbb");
  EXPECT_EQ(five_pair_replace("aaa", std::nullopt, 2, false, {"a", "b"}), "abb");
  EXPECT_EQ(five_pair_replace("Aa", std::nullopt, std::nullopt, true, {"a", "b"}), "Ab");
  EXPECT_EQ(five_pair_replace("Aa", std::nullopt, std::nullopt, false, {"a", "b"}), "bb");
  EXPECT_EQ(five_pair_replace("ab", std::nullopt, std::nullopt, false, {"", "x"}, ReplacePair{"", "y"},
                              ReplacePair{"b", "c"}),
            "ac");
}

}  // namespace
}  // namespace lexomir
