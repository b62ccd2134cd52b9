#include "web/url.h"

#include "text/primitives.h"

namespace lexomir {
namespace {

constexpr int kDefaultPort = 80;

// The port text is read as a plain decimal number: blanks, a sign, digits, a fraction, no exponent.
// Whatever follows (a path, a stray letter) ends the number; no number at all reads as 0.
int read_port(const Text& text) {
  std::size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r'))) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  double value = 0;
  while (i < text.size() && text[i] >= '0' && text[i] <= '9') {
    value = value * 10 + (text[i++] - '0');
    // Far past the 32-bit range already; the rest cannot bring it back.
    if (value > 1e12) value = 1e12;
  }
  // A fraction never changes a value that is truncated toward zero.
  return truncate_to_int(negative ? -value : value);
}

}  // namespace

Text url_host(const Text& url) {
  Text host = replace_occurrences(url, "https://", {}, std::nullopt, -1, /*exact_case=*/true);
  host = replace_occurrences(host, "http://", {}, std::nullopt, -1, /*exact_case=*/true);
  if (const int slash = search(host, "/"); slash != -1) host = left_part(host, slash - 1);
  if (const int colon = search(host, ":"); colon != -1) host = left_part(host, colon - 1);
  return lower_case(host);
}

Text url_path(const Text& url) {
  const int host_at = search(url, url_host(url), 1, /*ignore_case=*/true);
  const int slash = search(url, "/", host_at == -1 ? 1 : host_at);
  if (slash == -1) return "/";
  return part_from(url, slash, text_length(url));
}

int url_port(const Text& url) {
  Text host_and_port;
  if (compare_texts(left_part(url, 7), "http://", /*exact_case=*/false) == 0) {
    const int slash = search(url, "/", 8);
    host_and_port = slash != -1 ? part_from(url, 8, slash - 8) : right_part(url, text_length(url) - 7);
  } else {
    const int slash = search(url, "/");
    host_and_port = slash != -1 ? left_part(url, slash - 1) : url;
  }
  const int colon = search(host_and_port, ":");
  if (colon == -1) return kDefaultPort;
  return read_port(part_from(host_and_port, colon + 1, text_length(host_and_port)));
}

}  // namespace lexomir
