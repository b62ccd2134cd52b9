#include "text/regex_matcher.h"

#include <string_view>

#include "platform/codepage/codepage.h"
#include "platform/regexp/regexp.h"
#include "text/primitives.h"

namespace lexomir {
namespace {

// Texts reach the object as characters of the ANSI code page, and come back the same way.
platform::WideChars decode(const Text& text) {
  std::string_view view(text);
  return platform::multibyte_to_wide(platform::kAnsi, view.substr(0, view.find('\0')));
}

Text encode(std::u16string_view wide) { return platform::wide_to_multibyte(platform::kAnsi, wide); }

}  // namespace

RegexMatcher::RegexMatcher() { platform::co_initialize(); }

// A copy shares the object and its matches but did not initialise the thread, so it must not end that either.
RegexMatcher::RegexMatcher(const RegexMatcher& other)
    : object_(other.object_), matches_(other.matches_), subject_(other.subject_), owns_thread_init_(false) {}

RegexMatcher::~RegexMatcher() {
  // Every object goes before the thread gives up its initialisation.
  matches_.reset();
  object_.reset();
  subject_.clear();
  if (owns_thread_init_) platform::co_uninitialize();
}

bool RegexMatcher::execute(const Text& pattern, const Text& subject, bool exact_case, bool multi_line,
                           bool global) {
  matches_.reset();
  object_ = std::make_shared<platform::RegExp>();
  object_->IgnoreCase = !exact_case;
  object_->Multiline = multi_line;
  object_->Global = global;
  const platform::WideChars wide_pattern = decode(pattern);
  object_->Pattern.assign(wide_pattern.begin(), wide_pattern.end());
  matches_ = object_->Execute(decode(subject));
  subject_ = subject;
  return matches_ != nullptr;
}

Text RegexMatcher::pattern() const { return object_ ? encode(object_->Pattern) : Text(); }

Text RegexMatcher::replace(const Text& replacement) const {
  if (!object_) return {};
  const platform::WideChars subject = decode(subject_);
  const platform::WideChars wide_replacement = decode(replacement);
  const auto replaced = object_->Replace(platform::view_of(subject), platform::view_of(wide_replacement));
  return replaced ? encode(*replaced) : Text();
}

int RegexMatcher::match_count() const { return matches_ ? matches_->Count() : 0; }

namespace {

// The byte offset in the subject of the text that begins at UTF-16 unit `unit` of the decoded subject.
int byte_offset(const Text& subject, std::u16string_view decoded_subject, std::u16string_view text) {
  const auto unit = static_cast<std::size_t>(text.data() - decoded_subject.data());
  std::string_view view(subject);
  platform::CodePageConverter converter(platform::kAnsi);
  return static_cast<int>(converter.byte_offset_of_unit(view.substr(0, view.find('\0')), unit));
}

}  // namespace

Text RegexMatcher::match_text(int i, int* position) const {
  if (position != nullptr) *position = -2;
  if (!matches_) return {};
  const auto match = matches_->Item(i - 1);
  if (!match) return {};
  const std::u16string_view value = match->Value();
  if (position != nullptr) *position = byte_offset(subject_, matches_->Subject(), value);
  return encode(value);
}

Text RegexMatcher::group_text(int i, int j, int* position) const {
  if (position != nullptr) *position = -2;
  if (!matches_) return {};
  const auto match = matches_->Item(i - 1);
  if (!match || j < 1 || j > match->SubMatchCount()) return {};
  const std::u16string_view value = match->SubMatch(j - 1);
  if (position != nullptr && match->SubMatchTookPart(j - 1)) {
    *position = byte_offset(subject_, matches_->Subject(), value);
  }
  return encode(value);
}

int RegexMatcher::group_count() const {
  if (!matches_) return 0;
  const auto first = matches_->Item(0);
  return first ? first->SubMatchCount() : 0;
}

Text escape_pattern(const Text& text) {
  const Text first =
      five_pair_replace(text, std::nullopt, std::nullopt, false, {"?", "\\?"}, ReplacePair{"*", "\\*"},
                        ReplacePair{"+", "\\+"}, ReplacePair{"[", "\\["}, ReplacePair{"]", "\\]"});
  return five_pair_replace(first, std::nullopt, std::nullopt, false, {"(", "\\("}, ReplacePair{")", "\\)"},
                           ReplacePair{"{", "\\{"}, ReplacePair{"}", "\\}"});
}

Text five_pair_replace(const Text& text, std::optional<int> count, std::optional<int> start, bool exact_case,
                       const ReplacePair& first, const std::optional<ReplacePair>& second,
                       const std::optional<ReplacePair>& third, const std::optional<ReplacePair>& fourth,
                       const std::optional<ReplacePair>& fifth) {
  const std::optional<int> from = start ? std::optional<int>(*start < 1 ? 1 : *start) : std::nullopt;
  const int limit = count.value_or(-1);
  Text result = replace_occurrences(text, first.old_text, first.new_text, from, limit, exact_case);
  for (const auto* pair : {&second, &third, &fourth, &fifth}) {
    if (!*pair || (*pair)->old_text.empty()) continue;
    result = replace_occurrences(result, (*pair)->old_text, (*pair)->new_text, from, limit, exact_case);
  }
  return result;
}

}  // namespace lexomir
