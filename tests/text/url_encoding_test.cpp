#include "text/url_encoding.h"

#include <gtest/gtest.h>

#include <atomic>
#include <string>

#include "text/process_events.h"

namespace lexomir {
namespace {

struct EncodeRow {
  std::string name;
  Text text;
  bool spare;
  Text expected;
};

class UrlEncodeTest : public ::testing::TestWithParam<EncodeRow> {};

TEST_P(UrlEncodeTest, EncodesEveryByteUnlessSpared) {
  const EncodeRow& row = GetParam();
  EXPECT_EQ(url_encode(row.text, row.spare), row.expected);
}

INSTANTIATE_TEST_SUITE_P(Rows, UrlEncodeTest,
                         ::testing::Values(
                             // 中a 1 is D6 D0 61 20 31.
                             EncodeRow{"EveryByteByDefault",
                                       "\xD6\xD0"
                                       "a 1",
                                       false, "%D6%D0%61%20%31"},
                             EncodeRow{"SpareKeepsLettersAndDigits",
                                       "\xD6\xD0"
                                       "a 1",
                                       true, "%D6%D0a%201"},
                             EncodeRow{"TwoDigitsForControls", "\t\n\x01", false, "%09%0A%01"},
                             EncodeRow{"SparePunctuation", "a+b/c.d,e-f", true, "a%2Bb/c.d,e-f"},
                             EncodeRow{"SpareRangeEdges", "+,9:@AZ[`az{", true, "%2B,9%3A%40AZ%5B%60az%7B"},
                             EncodeRow{"UpperCaseHexHighBytes", "\x80\xAB\xFF", true, "%80%AB%FF"},
                             EncodeRow{"Empty", "", false, ""}, EncodeRow{"EmptySpared", "", true, ""}),
                         [](const auto& info) { return info.param.name; });

std::atomic<int> g_calls{0};
void count_call() { ++g_calls; }

// Restores the default (no hook) whatever the test does.
class ProcessEventsHookTest : public ::testing::Test {
 protected:
  void SetUp() override {
    g_calls = 0;
    set_process_events_hook(count_call);
  }
  void TearDown() override { set_process_events_hook(nullptr); }
};

TEST_F(ProcessEventsHookTest, CalledAfterEveryByte) {
  url_encode(
      "\xD6\xD0"
      "ab",
      false);
  EXPECT_EQ(g_calls, 4);
  url_encode("ab", true);
  EXPECT_EQ(g_calls, 6);
  url_encode("", false);
  EXPECT_EQ(g_calls, 6);
}

TEST(ProcessEvents, WithoutHookDoesNothing) {
  set_process_events_hook(nullptr);
  process_events();
  EXPECT_EQ(url_encode("a", false), "%61");
}

}  // namespace
}  // namespace lexomir
