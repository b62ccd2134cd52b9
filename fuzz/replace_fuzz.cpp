// replace occurrences: the bytes before the start never change, the length changes by whole
// replacements within the count, and replacing a text by itself changes nothing.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <optional>

#include "fuzz/fuzz_input.h"
#include "text/primitives.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  lexomir::fuzzing::Input in{data, size};
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
