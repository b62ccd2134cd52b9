#include "segmentation/append_if_new.h"

#include <gtest/gtest.h>

#include "tests/segmentation/recording_window.h"

namespace lexomir::testing {
namespace {

struct AppendCase {
  const char* name;
  Text before;
  Text word;
  Text after;
};

class AppendIfNewTest : public ::testing::TestWithParam<AppendCase> {};

TEST_P(AppendIfNewTest, AppendsOnlyWhatTheBoxDoesNotHold) {
  const AppendCase& c = GetParam();
  RecordingWindow window;
  window.result = c.before;
  const bool appended = append_if_new(window, c.word);
  EXPECT_EQ(window.result, c.after);
  EXPECT_EQ(appended, c.after != c.before);
  // The box is read before anything is decided.
  ASSERT_FALSE(window.calls.empty());
  EXPECT_EQ(window.calls.front(), "read result");
}

// "；" is A3 BB; "丄" is 81 41, whose second byte is an "A".
const AppendCase kAppendCases[] = {
    {"NewWordToEmptyBox", "", "ab", "ab\xA3\xBB"},
    {"NewWordAfterEntries", "ab\xA3\xBB", "cd",
     "ab\xA3\xBB"
     "cd\xA3\xBB"},
    {"WholeEntryPresent",
     "ab\xA3\xBB"
     "cd\xA3\xBB",
     "cd",
     "ab\xA3\xBB"
     "cd\xA3\xBB"},
    {"PartOfAnEntryCounts", "abc\xA3\xBB", "b", "abc\xA3\xBB"},
    {"WordContainingAnEntryIsNew", "b\xA3\xBB", "abc",
     "b\xA3\xBB"
     "abc\xA3\xBB"},
    {"MatchAcrossTheSeparator",
     "ab\xA3\xBB"
     "cd\xA3\xBB",
     "b\xA3\xBB"
     "c",
     "ab\xA3\xBB"
     "cd\xA3\xBB"},
    {"LetterCaseCounts", "Ab\xA3\xBB", "ab",
     "Ab\xA3\xBB"
     "ab\xA3\xBB"},
    {"SecondByteIsNoCandidate", "\x81\x41\xA3\xBB", "A",
     "\x81\x41\xA3\xBB"
     "A\xA3\xBB"},
    {"UserTextInTheBoxCounts", "typed by hand", "hand", "typed by hand"},
    {"EmptyWordInEmptyBox", "", "", "\xA3\xBB"},
    {"EmptyWordInFilledBox", "ab\xA3\xBB", "", "ab\xA3\xBB"},
};

INSTANTIATE_TEST_SUITE_P(Cases, AppendIfNewTest, ::testing::ValuesIn(kAppendCases),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace lexomir::testing
