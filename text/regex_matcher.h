#pragma once
// A small matcher over the regular-expression object (platform/regexp). It owns one object, the matches of
// its last execute and a copy of that subject. Texts are GBK; the object sees them as characters.
#include <memory>
#include <optional>

#include "text/text.h"

namespace lexomir {

namespace platform {
class RegExp;
class MatchCollection;
}  // namespace platform

class RegexMatcher {
 public:
  RegexMatcher();
  ~RegexMatcher();
  RegexMatcher(const RegexMatcher& other);
  RegexMatcher& operator=(const RegexMatcher&) = delete;

  // True when the object accepted the pattern (a pattern with no match counts as accepted).
  bool execute(const Text& pattern, const Text& subject, bool exact_case = false, bool multi_line = true,
               bool global = true);
  Text pattern() const;
  Text replace(const Text& replacement) const;
  int match_count() const;
  // 1-based numbers; out of range gives the empty text. position, when given, receives the 0-based byte
  // offset of the text in the subject, or -2.
  Text match_text(int i, int* position = nullptr) const;
  Text group_text(int i, int j, int* position = nullptr) const;
  int group_count() const;

 private:
  std::shared_ptr<platform::RegExp> object_;
  std::shared_ptr<platform::MatchCollection> matches_;
  Text subject_;
  bool owns_thread_init_ = true;
};

// Escapes ? * + [ ] ( ) { } with a backslash; nothing else.
Text escape_pattern(const Text& text);

struct ReplacePair {
  Text old_text;
  Text new_text;
};
// Applies replace_occurrences with each pair in turn (up to five), each on the result of the one before.
Text five_pair_replace(const Text& text, std::optional<int> count, std::optional<int> start, bool exact_case,
                       const ReplacePair& first, const std::optional<ReplacePair>& second = std::nullopt,
                       const std::optional<ReplacePair>& third = std::nullopt,
                       const std::optional<ReplacePair>& fourth = std::nullopt,
                       const std::optional<ReplacePair>& fifth = std::nullopt);

}  // namespace lexomir
