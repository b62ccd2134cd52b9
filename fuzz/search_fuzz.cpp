// search: the result is -1 or the first character boundary at or after the start where the sought text
// really begins.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <optional>

#include "fuzz/fuzz_input.h"
#include "text/primitives.h"

namespace {

bool is_lead(char c) { return static_cast<unsigned char>(c) >= 0x80; }

bool same(const lexomir::Text& text, std::size_t at, const lexomir::Text& sought, bool fold) {
  if (text.size() - at < sought.size()) return false;
  std::size_t k = 0;
  while (k < sought.size()) {
    const char t = text[at + k];
    if (is_lead(t)) {
      if (t != sought[k] || (k + 1 < sought.size() && text[at + k + 1] != sought[k + 1])) return false;
      k += 2;
      continue;
    }
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c + 32) : c; };
    if (fold ? lower(t) != lower(sought[k]) : t != sought[k]) return false;
    ++k;
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  lexomir::fuzzing::Input in{data, size};
  const std::uint8_t flags = in.byte();
  const int start = in.number();
  const lexomir::Text text = in.text();
  const lexomir::Text sought = in.text();
  const bool ignore_case = flags & 1;
  const std::optional<int> given = flags & 2 ? std::optional<int>(start) : std::nullopt;

  const int found = lexomir::search(text, sought, given, ignore_case);
  const std::size_t from = given && *given > 1 ? std::size_t(*given - 1) : 0;

  if (sought.empty()) {
    if (found != (from < text.size() ? 1 : -1)) std::abort();
    return 0;
  }
  // The first boundary of the walk from the start where the sought text matches.
  int expected = -1;
  for (std::size_t i = from; i < text.size(); i += is_lead(text[i]) && i + 1 < text.size() ? 2 : 1) {
    if (same(text, i, sought, ignore_case)) {
      expected = int(i + 1);
      break;
    }
  }
  if (found != expected) std::abort();
  if (found != -1 && !ignore_case && text.compare(std::size_t(found - 1), sought.size(), sought) != 0)
    std::abort();
  return 0;
}
