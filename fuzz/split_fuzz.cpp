// split: without a maximum the items joined by the separator give back the text, less one trailing
// separator; with one, the items are the first ones of the unlimited split.
#include <algorithm>
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
