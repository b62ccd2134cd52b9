// replace occurrences: the bytes before the start never change, the length changes by whole
// replacements within the count, and replacing a text by itself changes nothing.
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
  const std::uint8_t flags = in.byte();
  const int start = in.number();
  const int count = in.number();
  const lexomir::Text text = in.text();
  const lexomir::Text old_text = in.text();
  const lexomir::Text new_text = in.text();
  const bool exact_case = flags & 1;
  const std::optional<int> given = flags & 2 ? std::optional<int>(start) : std::nullopt;

  const lexomir::Text out = lexomir::replace_occurrences(text, old_text, new_text, given, count, exact_case);
  const std::size_t from = given && *given > 1 ? std::size_t(*given - 1) : 0;

  if (old_text.empty() || count == 0 || from >= text.size()) {
    if (out != text) std::abort();
    return 0;
  }
  if (out.compare(0, from, text, 0, from) != 0) std::abort();

  const long long grown = static_cast<long long>(out.size()) - static_cast<long long>(text.size());
  const long long step = static_cast<long long>(new_text.size()) - static_cast<long long>(old_text.size());
  if (step == 0) {
    if (grown != 0) std::abort();
  } else {
    if (grown % step != 0) std::abort();
    const long long replaced = grown / step;
    if (replaced < 0 || (count > 0 && replaced > count)) std::abort();
  }
  if (exact_case && lexomir::replace_occurrences(text, old_text, old_text, given, count, true) != text)
    std::abort();
  return 0;
}
