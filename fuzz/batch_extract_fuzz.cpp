// Batch extraction over arbitrary bytes: subject, left and right delimiter are the input's parts between NUL
// bytes. The page is read a block of lines at a time; the matcher reads it whole, and both must agree.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "text/batch_extract.h"
#include "text/regex_matcher.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string parts[3];
  std::size_t part = 0;
  for (std::size_t i = 0; i < size; ++i) {
    if (data[i] == 0) {
      if (++part == 3) break;
      continue;
    }
    parts[part].push_back(static_cast<char>(data[i]));
  }
  std::string subject = parts[0];
  // Some inputs become pages of several blocks, so the seams between blocks are tried as well.
  if (size % 32 == 0 && subject.find('\n') != std::string::npos) {
    while (subject.size() < 300 * 1024) subject += parts[0];
  }
  const std::string left = part >= 1 ? parts[1] : "<em>";
  const std::string right = part >= 2 ? parts[2] : "</em>";

  lexomir::TextArray items;
  const int count = lexomir::batch_extract(subject, left, right, items);
  if (count != static_cast<int>(items.size())) std::abort();

  lexomir::RegexMatcher matcher;
  const bool accepted =
      matcher.execute(lexomir::escape_pattern(left) + "(.*?)" + lexomir::escape_pattern(right), subject);
  if (!accepted && count != 0) std::abort();
  if (accepted) {
    if (matcher.match_count() != count) std::abort();
    for (int i = 0; i < count; ++i) {
      if (matcher.group_text(i + 1, 1) != items[static_cast<std::size_t>(i)]) std::abort();
    }
  }

  lexomir::ExtractOptions options;
  options.max_length = static_cast<int>(size % 7) - 1;
  options.prefix = "[";
  options.put_left_back = (size & 1) != 0;
  options.put_right_back = (size & 2) != 0;
  lexomir::batch_extract(subject, left, right, items, options);
  return 0;
}
