// The console binding answers "does the result hold this word" from an index; the answer must be the one
// the text primitives' search gives on the whole text, whatever was appended and searched before.
#include <gtest/gtest.h>

#include <random>

#include "cli/console_window.h"
#include "text/primitives.h"

namespace lexomir {
namespace {

bool searched(const Text& text, const Text& word) { return search(text, word) != -1; }

TEST(ResultIndex, MatchesBeginOnlyWhereACharacterBegins) {
  ConsoleWindow window;
  // "丄" is 81 41: its second byte is an "A" that no word "A" may match.
  window.set_result_text("\x81\x41");
  EXPECT_FALSE(window.result_contains("A"));
  window.append_result_text("A\xA3\xBB");
  EXPECT_TRUE(window.result_contains("A"));

  // A box that ends on a lone first byte: the appended text's first byte becomes its second byte, so the
  // appended word is not found at the place where it was put.
  window.set_result_text("\xB0");
  window.append_result_text("A\xA3\xBB");
  EXPECT_FALSE(window.result_contains("A"));
  EXPECT_TRUE(
      window.result_contains("\xB0"
                             "A"));
  EXPECT_EQ(window.result(),
            "\xB0"
            "A\xA3\xBB");

  window.set_result_text("");
  EXPECT_FALSE(window.result_contains(""));
  window.append_result_text("\xA3\xBB");
  EXPECT_TRUE(window.result_contains(""));
}

TEST(ResultIndex, AgreesWithSearchOnRandomBoxes) {
  // Few byte values, many of them first bytes of two-byte characters, so that misaligned matches abound.
  const char alphabet[] = {'A', 'a', '\x41', '\x81', '\xB0', '\xA3', '\xBB', ','};
  std::mt19937 random(936);
  auto some_text = [&](int max_length) {
    Text text;
    const int length = static_cast<int>(random() % (max_length + 1));
    for (int i = 0; i < length; ++i) text += alphabet[random() % sizeof alphabet];
    return text;
  };
  for (int box = 0; box < 200; ++box) {
    ConsoleWindow window;
    window.set_result_text(some_text(6));
    for (int step = 0; step < 60; ++step) {
      const Text text = window.read_result_text();
      Text word = some_text(4);
      if (!text.empty() && random() % 2 == 0) {
        // A piece of the box itself, at any byte offset, on a character boundary or not.
        const std::size_t at = random() % text.size();
        word = text.substr(at, 1 + random() % 4);
      }
      ASSERT_EQ(window.result_contains(word), searched(text, word))
          << "box " << box << " step " << step << " text size " << text.size();
      if (random() % 3 == 0) window.append_result_text(some_text(5) + "\xA3\xBB");
      if (random() % 7 == 0) window.append_result_text(some_text(3));
    }
  }
}

TEST(ResultIndex, FindOnCharacterBoundary) {
  EXPECT_EQ(find_on_character_boundary("\x81\x41\x41", "A"), 2u);
  EXPECT_EQ(find_on_character_boundary("\xB0\xB0\xB0\xB0", "\xB0\xB0"), 0u);
  EXPECT_EQ(find_on_character_boundary("a\xB0\xB0\xB0\xB0", "\xB0\xB0"), 1u);
  EXPECT_EQ(find_on_character_boundary("\xB0\xB0\xB0", "\xB0"), 0u);
  EXPECT_EQ(find_on_character_boundary("\xB0"
                                       "a\xB0",
                                       "\xB0"),
            0u);
  EXPECT_EQ(find_on_character_boundary("a\xB0\xB0"
                                       "a",
                                       "\xB0"
                                       "a"),
            std::string_view::npos);
  EXPECT_EQ(find_on_character_boundary("abc", ""), std::string_view::npos);
}

}  // namespace
}  // namespace lexomir
