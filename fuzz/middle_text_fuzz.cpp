// middle text and text before: the piece is a part of the text, and the right delimiter never occurs
// inside the piece (it ends at the first one).
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <optional>

#include "text/delimited.h"
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
  const lexomir::Text text = in.text();
  const lexomir::Text left = in.text();
  const lexomir::Text right = in.text();
  const bool exact_case = flags & 1;

  const lexomir::Text middle = lexomir::middle_text(text, left, right, start, exact_case);
  if (!middle.empty()) {
    if (text.find(middle) == lexomir::Text::npos) std::abort();
    const lexomir::Text right_delimiter =
        lexomir::replace_occurrences(right, lexomir::kQuotePlaceholder, "\"", std::nullopt, -1, true);
    if (right_delimiter.empty() || lexomir::search(middle, right_delimiter, 1, !exact_case) != -1)
      std::abort();
  }

  const lexomir::Text before = lexomir::text_before(text, right, start, !exact_case);
  if (text.compare(0, before.size(), before) != 0) std::abort();
  if (!before.empty() && start <= 1 && lexomir::search(before, right, 1, !exact_case) != -1) std::abort();
  return 0;
}
