#include "cli/encoding.h"

#include <gtest/gtest.h>

#include "cli/json.h"

namespace lexomir {
namespace {

struct ValidityCase {
  const char* name;
  std::string bytes;
  bool utf8;
  bool gbk;
};

class ValidityTest : public ::testing::TestWithParam<ValidityCase> {};

TEST_P(ValidityTest, TellsWellFormedInputApart) {
  EXPECT_EQ(is_valid_utf8(GetParam().bytes), GetParam().utf8);
  EXPECT_EQ(is_valid_gbk(GetParam().bytes), GetParam().gbk);
}

const ValidityCase kValidityCases[] = {
    {"Empty", "", true, true},
    {"Ascii", "abc 123", true, true},
    // UTF-8 of Chinese is often well-formed GBK as well, so only the UTF-8 rules can reject GBK input.
    {"ChineseInUtf8", "\xE5\xA7\x93\xE6\xB0\x8F", true, true},  // 姓氏
    {"ChineseInGbk", "\xD0\xD5\xCA\xCF", false, true},
    {"GbkLeadAtTheEnd", "a\xD0", false, false},
    {"GbkTrailOutOfRange", "\xD0\x30", false, false},
    {"GbkEuroAlone", "\x80", false, true},
    {"ByteFF", "\xFF", false, false},
    {"Utf8Overlong", "\xC0\xAF", false, true},
    {"Utf8Surrogate", "\xED\xA0\x80", false, true},
    {"Utf8AboveUnicode", "\xF4\x90\x80\x80", false, true},
    {"Utf8FourBytes", "\xF0\x9F\x98\x80", true, true},
    {"Utf8Cut", "\xE5\xA7", false, true},
};

INSTANTIATE_TEST_SUITE_P(Cases, ValidityTest, ::testing::ValuesIn(kValidityCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(GbkToUtf8, ConvertsWithCodePage936) {
  EXPECT_EQ(gbk_to_utf8(""), "");
  EXPECT_EQ(gbk_to_utf8("a\xD0\xD5\xCA\xCF\xA3\xBB"), "a\xE5\xA7\x93\xE6\xB0\x8F\xEF\xBC\x9B");  // a姓氏；
  EXPECT_EQ(gbk_to_utf8("\x80"), "\xE2\x82\xAC");  // the euro sign
  // A broken sequence shows as a replacement character, and what follows it survives.
  EXPECT_EQ(gbk_to_utf8("\x81\x30"
                        "ab"),
            "\xEF\xBF\xBD"
            "0ab");
  EXPECT_EQ(gbk_to_utf8("a\xD0"), "a\xEF\xBF\xBD");
}

TEST(JsonString, EscapesWhatJsonRequires) {
  EXPECT_EQ(json_string(""), "\"\"");
  EXPECT_EQ(json_string("a\"b\\c/"), "\"a\\\"b\\\\c/\"");
  EXPECT_EQ(json_string("\n\r\t\b\f"), "\"\\n\\r\\t\\b\\f\"");
  EXPECT_EQ(json_string("\x01\x1F\x7F"), "\"\\u0001\\u001F\x7F\"");
  EXPECT_EQ(json_string("\xE5\xA7\x93"), "\"\xE5\xA7\x93\"");
}

}  // namespace
}  // namespace lexomir
