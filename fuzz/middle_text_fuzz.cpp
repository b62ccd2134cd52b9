// middle text and text before: the piece is a part of the text, and the right delimiter never occurs
// inside the piece (it ends at the first one).
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <optional>

#include "fuzz/fuzz_input.h"
#include "text/delimited.h"
#include "text/primitives.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  lexomir::fuzzing::Input in{data, size};
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
