#pragma once
// Cuts a fuzz input into small integers and texts; a text runs to the next zero byte, so it holds none.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <limits>

#include "text/text.h"

namespace lexomir::fuzzing {

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
  Text text() {
    if (n == 0) return {};
    const auto* end = static_cast<const std::uint8_t*>(std::memchr(p, 0, n));
    const std::size_t len = end ? std::size_t(end - p) : n;
    Text out(reinterpret_cast<const char*>(p), len);
    p += len;
    n -= len;
    if (n > 0) --n, ++p;
    return out;
  }
};

}  // namespace lexomir::fuzzing
