// split: without a maximum the items joined by the separator give back the text, less one trailing
// separator; with one, the items are the first ones of the unlimited split.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <optional>

#include "text/primitives.h"

namespace {

// Cuts the fuzz input into small integers and texts; a text runs to the next zero byte, so it holds none.
struct Input {
  const std::uint8_t* p;
  std::size_t n;

  std::uint8_t byte() {
    if (n == 0) return 0;
    --n;
    return *p++;
  }
  // Mostly small values, so that starts and counts land inside the texts, now and then an extreme one.
  int number() {
    const std::uint8_t kind = byte();
    const auto small = static_cast<std::int8_t>(byte());
    if (kind == 0xFF) return std::numeric_limits<int>::max();
    if (kind == 0xFE) return std::numeric_limits<int>::min();
    return small;
  }
  lexomir::Text text() {
    if (n == 0) return {};
    const auto* end = static_cast<const std::uint8_t*>(std::memchr(p, 0, n));
    const std::size_t len = end ? std::size_t(end - p) : n;
    lexomir::Text out(reinterpret_cast<const char*>(p), len);
    p += len;
    n -= len;
    if (n > 0) --n, ++p;
    return out;
  }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  Input in{data, size};
  const int max_items = in.number();
  const lexomir::Text text = in.text();
  const lexomir::Text separator = in.text();

  const lexomir::TextArray all = lexomir::split(text, separator);
  if (text.empty() != all.empty()) std::abort();

  lexomir::Text joined;
  for (std::size_t i = 0; i < all.size(); ++i) {
    if (i > 0) joined += separator;
    joined += all[i];
  }
  if (joined != text && joined + separator != text) std::abort();

  const lexomir::TextArray limited = lexomir::split(text, separator, max_items);
  if (max_items <= 0) {
    if (!limited.empty()) std::abort();
  } else {
    const std::size_t expected = std::min(all.size(), std::size_t(max_items));
    if (limited.size() != expected) std::abort();
    for (std::size_t i = 0; i < expected; ++i)
      if (limited[i] != all[i]) std::abort();
  }
  return 0;
}
