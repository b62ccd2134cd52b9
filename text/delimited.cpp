#include "text/delimited.h"

#include "text/primitives.h"

namespace lexomir {
namespace {

Text with_quotes(const Text& delimiter) {
  return replace_occurrences(delimiter, kQuotePlaceholder, "\"", std::nullopt, -1, /*exact_case=*/true);
}

}  // namespace

Text middle_text(const Text& text, const Text& left, const Text& right, int start, bool exact_case) {
  const Text left_delimiter = with_quotes(left);
  const Text right_delimiter = with_quotes(right);
  const int found = search(text, left_delimiter, start, !exact_case);
  if (found == -1) return {};
  const Text rest = right_part(text, text_length(text) - found - text_length(left_delimiter) + 1);
  // The right delimiter is looked for from the very beginning of the rest: the start belongs to the
  // whole text and has already been used to find the left delimiter.
  const int end = search(rest, right_delimiter, 1, !exact_case);
  if (end == -1) return {};
  return left_part(rest, end - 1);
}

Text text_before(const Text& text, const Text& delimiter, int start, bool ignore_case) {
  const int found = search(text, delimiter, start <= 0 ? 1 : start, ignore_case);
  if (found == -1) return {};
  return left_part(text, found - 1);
}

}  // namespace lexomir
