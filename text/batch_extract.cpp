#include "text/batch_extract.h"

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

}  // namespace

// Works as the regex matcher's execute and group text would, but on one decoded copy of the page: the matcher
// keeps a second copy of the subject and converts through a fresh converter for every group, which a page
// of many thousand highlights pays for in time and memory.
int batch_extract(const Text& subject, const Text& left, const Text& right, TextArray& output,
                  const ExtractOptions& options) {
  ThreadInitialisation thread_initialisation;
  output.clear();

  const Text pattern = escape_pattern(left) + "(.*?)" + escape_pattern(right);
  platform::CodePageConverter ansi(platform::kAnsi);
  platform::WideChars wide_pattern;
  ansi.to_wide(up_to_nul(pattern), wide_pattern);
  platform::WideChars wide_subject;
  ansi.to_wide(up_to_nul(subject), wide_subject);

  platform::RegExp object;
  object.IgnoreCase = true;
  object.Multiline = true;
  object.Global = true;
  object.Pattern.assign(wide_pattern.begin(), wide_pattern.end());
  const auto matches = object.Execute(std::move(wide_subject));
  if (!matches) return 0;

  const int count = matches->Count();
  output.reserve(static_cast<std::size_t>(count));
  Text item;
  for (int i = 0; i < count; ++i) {
    item.clear();
    ansi.from_wide(matches->Item(i)->SubMatch(0), item);
    if (options.max_length != 0 && static_cast<long long>(item.size()) > options.max_length) continue;
    Text entry;
    const bool left_back = options.put_left_back;
    // With a maximum length only one delimiter goes back, and the left one wins.
    const bool right_back =
        options.max_length != 0 ? !options.put_left_back && options.put_right_back : options.put_right_back;
    entry.reserve((left_back ? left.size() : 0) + options.prefix.size() + item.size() +
                  options.suffix.size() + (right_back ? right.size() : 0));
    if (left_back) entry += left;
    entry += options.prefix;
    entry += item;
    entry += options.suffix;
    if (right_back) entry += right;
    output.push_back(std::move(entry));
  }
  return static_cast<int>(output.size());
}

}  // namespace lexomir
