#pragma once
// Text primitives shared by every layer. Positions are 1-based byte positions and -1 means "not found",
// as callers use them. Matching walks GBK characters (a byte >= 0x80 leads a two-byte character);
// cutting by a count works on bytes. Nothing here fails: absence is an empty or -1 result.
#include <optional>

#include "text/text.h"

namespace lexomir {

int text_length(const Text& text);

// Letter case counts; compare_texts ignores ASCII case unless exact_case.
bool texts_equal(const Text& a, const Text& b);
int compare_texts(const Text& a, const Text& b, bool exact_case = false);

// First occurrence at or after start (omitted or below 1 means 1), or -1.
int search(const Text& text, const Text& sought, std::optional<int> start = std::nullopt,
           bool ignore_case = false);

Text left_part(const Text& text, int n);
Text right_part(const Text& text, int n);
Text part_from(const Text& text, int start, int n);

// count < 0 means no limit; exact_case false ignores ASCII letter case.
Text replace_occurrences(const Text& text, const Text& old_text, const Text& new_text = {},
                         std::optional<int> start = std::nullopt, int count = -1, bool exact_case = false);
Text replace_at(const Text& text, int start, int length, const std::optional<Text>& insertion = std::nullopt);

// Spaces and full-width spaces (A1 A1) at both ends.
Text trim_blanks(const Text& text);
Text lower_case(const Text& text);

// max_items given as 0 or less gives no items; omitted means no limit.
TextArray split(const Text& text, const Text& separator = ",", std::optional<int> max_items = std::nullopt);

Bytes text_to_bytes(const Text& text);
// The bytes before the first zero byte.
Text bytes_to_text(const Bytes& bytes);
Text bytes_to_text(std::string_view bytes);

Text integer_to_text(int value);
// Full-width ASCII forms are read as ASCII, then strtod's rule; 0 when no number leads.
double text_to_number(const Text& text);
// A floating value made integer, truncated toward zero and clamped to the 32-bit range.
int truncate_to_int(double value);

Text blank_text(int n);
Bytes blank_bytes(int n);
Bytes left_bytes(const Bytes& bytes, int n);

template <typename... B>
Bytes join_bytes(const B&... parts) {
  Bytes out;
  (out.append(parts), ...);
  return out;
}

bool bytes_equal(const Bytes& a, const Bytes& b);

}  // namespace lexomir
