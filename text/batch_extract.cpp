#include "text/batch_extract.h"

#include <algorithm>
#include <string_view>

#include "platform/codepage/codepage.h"
#include "platform/regexp/regexp.h"
#include "text/regex_matcher.h"

namespace lexomir {
namespace {

// Keeps the thread initialised for the scripting object while one extraction runs, on every path.
class ThreadInitialisation {
 public:
  ThreadInitialisation() { platform::co_initialize(); }
  ~ThreadInitialisation() { platform::co_uninitialize(); }
  ThreadInitialisation(const ThreadInitialisation&) = delete;
  ThreadInitialisation& operator=(const ThreadInitialisation&) = delete;
};

std::string_view up_to_nul(const Text& text) {
  std::string_view view(text);
  return view.substr(0, view.find('\0'));
}

// With delimiters that are plain text (nothing in them that the escaping leaves a meaning to, and no line
// feed) and a left one that is not empty, every match lies within one line: "." never takes a line feed.
bool matches_stay_within_lines(const Text& left, const Text& right) {
  const auto plain = [](const Text& text) {
    return text.find_first_of(std::string_view("\\.^$|\n")) == Text::npos;
  };
  return !left.empty() && plain(left) && plain(right);
}

// Pages are decoded and scanned a block of whole lines at a time, so the UTF-16 copy stays small.
constexpr std::size_t kBlockBytes = 64 * 1024;

// The end of the block that begins at start: just after the last line feed within kBlockBytes, or after the
// first line feed beyond it when one line is longer, or the end of the page.
std::size_t block_end(std::string_view page, std::size_t start) {
  if (page.size() - start <= kBlockBytes) return page.size();
  const std::size_t last = page.rfind('\n', start + kBlockBytes - 1);
  if (last != std::string_view::npos && last >= start) return last + 1;
  const std::size_t next = page.find('\n', start + kBlockBytes);
  return next == std::string_view::npos ? page.size() : next + 1;
}

}  // namespace

// Works as the regex matcher's execute and group text do, but streams the page through one converter and one
// compiled pattern: the matcher would keep the whole page twice more (its copy and its UTF-16 form) and open
// a converter for every group, which a page of many thousand highlights pays for in time and memory.
int batch_extract(const Text& subject, const Text& left, const Text& right, TextArray& output,
                  const ExtractOptions& options) {
  ThreadInitialisation thread_initialisation;
  output.clear();

  const Text pattern = escape_pattern(left) + "(.*?)" + escape_pattern(right);
  platform::CodePageConverter ansi(platform::kAnsi);
  platform::WideChars wide;
  ansi.to_wide(up_to_nul(pattern), wide);
  platform::RegExp object;
  object.IgnoreCase = true;
  object.Multiline = true;
  object.Global = true;
  object.Pattern.assign(wide.begin(), wide.end());

  // With a maximum length only one delimiter goes back, and the left one wins.
  const bool left_back = options.put_left_back;
  const bool right_back =
      options.max_length != 0 ? !options.put_left_back && options.put_right_back : options.put_right_back;
  Text item;
  const auto take_item = [&](const std::size_t* offsets, int groups) {
    item.clear();
    if (groups >= 1 && offsets[2] != platform::kNoOffset) {
      ansi.from_wide(platform::view_of(wide).substr(offsets[2], offsets[3] - offsets[2]), item);
    }
    if (options.max_length != 0 && static_cast<long long>(item.size()) > options.max_length) return;
    if (!left_back && !right_back && options.prefix.empty() && options.suffix.empty()) {
      output.push_back(item);
      return;
    }
    Text entry;
    entry.reserve((left_back ? left.size() : 0) + options.prefix.size() + item.size() +
                  options.suffix.size() + (right_back ? right.size() : 0));
    if (left_back) entry += left;
    entry += options.prefix;
    entry += item;
    entry += options.suffix;
    if (right_back) entry += right;
    output.push_back(std::move(entry));
  };

  const std::string_view page = up_to_nul(subject);
  const bool by_blocks = matches_stay_within_lines(left, right);
  std::size_t start = 0;
  do {
    const std::size_t end = by_blocks ? block_end(page, start) : page.size();
    wide.clear();
    ansi.to_wide(page.substr(start, end - start), wide);
    if (!object.ForEachMatch(platform::view_of(wide), take_item, true)) {
      output.clear();
      return 0;
    }
    start = end;
  } while (start < page.size());
  return static_cast<int>(output.size());
}

}  // namespace lexomir
