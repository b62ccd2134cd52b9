#include "text/primitives.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <limits>
#include <optional>
#include <string>

namespace lexomir {
namespace {

constexpr int kIntMax = std::numeric_limits<int>::max();
constexpr int kIntMin = std::numeric_limits<int>::min();

// GBK samples. 丄 is 81 41: its second byte is the letter 'A'. 中 is D6 D0, 文 is CE C4.
const Text kShang = "\x81\x41";
const Text kZhong = "\xD6\xD0";
const Text kWen = "\xCE\xC4";
const Text kFullSpace = "\xA1\xA1";

template <typename Row>
std::string row_name(const ::testing::TestParamInfo<Row>& info) {
  return info.param.name;
}

// ---- search ----

struct SearchRow {
  std::string name;
  Text text;
  Text sought;
  std::optional<int> start;
  bool ignore_case;
  int expected;
};

class SearchTest : public ::testing::TestWithParam<SearchRow> {};

TEST_P(SearchTest, FindsFirstOccurrenceOnCharacterBoundary) {
  const SearchRow& row = GetParam();
  EXPECT_EQ(search(row.text, row.sought, row.start, row.ignore_case), row.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, SearchTest,
    ::testing::Values(SearchRow{"SecondByteIsNeverCandidate", kShang + "A", "A", std::nullopt, false, 3},
                      SearchRow{"SecondByteNotFoundIgnoringCase", kShang + "b", "a", std::nullopt, true, -1},
                      SearchRow{"FoldsOnlyOneByteCharacters", kShang, "\x81\x61", std::nullopt, true, -1},
                      SearchRow{"MatchStraddlingCharactersNotFound", "\xA1\xB0\xA1", "\xB0\xA1", std::nullopt,
                                false, -1},
                      SearchRow{"AfterTwoByteCharacters", kZhong + kWen + "x", "x", std::nullopt, false, 5},
                      SearchRow{"TwoByteSought", "a" + kZhong + kWen, kWen, std::nullopt, false, 4},
                      SearchRow{"EmptyInText", "abc", "", std::nullopt, false, 1},
                      SearchRow{"EmptyFromLaterStartStillOne", "abc", "", 3, false, 1},
                      SearchRow{"EmptyPastEnd", "abc", "", 4, false, -1},
                      SearchRow{"EmptyInEmpty", "", "", std::nullopt, false, -1},
                      SearchRow{"StartBeyondEnd", "abc", "c", 5, false, -1},
                      SearchRow{"StartAtMatch", "abcabc", "abc", 4, false, 4},
                      SearchRow{"StartZeroMeansOne", "abc", "a", 0, false, 1},
                      SearchRow{"NegativeStart", "abc", "a", -7, false, 1},
                      SearchRow{"HugeStart", "abc", "a", kIntMax, false, -1},
                      SearchRow{"MinimumStart", "abc", "c", kIntMin, false, 3},
                      SearchRow{"ExactByDefault", "abc", "B", std::nullopt, false, -1},
                      SearchRow{"IgnoringCase", "abc", "B", std::nullopt, true, 2},
                      SearchRow{"SoughtLongerThanText", "ab", "abc", std::nullopt, false, -1},
                      SearchRow{"SoughtInEmptyText", "", "a", std::nullopt, false, -1},
                      SearchRow{"LoneLeadByteAtEndMatchesItself", "a\x81", "\x81", std::nullopt, false, 2},
                      SearchRow{"LoneLeadByteAtEndNoOverread", "a\x81", "\x81\x41", std::nullopt, false, -1},
                      SearchRow{"StartOnSecondByteWalksFromThere", kShang + "A", "A", 2, false, 2}),
    row_name<SearchRow>);

// ---- replace occurrences ----

struct ReplaceRow {
  std::string name;
  Text text;
  Text old_text;
  Text new_text;
  std::optional<int> start;
  int count;
  bool exact_case;
  Text expected;
};

class ReplaceTest : public ::testing::TestWithParam<ReplaceRow> {};

TEST_P(ReplaceTest, ReplacesLeftToRightWithoutOverlap) {
  const ReplaceRow& row = GetParam();
  EXPECT_EQ(replace_occurrences(row.text, row.old_text, row.new_text, row.start, row.count, row.exact_case),
            row.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, ReplaceTest,
    ::testing::Values(
        ReplaceRow{"IgnoresCaseByDefault", "Aaa", "a", "b", std::nullopt, -1, false, "bbb"},
        ReplaceRow{"ExactCase", "Aaa", "a", "b", std::nullopt, -1, true, "Abb"},
        ReplaceRow{"NoOverlap", "aaaa", "aa", "b", std::nullopt, -1, false, "bb"},
        ReplaceRow{"CountOne", "aaaa", "aa", "b", std::nullopt, 1, false, "baa"},
        ReplaceRow{"StartTwo", "aaaa", "aa", "b", 2, -1, false, "aba"},
        ReplaceRow{"CountZeroUnchanged", "aaaa", "a", "b", std::nullopt, 0, false, "aaaa"},
        ReplaceRow{"EmptyOldUnchanged", "abc", "", "x", std::nullopt, -1, false, "abc"},
        ReplaceRow{"EmptyText", "", "a", "x", std::nullopt, -1, false, ""},
        ReplaceRow{"StartBeyondEndUnchanged", "abc", "c", "x", 4, -1, false, "abc"},
        ReplaceRow{"HugeStartUnchanged", "abc", "c", "x", kIntMax, -1, false, "abc"},
        ReplaceRow{"NegativeStartMeansOne", "abc", "a", "x", -3, -1, false, "xbc"},
        ReplaceRow{"DeleteByDefaultNew", "a-b-c", "-", "", std::nullopt, -1, false, "abc"},
        ReplaceRow{"InsertedTextNotSearchedAgain", "ab", "a", "aa", std::nullopt, -1, false, "aab"},
        ReplaceRow{"SecondByteNotReplaced", kShang + "A", "a", "x", std::nullopt, -1, false, kShang + "x"},
        ReplaceRow{"TwoByteOld", kZhong + kWen + kZhong, kZhong, "z", std::nullopt, -1, true,
                   "z" + kWen + "z"},
        ReplaceRow{"LoneLeadByteAtEndKept", "a\x81", "a", "b", std::nullopt, -1, false, "b\x81"}),
    row_name<ReplaceRow>);

// ---- split ----

struct SplitRow {
  std::string name;
  Text text;
  Text separator;
  std::optional<int> max_items;
  TextArray expected;
};

class SplitTest : public ::testing::TestWithParam<SplitRow> {};

TEST_P(SplitTest, SplitsAtEverySeparator) {
  const SplitRow& row = GetParam();
  EXPECT_EQ(split(row.text, row.separator, row.max_items), row.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, SplitTest,
    ::testing::Values(
        SplitRow{"LeadingAndDoubledGiveEmptyTrailingNone", ",a,,b,", ",", std::nullopt, {"", "a", "", "b"}},
        SplitRow{"MaximumDropsRest", "a,b,c", ",", 2, {"a", "b"}},
        SplitRow{"MaximumAboveCount", "a,b,c", ",", 9, {"a", "b", "c"}},
        SplitRow{"MaximumReachedByEmptyItems", ",,,x", ",", 2, {"", ""}},
        SplitRow{"MaximumZero", "a,b", ",", 0, {}}, SplitRow{"MaximumNegative", "a,b", ",", -1, {}},
        SplitRow{"EmptyText", "", ",", std::nullopt, {}},
        SplitRow{"EmptySeparatorWholeText", "a,b", "", std::nullopt, {"a,b"}},
        SplitRow{"NoSeparator", "a b", ",", std::nullopt, {"a b"}},
        SplitRow{"OnlySeparator", ",", ",", std::nullopt, {""}},
        SplitRow{"ItemsNotTrimmed", "a, b", ",", std::nullopt, {"a", " b"}},
        SplitRow{"LetterCaseCounts", "aXbxc", "x", std::nullopt, {"aXb", "c"}},
        SplitRow{"LongSeparator", "a<>b<>", "<>", std::nullopt, {"a", "b"}},
        // 丄 ends in 'A'; an 'A' separator must not cut it in half.
        SplitRow{"SeparatorNotOnSecondByte", kShang + "A" + kZhong, "A", std::nullopt, {kShang, kZhong}},
        SplitRow{"TwoByteSeparator", "a" + kFullSpace + "b", kFullSpace, std::nullopt, {"a", "b"}},
        SplitRow{"LoneLeadByteAtEnd", "a,\x81", ",", std::nullopt, {"a", "\x81"}}),
    row_name<SplitRow>);

// ---- cutting by a count ----

struct CutRow {
  std::string name;
  Text (*cut)(const Text&, int);
  Text text;
  int n;
  Text expected;
};

class CutTest : public ::testing::TestWithParam<CutRow> {};

TEST_P(CutTest, CountsBytes) {
  const CutRow& row = GetParam();
  EXPECT_EQ(row.cut(row.text, row.n), row.expected);
}

INSTANTIATE_TEST_SUITE_P(Rows, CutTest,
                         ::testing::Values(CutRow{"LeftHalfCharacter", left_part, kZhong + kWen, 1, "\xD6"},
                                           CutRow{"LeftTwo", left_part, "abc", 2, "ab"},
                                           CutRow{"LeftZero", left_part, "abc", 0, ""},
                                           CutRow{"LeftNegative", left_part, "abc", kIntMin, ""},
                                           CutRow{"LeftHuge", left_part, "abc", kIntMax, "abc"},
                                           CutRow{"RightHalfCharacter", right_part, kZhong + kWen, 1, "\xC4"},
                                           CutRow{"RightTwo", right_part, "abc", 2, "bc"},
                                           CutRow{"RightNegative", right_part, "abc", -1, ""},
                                           CutRow{"RightHuge", right_part, "abc", kIntMax, "abc"},
                                           CutRow{"RightOfEmpty", right_part, "", 3, ""}),
                         row_name<CutRow>);

struct PartFromRow {
  std::string name;
  Text text;
  int start;
  int n;
  Text expected;
};

class PartFromTest : public ::testing::TestWithParam<PartFromRow> {};

TEST_P(PartFromTest, CutsShortAtEnd) {
  const PartFromRow& row = GetParam();
  EXPECT_EQ(part_from(row.text, row.start, row.n), row.expected);
}

INSTANTIATE_TEST_SUITE_P(Rows, PartFromTest,
                         ::testing::Values(PartFromRow{"Middle", "abcde", 2, 3, "bcd"},
                                           PartFromRow{"CutShort", "abcde", 4, 9, "de"},
                                           PartFromRow{"HugeCount", "abcde", 5, kIntMax, "e"},
                                           PartFromRow{"StartZero", "abcde", 0, 2, ""},
                                           PartFromRow{"StartNegative", "abcde", kIntMin, 2, ""},
                                           PartFromRow{"StartBeyondEnd", "abcde", 6, 2, ""},
                                           PartFromRow{"StartHuge", "abcde", kIntMax, kIntMax, ""},
                                           PartFromRow{"CountZero", "abcde", 1, 0, ""},
                                           PartFromRow{"CountNegative", "abcde", 1, -2, ""}),
                         row_name<PartFromRow>);

struct ReplaceAtRow {
  std::string name;
  Text text;
  int start;
  int length;
  std::optional<Text> insertion;
  Text expected;
};

class ReplaceAtTest : public ::testing::TestWithParam<ReplaceAtRow> {};

TEST_P(ReplaceAtTest, RemovesThenInserts) {
  const ReplaceAtRow& row = GetParam();
  EXPECT_EQ(replace_at(row.text, row.start, row.length, row.insertion), row.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, ReplaceAtTest,
    ::testing::Values(ReplaceAtRow{"Middle", "abcde", 2, 2, "X", "aXde"},
                      ReplaceAtRow{"RemoveOnly", "abcde", 2, 2, std::nullopt, "ade"},
                      ReplaceAtRow{"InsertOnly", "abc", 2, 0, "X", "aXbc"},
                      ReplaceAtRow{"NegativeLengthRemovesNothing", "abc", 2, -5, "X", "aXbc"},
                      ReplaceAtRow{"NeverPastEnd", "abc", 2, kIntMax, "X", "aX"},
                      ReplaceAtRow{"StartBelowOne", "abc", kIntMin, 1, "X", "Xbc"},
                      ReplaceAtRow{"StartBeyondEndAppends", "abc", 99, 3, "X", "abcX"},
                      ReplaceAtRow{"StartHugeAppends", "abc", kIntMax, kIntMax, "X", "abcX"},
                      ReplaceAtRow{"IntoEmpty", "", 1, 1, "X", "X"}),
    row_name<ReplaceAtRow>);

// ---- trim and lower-case ----

TEST(TrimBlanks, RemovesSpacesAndFullWidthSpacesOnly) {
  EXPECT_EQ(trim_blanks(kFullSpace + " a b\t"), "a b\t");
  EXPECT_EQ(trim_blanks("\t a " + kFullSpace + " "), "\t a");
  EXPECT_EQ(trim_blanks("  " + kFullSpace), "");
  EXPECT_EQ(trim_blanks(""), "");
  EXPECT_EQ(trim_blanks(kZhong), kZhong);
}

TEST(TrimBlanks, FullWidthSpaceOnlyWhereItIsACharacter) {
  // B0 A1 is one character, so the A1 A1 that follows it is the blank; in x A1 A1 A1 the blank is
  // the first pair and the last A1 is a lone lead byte that stays.
  EXPECT_EQ(trim_blanks("\xB0\xA1\xA1\xA1"), "\xB0\xA1");
  EXPECT_EQ(trim_blanks("x\xA1\xA1\xA1"), "x\xA1\xA1\xA1");
  // A lead byte takes any next byte, a space included.
  EXPECT_EQ(trim_blanks("a\x81 "), "a\x81 ");
}

TEST(LowerCase, FoldsAsciiLettersButNotSecondBytes) {
  EXPECT_EQ(lower_case("ABC" + kShang), "abc" + kShang);
  EXPECT_EQ(lower_case("Z@[`az" + kZhong), "z@[`az" + kZhong);
  EXPECT_EQ(lower_case("A\x81"), "a\x81");
  EXPECT_EQ(lower_case(""), "");
}

// ---- comparison ----

TEST(CompareTexts, IgnoresAsciiCaseUnlessExact) {
  EXPECT_EQ(compare_texts("abc", "ABC"), 0);
  EXPECT_GT(compare_texts("abc", "ABC", /*exact_case=*/true), 0);
  EXPECT_LT(compare_texts("ab", "abc"), 0);
  EXPECT_GT(compare_texts("b", "A"), 0);
  EXPECT_EQ(compare_texts("", ""), 0);
  // Two-byte characters sort after ASCII and compare as units, second bytes exactly.
  EXPECT_GT(compare_texts(kZhong, "z"), 0);
  EXPECT_NE(compare_texts(kShang, "\x81\x61"), 0);
  EXPECT_LT(compare_texts(kWen, kZhong), 0);
}

TEST(TextsEqual, LetterCaseCounts) {
  EXPECT_TRUE(texts_equal("abc", "abc"));
  EXPECT_FALSE(texts_equal("abc", "ABC"));
  EXPECT_TRUE(texts_equal("", ""));
}

// ---- bytes ----

TEST(Bytes, TextStopsAtFirstZeroByte) {
  EXPECT_EQ(bytes_to_text(Bytes(std::string("a\0b", 3))), "a");
  EXPECT_EQ(bytes_to_text(std::string_view("\0a", 2)), "");
  EXPECT_EQ(bytes_to_text(Bytes("ab")), "ab");
  EXPECT_EQ(bytes_to_text(Bytes()), "");
  EXPECT_EQ(text_to_bytes(kZhong + "x").data(), kZhong + "x");
  EXPECT_TRUE(text_to_bytes("").empty());
}

TEST(Bytes, BlanksLeftPartsJoinAndEquality) {
  EXPECT_EQ(blank_text(3), "   ");
  EXPECT_EQ(blank_text(0), "");
  EXPECT_EQ(blank_text(kIntMin), "");
  EXPECT_EQ(blank_bytes(2), Bytes(std::string(2, '\0')));
  EXPECT_TRUE(blank_bytes(-1).empty());

  const Bytes zab(std::string("\0ab", 3));
  EXPECT_EQ(left_bytes(zab, 2), Bytes(std::string("\0a", 2)));
  EXPECT_EQ(left_bytes(zab, kIntMax), zab);
  EXPECT_TRUE(left_bytes(zab, 0).empty());
  EXPECT_TRUE(left_bytes(zab, kIntMin).empty());

  EXPECT_EQ(join_bytes(zab, Bytes(), zab).data(), std::string("\0ab\0ab", 6));
  EXPECT_TRUE(join_bytes().empty());
  EXPECT_TRUE(bytes_equal(zab, Bytes(std::string("\0ab", 3))));
  EXPECT_FALSE(bytes_equal(zab, Bytes(std::string("\0a", 2))));
  EXPECT_FALSE(bytes_equal(zab, Bytes(std::string("\0ac", 3))));
}

// ---- numbers ----

TEST(IntegerToText, DecimalDigitsWithSign) {
  EXPECT_EQ(integer_to_text(0), "0");
  EXPECT_EQ(integer_to_text(-42), "-42");
  EXPECT_EQ(integer_to_text(kIntMin), "-2147483648");
  EXPECT_EQ(integer_to_text(kIntMax), "2147483647");
}

struct NumberRow {
  std::string name;
  Text text;
  double expected;
};

class TextToNumberTest : public ::testing::TestWithParam<NumberRow> {};

TEST_P(TextToNumberTest, ReadsLeadingDecimalNumber) {
  const NumberRow& row = GetParam();
  EXPECT_DOUBLE_EQ(text_to_number(row.text), row.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, TextToNumberTest,
    ::testing::Values(NumberRow{"Integer", "81", 81}, NumberRow{"Fraction", "12.5", 12.5},
                      NumberRow{"LeadingFraction", ".5", 0.5}, NumberRow{"TrailingPoint", "7.", 7},
                      NumberRow{"LeadingWhiteSpace", " \t\r\n+3", 3},
                      NumberRow{"NegativeExponentStopsAtJunk", "-3e2px", -300},
                      NumberRow{"IncompleteExponentIgnored", "4e", 4},
                      NumberRow{"IncompleteSignedExponentIgnored", "4e+", 4}, NumberRow{"NoNumber", "abc", 0},
                      NumberRow{"Empty", "", 0}, NumberRow{"PointAlone", ".", 0},
                      NumberRow{"SignAlone", "-", 0}, NumberRow{"CommaIsNotAPoint", "1,5", 1},
                      NumberRow{"HexNotRead", "0x1A", 0}, NumberRow{"InfinityNotRead", "inf", 0},
                      NumberRow{"NanNotRead", "nan", 0},
                      // Full-width １２．５ (A3 B1 A3 B2 A3 AE A3 B5) and a full-width space before it.
                      NumberRow{"FullWidthDigits", "\xA1\xA1\xA3\xB1\xA3\xB2\xA3\xAE\xA3\xB5", 12.5},
                      NumberRow{"FullWidthMinus", "\xA3\xAD\xA3\xB9", -9},
                      NumberRow{"MixedWidths", "1\xA3\xB0", 10},
                      NumberRow{"ChineseStopsNumber", "5" + kZhong + "6", 5},
                      // B0 A3 is one character; the A3 B1 after it is full-width '1' but the number is
                      // already over.
                      NumberRow{"FullWidthOnlyWhereCharacter", "\xB0\xA3\xA3\xB1", 0},
                      NumberRow{"LoneLeadByte", "3\xA3", 3}),
    row_name<NumberRow>);

TEST(TextToNumber, OverflowGivesInfinityUnderflowGivesZero) {
  EXPECT_TRUE(std::isinf(text_to_number("1e999")));
  EXPECT_EQ(text_to_number("1e-999"), 0.0);
}

// Switches LC_NUMERIC to a locale whose decimal separator is a comma for the life of the object. Such a
// locale is rarely installed on a build machine, so one is compiled from the system's locale sources into
// a private folder when needed.
class CommaLocale {
 public:
  CommaLocale() : saved_(std::setlocale(LC_NUMERIC, nullptr)) {
    if (const char* path = std::getenv("LOCPATH")) saved_locpath_ = path;
    for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8"}) {
      if (std::setlocale(LC_NUMERIC, name)) {
        active_ = true;
        return;
      }
    }
    const std::string folder = ::testing::TempDir() + "lexomir-locale";
    setenv("LOCPATH", folder.c_str(), 1);
    if (std::setlocale(LC_NUMERIC, "de_DE.UTF-8")) {
      active_ = true;
      return;
    }
    std::error_code ignored;
    std::filesystem::create_directories(folder, ignored);
    const std::string command = "localedef -i de_DE -f UTF-8 '" + folder + "/de_DE.UTF-8' >/dev/null 2>&1";
    if (std::system(command.c_str()) == -1) return;
    active_ = std::setlocale(LC_NUMERIC, "de_DE.UTF-8") != nullptr;
  }
  ~CommaLocale() {
    std::setlocale(LC_NUMERIC, saved_.c_str());
    if (saved_locpath_) {
      setenv("LOCPATH", saved_locpath_->c_str(), 1);
    } else {
      unsetenv("LOCPATH");
    }
  }
  CommaLocale(const CommaLocale&) = delete;
  CommaLocale& operator=(const CommaLocale&) = delete;
  bool active() const { return active_; }

 private:
  std::string saved_;
  std::optional<std::string> saved_locpath_;
  bool active_ = false;
};

TEST(TextToNumber, IgnoresUserLocaleDecimalSeparator) {
  const CommaLocale comma;
  if (!comma.active()) GTEST_SKIP() << "no locale with a decimal comma could be set";
  ASSERT_DOUBLE_EQ(std::strtod("1,5", nullptr), 1.5) << "the locale did not take effect";
  EXPECT_DOUBLE_EQ(text_to_number("1.5"), 1.5);
  EXPECT_DOUBLE_EQ(text_to_number("1,5"), 1.0);
}

struct TruncateRow {
  std::string name;
  double value;
  int expected;
};

class TruncateTest : public ::testing::TestWithParam<TruncateRow> {};

TEST_P(TruncateTest, TowardZeroClamped) {
  const TruncateRow& row = GetParam();
  EXPECT_EQ(truncate_to_int(row.value), row.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, TruncateTest,
    ::testing::Values(TruncateRow{"Positive", 2.9, 2}, TruncateRow{"Negative", -2.9, -2},
                      TruncateRow{"Nan", std::nan(""), 0},
                      TruncateRow{"Infinity", std::numeric_limits<double>::infinity(), kIntMax},
                      TruncateRow{"MinusInfinity", -std::numeric_limits<double>::infinity(), kIntMin},
                      TruncateRow{"JustAboveMax", 2147483647.9, kIntMax}, TruncateRow{"Huge", 1e300, kIntMax},
                      TruncateRow{"JustBelowMin", -2147483648.9, kIntMin},
                      TruncateRow{"HugeNegative", -1e300, kIntMin}, TruncateRow{"Max", 2147483647.0, kIntMax},
                      TruncateRow{"Min", -2147483648.0, kIntMin}),
    row_name<TruncateRow>);

TEST(TextLength, CountsBytes) {
  EXPECT_EQ(text_length(""), 0);
  EXPECT_EQ(text_length(kZhong + "a"), 3);
}

}  // namespace
}  // namespace lexomir
