#include "text/codepage.h"

#include <gtest/gtest.h>
#include <unicode/ucnv.h>

#include <random>
#include <string>

#include "platform/codepage/codepage.h"

namespace lexomir {
namespace {

struct ConversionCase {
  const char* name;
  Text (*convert)(const Text&);
  std::string input;
  std::string expected;
};

class ConversionTest : public ::testing::TestWithParam<ConversionCase> {};

TEST_P(ConversionTest, GivesGbk) {
  const ConversionCase& c = GetParam();
  EXPECT_EQ(c.convert(c.input), c.expected);
}

// 中文 D6D0 CEC4, 電腦 in GBK EB8A C458, 电脑 B5E7 C4D4
INSTANTIATE_TEST_SUITE_P(
    Examples, ConversionTest,
    ::testing::Values(
        ConversionCase{"Utf8Chinese", utf8_to_gbk, "\xE4\xB8\xAD\xE6\x96\x87", "\xD6\xD0\xCE\xC4"},
        ConversionCase{"Big5Chinese", big5_to_gbk, "\xA4\xA4\xA4\xE5", "\xD6\xD0\xCE\xC4"},
        ConversionCase{"Big5KeepsTraditional", big5_to_gbk, "\xB9\x71\xB8\xA3", "\xEB\x8A\xC4\x58"},
        ConversionCase{"Big5ToSimplified", big5_to_simplified_gbk, "\xB9\x71\xB8\xA3", "\xB5\xE7\xC4\xD4"},
        ConversionCase{"TraditionalToSimplified", traditional_to_simplified, "a\xEB\x8A\xC4\x58z",
                       "a\xB5\xE7\xC4\xD4z"},
        ConversionCase{"AsciiUtf8", utf8_to_gbk, "<a href=\"x\">1 2</a>", "<a href=\"x\">1 2</a>"},
        ConversionCase{"AsciiBig5", big5_to_simplified_gbk, "<a href=\"x\">1 2</a>", "<a href=\"x\">1 2</a>"},
        ConversionCase{"Utf8StopsAtZero", utf8_to_gbk, std::string("ab\0\xE4\xB8\xAD", 6), "ab"},
        ConversionCase{"Big5StopsAtZero", big5_to_simplified_gbk, std::string("\xA4\xA4\0\xA4\xE5", 5),
                       "\xD6\xD0"},
        ConversionCase{"SimplifiedStopsAtZero", traditional_to_simplified,
                       std::string("\xEB\x8A\0\xC4\x58", 5), "\xB5\xE7"},
        // U+2027 (Big5 A1 45) has no GBK code: the empty default character ends the text there.
        ConversionCase{"Big5StopsBeforeWhatGbkCannotHold", big5_to_gbk, "\xA4\xA4\xA1\x45\xA4\xE5",
                       "\xD6\xD0"},
        // U+4E2D then U+200B: ICU would drop the zero-width space; the system writes its default character.
        ConversionCase{"Utf8UnmappableBecomesQuestionMark", utf8_to_gbk, "\xE4\xB8\xAD\xE2\x80\x8B!",
                       "\xD6\xD0?!"},
        ConversionCase{"EmptyUtf8", utf8_to_gbk, "", ""},
        ConversionCase{"EmptyBig5", big5_to_simplified_gbk, "", ""},
        ConversionCase{"EmptySimplified", traditional_to_simplified, "", ""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(TraditionalToSimplified, KeepsTheByteLengthAndLoneBytes) {
  // 國語 -> 国语; a lone lead byte at the end and single bytes stay as they are.
  const Text input = "\x87\xF8\xD5\x5A-x\xEB";
  const Text output = traditional_to_simplified(input);
  EXPECT_EQ(output, "\xB9\xFA\xD3\xEF-x\xEB");
  // Already simplified text does not move.
  EXPECT_EQ(traditional_to_simplified("\xB9\xFA\xD3\xEF"), "\xB9\xFA\xD3\xEF");
}

TEST(WideText, ToWideEndsWithAZeroUnitAndRoundTrips) {
  const Bytes wide = to_wide(
      "\xD6\xD0"
      "a",
      kCodePageGbk);
  EXPECT_EQ(wide.data(), std::string("\x2D\x4E\x61\x00\x00\x00", 6));
  EXPECT_EQ(from_wide(wide, kCodePageGbk),
            "\xD6\xD0"
            "a");
  EXPECT_EQ(from_wide(wide),
            "\xD6\xD0"
            "a");  // the ANSI code page is GBK
  EXPECT_EQ(to_wide("", kCodePageUtf8).data(), std::string(2, '\0'));
  EXPECT_EQ(from_wide(to_wide("")), "");
}

TEST(WideText, FromWideReadsUpToTheZeroUnitAndIgnoresAnOddByte) {
  EXPECT_EQ(from_wide(Bytes(std::string("a\0\0\0b\0", 6))), "a");
  EXPECT_EQ(from_wide(Bytes(std::string("a\0b", 3))), "a");
  EXPECT_EQ(from_wide(Bytes()), "");
}

TEST(WideText, FromWideToUtf8IsNotCutShort) {
  // Sized by the GBK length, the UTF-8 form of three characters with no GBK code would not fit.
  const Bytes wide(std::string("\x0B\x20\x0B\x20\x0B\x20\0\0", 8));  // U+200B three times
  EXPECT_EQ(from_wide(wide, kCodePageUtf8), "\xE2\x80\x8B\xE2\x80\x8B\xE2\x80\x8B");
}

TEST(WideText, UnknownCodePageGivesEmptyResults) {
  EXPECT_TRUE(to_wide("abc", 12345).empty());
  EXPECT_EQ(from_wide(to_wide("abc"), 12345), "");
}

// Malformed input is the converter's to treat; it must come out as some text and never read past the end.
TEST(BadInput, MalformedBytesStillConvert) {
  const std::string cases[] = {"\xD6",     "a\x81",    "\x81\x20z",        "\xFF\xFF",
                               "\xE4\xB8", "\xC0\x80", "\xF8\x88\x80\x80", "\xA4",
                               "\xA4\x20", "\x80\x80"};
  for (const std::string& input : cases) {
    SCOPED_TRACE(::testing::PrintToString(input));
    EXPECT_EQ(utf8_to_gbk(input).find('\0'), std::string::npos);
    EXPECT_EQ(big5_to_simplified_gbk(input).find('\0'), std::string::npos);
    EXPECT_EQ(traditional_to_simplified(input).size(), input.size());
    EXPECT_FALSE(from_wide(to_wide(input, kCodePageGbk)).empty());
  }
  // A lone lead byte at the end does not take the terminator along.
  EXPECT_EQ(utf8_to_gbk("ok\xE4"), "ok?");
}

TEST(BadInput, LargeInputConvertsWhole) {
  std::string utf8;
  std::string gbk;
  for (int i = 0; i < 200000; ++i) {
    utf8 += "\xE4\xB8\xAD<p>";
    gbk += "\xD6\xD0<p>";
  }
  EXPECT_EQ(utf8_to_gbk(utf8), gbk);
  EXPECT_EQ(traditional_to_simplified(gbk), gbk);
}

// GBK pages are decoded through a table of our own; ICU's converter is the reference it must agree with.
std::u16string icu_gbk_decode(const std::string& bytes) {
  UErrorCode error = U_ZERO_ERROR;
  UConverter* converter = ucnv_open("windows-936-2000", &error);
  std::u16string out(bytes.size() + 1, u'\0');
  const int32_t n =
      ucnv_toUChars(converter, reinterpret_cast<UChar*>(out.data()), static_cast<int32_t>(out.size()),
                    bytes.data(), static_cast<int32_t>(bytes.size()), &error);
  ucnv_close(converter);
  out.resize(static_cast<std::size_t>(n));
  return out;
}

TEST(GbkDecoding, AgreesWithIcuOnEveryPairAndOnRandomBytes) {
  const auto ours = [](const std::string& bytes) {
    const platform::WideChars wide = platform::multibyte_to_wide(platform::kGbk, bytes);
    return std::u16string(wide.begin(), wide.end());
  };
  std::string pairs;
  for (int lead = 0x80; lead <= 0xFF; ++lead) {
    for (int second = 1; second <= 0xFF; ++second) {
      const std::string pair{static_cast<char>(lead), static_cast<char>(second)};
      ASSERT_EQ(ours(pair), icu_gbk_decode(pair)) << lead << " " << second;
      ASSERT_EQ(ours("a" + pair + "\xD6"), icu_gbk_decode("a" + pair + "\xD6")) << lead << " " << second;
    }
  }
  std::mt19937 random(7);
  std::uniform_int_distribution<int> byte(1, 255);
  for (int round = 0; round < 2000; ++round) {
    std::string bytes(static_cast<std::size_t>(round % 40), 'x');
    for (char& b : bytes) b = static_cast<char>(byte(random));
    ASSERT_EQ(ours(bytes), icu_gbk_decode(bytes)) << ::testing::PrintToString(bytes);
  }
}

// Words go back to GBK through a table of our own as well; ICU with its stop callback is the reference for
// every unit it can hold, and a text holding one it cannot goes through ICU whole.
std::string icu_gbk_encode(const std::u16string& wide) {
  UErrorCode error = U_ZERO_ERROR;
  UConverter* converter = ucnv_open("windows-936-2000", &error);
  ucnv_setFromUCallBack(converter, UCNV_FROM_U_CALLBACK_STOP, nullptr, nullptr, nullptr, &error);
  std::string out(wide.size() * 4 + 1, '\0');
  error = U_ZERO_ERROR;
  char* target = out.data();
  const UChar* source = reinterpret_cast<const UChar*>(wide.data());
  ucnv_fromUnicode(converter, &target, out.data() + out.size(), &source, source + wide.size(), nullptr, true,
                   &error);
  ucnv_close(converter);
  out.resize(static_cast<std::size_t>(target - out.data()));
  return out;
}

TEST(GbkEncoding, AgreesWithIcuOnEveryUnitAndOnRandomTexts) {
  const auto ours = [](const std::u16string& wide) {
    return platform::wide_to_multibyte(platform::kGbk, wide, platform::Unmappable::kStop);
  };
  for (char32_t u = 1; u <= 0xFFFF; ++u) {
    if (u >= 0xD800 && u <= 0xDFFF) continue;
    const std::u16string unit(1, static_cast<char16_t>(u));
    ASSERT_EQ(ours(unit), icu_gbk_encode(unit)) << std::hex << static_cast<unsigned>(u);
    ASSERT_EQ(ours(u"a" + unit + u"中"), icu_gbk_encode(u"a" + unit + u"中"))
        << std::hex << static_cast<unsigned>(u);
  }
  // Hanzi, ASCII, units GBK lacks (Thai U+0E01, the kana voicing mark U+3099), a surrogate pair and its
  // halves alone.
  const char16_t pool[] = {u'中', u'文', u'a', u'<', 0x20AC, 0x0E01, 0x3099, 0xD83D, 0xDE00, u'\u00B7'};
  std::mt19937 random(11);
  std::uniform_int_distribution<std::size_t> pick(0, std::size(pool) - 1);
  for (int round = 0; round < 3000; ++round) {
    std::u16string wide(static_cast<std::size_t>(round % 12) + 1, u' ');
    for (char16_t& unit : wide) unit = pool[pick(random)];
    ASSERT_EQ(ours(wide), icu_gbk_encode(wide)) << round;
  }
  // Under substitution a unit GBK lacks becomes "?" and the rest is still converted.
  EXPECT_EQ(platform::wide_to_multibyte(platform::kGbk, u"中\u0E01文"), "\xD6\xD0?\xCE\xC4");
}

}  // namespace
}  // namespace lexomir
