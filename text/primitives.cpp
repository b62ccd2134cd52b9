#include "text/primitives.h"

#include <locale.h>
#include <algorithm>
#include <clocale>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>

namespace lexomir {
namespace {

bool is_lead(unsigned char c) { return c >= 0x80; }

// Length of the character that starts at offset i: a lead byte takes the next byte along, unless it is
// the last byte, which then stands alone so that no walk reads past the end.
std::size_t char_length(std::string_view s, std::size_t i) {
  return is_lead(static_cast<unsigned char>(s[i])) && i + 1 < s.size() ? 2 : 1;
}

unsigned char fold(unsigned char c) { return c >= 'A' && c <= 'Z' ? static_cast<unsigned char>(c + 32) : c; }

// Compares n bytes of the text at t with the sought bytes at s. When folding, only one-byte characters
// of the text are folded: a second byte is never taken for a letter.
bool span_matches(const char* t, const char* s, std::size_t n, bool fold_case) {
  if (!fold_case) return std::memcmp(t, s, n) == 0;
  std::size_t k = 0;
  while (k < n) {
    const auto tc = static_cast<unsigned char>(t[k]);
    const auto sc = static_cast<unsigned char>(s[k]);
    if (is_lead(tc)) {
      if (tc != sc) return false;
      if (k + 1 < n && t[k + 1] != s[k + 1]) return false;
      k += 2;
    } else {
      if (fold(tc) != fold(sc)) return false;
      ++k;
    }
  }
  return true;
}

// Start positions arrive 1-based and may be anything; this gives the 0-based offset, 0 for "from the
// beginning".
std::size_t start_offset(std::optional<int> start) {
  return start && *start > 1 ? std::size_t(*start - 1) : 0;
}

int to_position(std::size_t offset) {
  return offset >= std::size_t(std::numeric_limits<int>::max()) ? std::numeric_limits<int>::max()
                                                                : int(offset + 1);
}

// 0-based offset of the first match at or after `from`, walking by characters, or npos.
std::size_t find_from(std::string_view text, std::string_view sought, std::size_t from, bool fold_case) {
  const std::size_t n = sought.size();
  std::size_t i = from;
  while (i < text.size() && text.size() - i >= n) {
    if (span_matches(text.data() + i, sought.data(), n, fold_case)) return i;
    i += char_length(text, i);
  }
  return std::string_view::npos;
}

// The "C" locale, so that reading numbers never depends on the user's decimal separator.
class CLocale {
 public:
  CLocale() : loc_(newlocale(LC_ALL_MASK, "C", locale_t(0))) {}
  ~CLocale() {
    if (loc_ != locale_t(0)) freelocale(loc_);
  }
  CLocale(const CLocale&) = delete;
  CLocale& operator=(const CLocale&) = delete;
  locale_t get() const { return loc_; }

 private:
  locale_t loc_;
};

bool is_c_space(unsigned char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }
bool is_digit(unsigned char c) { return c >= '0' && c <= '9'; }

// Length of the leading decimal number after white space (sign, digits, fraction, exponent), or 0 when
// the text does not begin with one. Only decimal forms count: no hex, no "inf", no "nan".
std::size_t decimal_prefix(const std::string& s) {
  std::size_t i = 0;
  while (i < s.size() && is_c_space(static_cast<unsigned char>(s[i]))) ++i;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
  std::size_t digits = 0;
  while (i < s.size() && is_digit(static_cast<unsigned char>(s[i]))) ++i, ++digits;
  if (i < s.size() && s[i] == '.') {
    ++i;
    while (i < s.size() && is_digit(static_cast<unsigned char>(s[i]))) ++i, ++digits;
  }
  if (digits == 0) return 0;
  if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
    std::size_t j = i + 1;
    if (j < s.size() && (s[j] == '+' || s[j] == '-')) ++j;
    if (j < s.size() && is_digit(static_cast<unsigned char>(s[j]))) {
      while (j < s.size() && is_digit(static_cast<unsigned char>(s[j]))) ++j;
      i = j;
    }
  }
  return i;
}

}  // namespace

int text_length(const Text& text) {
  return text.size() > std::size_t(std::numeric_limits<int>::max()) ? std::numeric_limits<int>::max()
                                                                    : int(text.size());
}

bool texts_equal(const Text& a, const Text& b) { return a == b; }

int compare_texts(const Text& a, const Text& b, bool exact_case) {
  const std::size_t n = std::min(a.size(), b.size());
  std::size_t i = 0;
  while (i < n) {
    auto ca = static_cast<unsigned char>(a[i]);
    auto cb = static_cast<unsigned char>(b[i]);
    // Up to the first difference both texts have the same character structure, so a second byte of one
    // sits opposite a second byte of the other and is compared exactly.
    const bool two_byte = is_lead(ca);
    if (!exact_case && !two_byte) ca = fold(ca), cb = fold(cb);
    if (ca != cb) return ca < cb ? -1 : 1;
    ++i;
    if (two_byte && i < n) {
      ca = static_cast<unsigned char>(a[i]);
      cb = static_cast<unsigned char>(b[i]);
      if (ca != cb) return ca < cb ? -1 : 1;
      ++i;
    }
  }
  if (a.size() == b.size()) return 0;
  return a.size() < b.size() ? -1 : 1;
}

int search(const Text& text, const Text& sought, std::optional<int> start, bool ignore_case) {
  const std::size_t from = start_offset(start);
  if (sought.empty()) return from < text.size() ? 1 : -1;
  const std::size_t at = find_from(text, sought, from, ignore_case);
  return at == std::string_view::npos ? -1 : to_position(at);
}

Text left_part(const Text& text, int n) {
  if (n <= 0) return {};
  return text.substr(0, std::size_t(n));
}

Text right_part(const Text& text, int n) {
  if (n <= 0) return {};
  if (std::size_t(n) >= text.size()) return text;
  return text.substr(text.size() - std::size_t(n));
}

Text part_from(const Text& text, int start, int n) {
  if (start < 1 || n <= 0 || std::size_t(start) > text.size()) return {};
  return text.substr(std::size_t(start - 1), std::size_t(n));
}

Text replace_occurrences(const Text& text, const Text& old_text, const Text& new_text,
                         std::optional<int> start, int count, bool exact_case) {
  const std::size_t from = start_offset(start);
  if (text.empty() || old_text.empty() || from >= text.size() || count == 0) return text;
  const std::size_t n = old_text.size();
  Text out;
  out.reserve(text.size());
  out.append(text, 0, from);
  std::size_t i = from;
  int done = 0;
  while (i < text.size() && text.size() - i >= n) {
    if (span_matches(text.data() + i, old_text.data(), n, !exact_case)) {
      out += new_text;
      i += n;
      if (count > 0 && ++done == count) break;
    } else {
      const std::size_t len = char_length(text, i);
      out.append(text, i, len);
      i += len;
    }
  }
  if (i < text.size()) out.append(text, i, Text::npos);
  return out;
}

Text replace_at(const Text& text, int start, int length, const std::optional<Text>& insertion) {
  const std::size_t at = std::min(start_offset(start), text.size());
  const std::size_t removed = length > 0 ? std::min(std::size_t(length), text.size() - at) : 0;
  Text out = text.substr(0, at);
  if (insertion) out += *insertion;
  out.append(text, at + removed, Text::npos);
  return out;
}

Text trim_blanks(const Text& text) {
  // A walk by characters, so that "A1 A1" is a full-width space only where it is a whole character.
  std::size_t begin = text.size();
  std::size_t end = 0;
  std::size_t i = 0;
  while (i < text.size()) {
    const std::size_t len = char_length(text, i);
    const bool blank =
        (len == 1 && text[i] == ' ') || (len == 2 && text[i] == '\xA1' && text[i + 1] == '\xA1');
    if (!blank) {
      if (begin == text.size()) begin = i;
      end = i + len;
    }
    i += len;
  }
  if (begin >= end) return {};
  return text.substr(begin, end - begin);
}

Text lower_case(const Text& text) {
  Text out = text;
  std::size_t i = 0;
  while (i < out.size()) {
    const std::size_t len = char_length(out, i);
    if (len == 1) out[i] = static_cast<char>(fold(static_cast<unsigned char>(out[i])));
    i += len;
  }
  return out;
}

TextArray split(const Text& text, const Text& separator, std::optional<int> max_items) {
  TextArray items;
  if (text.empty() || (max_items && *max_items <= 0)) return items;
  if (separator.empty()) {
    items.push_back(text);
    return items;
  }
  const auto full = [&] { return max_items && items.size() >= std::size_t(*max_items); };
  const std::size_t n = separator.size();
  std::size_t item_begin = 0;
  std::size_t i = 0;
  while (i < text.size() && text.size() - i >= n) {
    if (std::memcmp(text.data() + i, separator.data(), n) == 0) {
      items.push_back(text.substr(item_begin, i - item_begin));
      i += n;
      item_begin = i;
      if (full()) return items;
    } else {
      i += char_length(text, i);
    }
  }
  if (item_begin < text.size()) items.push_back(text.substr(item_begin));
  return items;
}

Bytes text_to_bytes(const Text& text) { return Bytes(text); }

Text bytes_to_text(const Bytes& bytes) { return bytes_to_text(bytes.view()); }

Text bytes_to_text(std::string_view bytes) {
  const std::size_t nul = bytes.find('\0');
  return Text(bytes.substr(0, nul));
}

Text integer_to_text(int value) { return std::to_string(value); }

double text_to_number(const Text& text) {
  // Full-width forms become their ASCII counterparts first, character by character.
  std::string plain;
  plain.reserve(text.size());
  std::size_t i = 0;
  while (i < text.size()) {
    const std::size_t len = char_length(text, i);
    const auto lead = static_cast<unsigned char>(text[i]);
    const auto trail = len == 2 ? static_cast<unsigned char>(text[i + 1]) : 0;
    if (len == 2 && lead == 0xA3 && trail >= 0xA1 && trail <= 0xFE) {
      plain += static_cast<char>(trail - 0x80);
    } else if (len == 2 && lead == 0xA1 && trail == 0xA1) {
      plain += ' ';
    } else {
      plain.append(text, i, len);
    }
    i += len;
  }
  const std::size_t n = decimal_prefix(plain);
  if (n == 0) return 0.0;
  static const CLocale c_locale;
  const std::string number = plain.substr(0, n);
  return strtod_l(number.c_str(), nullptr, c_locale.get());
}

int truncate_to_int(double value) {
  if (std::isnan(value)) return 0;
  if (value >= 2147483647.0) return std::numeric_limits<int>::max();
  if (value <= -2147483648.0) return std::numeric_limits<int>::min();
  return static_cast<int>(value);
}

Text blank_text(int n) { return n < 1 ? Text{} : Text(std::size_t(n), ' '); }

Bytes blank_bytes(int n) { return n <= 0 ? Bytes{} : Bytes(std::string(std::size_t(n), '\0')); }

Bytes left_bytes(const Bytes& bytes, int n) {
  if (n <= 0) return {};
  return Bytes(bytes.data().substr(0, std::size_t(n)));
}

bool bytes_equal(const Bytes& a, const Bytes& b) { return a == b; }

}  // namespace lexomir
