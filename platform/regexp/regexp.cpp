#define PCRE2_CODE_UNIT_WIDTH 16
#include "platform/regexp/regexp.h"

#include <pcre2.h>

namespace lexomir::platform {

namespace {

thread_local int tls_initialize_depth = 0;

struct CodeFree {
  void operator()(pcre2_code* code) const { pcre2_code_free(code); }
};
struct MatchDataFree {
  void operator()(pcre2_match_data* data) const { pcre2_match_data_free(data); }
};
struct CompileContextFree {
  void operator()(pcre2_compile_context* context) const { pcre2_compile_context_free(context); }
};

constexpr std::size_t kUnset = PCRE2_UNSET;
static_assert(kUnset == kNoOffset);

bool is_high_surrogate(char16_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }

}  // namespace

void co_initialize() { ++tls_initialize_depth; }
void co_uninitialize() {
  if (tls_initialize_depth > 0) --tls_initialize_depth;
}
int co_initialize_depth() { return tls_initialize_depth; }

struct RegExp::Compiled {
  std::u16string pattern;
  bool ignore_case = false;
  bool multiline = false;
  std::unique_ptr<pcre2_code, CodeFree> code;
  int groups = 0;

  // Calls on_match(ovector) for each match, left to right. False when the engine refused the subject.
  template <typename OnMatch>
  bool scan(std::u16string_view subject, bool global, OnMatch on_match,
            bool subject_is_checked = false) const {
    std::unique_ptr<pcre2_match_data, MatchDataFree> data(
        pcre2_match_data_create_from_pattern(code.get(), nullptr));
    if (!data) return false;
    const auto* units = reinterpret_cast<PCRE2_SPTR16>(subject.data());
    std::size_t start = 0;
    // The subject is checked once; checking it again on every call of a global scan makes it quadratic.
    std::uint32_t options = subject_is_checked ? PCRE2_NO_UTF_CHECK : 0;
    while (start <= subject.size()) {
      const int rc = pcre2_match(code.get(), units, subject.size(), start, options, data.get(), nullptr);
      options = PCRE2_NO_UTF_CHECK;
      if (rc == PCRE2_ERROR_NOMATCH) break;
      if (rc < 0) {
        // A subject that is not UTF-16 is refused; an engine limit ends the scan with the matches found so
        // far.
        return !(rc <= PCRE2_ERROR_UTF16_ERR1 && rc >= PCRE2_ERROR_UTF16_ERR3);
      }
      const PCRE2_SIZE* ovector = pcre2_get_ovector_pointer(data.get());
      on_match(ovector);
      if (!global) break;
      std::size_t next = ovector[1];
      if (ovector[1] <= ovector[0]) {
        next = ovector[0] + 1;
        if (ovector[0] < subject.size() && is_high_surrogate(subject[ovector[0]]) && next < subject.size())
          ++next;
      }
      start = next;
    }
    return true;
  }
};

RegExp::RegExp() = default;
RegExp::~RegExp() = default;

const RegExp::Compiled* RegExp::compiled() const {
  if (compiled_ && compiled_->pattern == Pattern && compiled_->ignore_case == IgnoreCase &&
      compiled_->multiline == Multiline) {
    return compiled_->code ? compiled_.get() : nullptr;
  }
  auto fresh = std::make_unique<Compiled>();
  fresh->pattern = Pattern;
  fresh->ignore_case = IgnoreCase;
  fresh->multiline = Multiline;
  std::unique_ptr<pcre2_compile_context, CompileContextFree> context(pcre2_compile_context_create(nullptr));
  if (context) pcre2_set_newline(context.get(), PCRE2_NEWLINE_LF);  // "." stops at a line feed only
  // \uHHHH and \xHH read as the scripting object reads them.
  std::uint32_t options = PCRE2_UTF | PCRE2_ALT_BSUX;
  if (IgnoreCase) options |= PCRE2_CASELESS;
  if (Multiline) options |= PCRE2_MULTILINE;
  int error = 0;
  PCRE2_SIZE error_offset = 0;
  fresh->code.reset(pcre2_compile(reinterpret_cast<PCRE2_SPTR16>(Pattern.data()), Pattern.size(), options,
                                  &error, &error_offset, context.get()));
  if (fresh->code) {
    pcre2_jit_compile(fresh->code.get(), PCRE2_JIT_COMPLETE);  // the interpreter stays when JIT is missing
    std::uint32_t captures = 0;
    pcre2_pattern_info(fresh->code.get(), PCRE2_INFO_CAPTURECOUNT, &captures);
    fresh->groups = static_cast<int>(captures);
  }
  compiled_ = std::move(fresh);
  return compiled_->code ? compiled_.get() : nullptr;
}

std::shared_ptr<MatchCollection> RegExp::Execute(WideChars subject) const {
  const Compiled* compiled_pattern = compiled();
  if (compiled_pattern == nullptr) return nullptr;
  std::shared_ptr<MatchCollection> matches(new MatchCollection(std::move(subject), compiled_pattern->groups));
  const std::size_t slots = 2 * (1 + static_cast<std::size_t>(compiled_pattern->groups));
  const bool accepted =
      compiled_pattern->scan(view_of(matches->subject_), Global, [&](const PCRE2_SIZE* ovector) {
        matches->offsets_.insert(matches->offsets_.end(), ovector, ovector + slots);
        ++matches->count_;
      });
  if (!accepted) return nullptr;
  return matches;
}

bool RegExp::ForEachMatch(std::u16string_view subject, const MatchVisitor& on_match,
                          bool subject_is_checked) const {
  const Compiled* compiled_pattern = compiled();
  if (compiled_pattern == nullptr) return false;
  const int groups = compiled_pattern->groups;
  static_assert(sizeof(PCRE2_SIZE) == sizeof(std::size_t));
  return compiled_pattern->scan(
      subject, Global, [&](const PCRE2_SIZE* ovector) { on_match(ovector, groups); }, subject_is_checked);
}

std::optional<std::u16string> RegExp::Replace(std::u16string_view subject,
                                              std::u16string_view replacement) const {
  const Compiled* compiled_pattern = compiled();
  if (compiled_pattern == nullptr) return std::nullopt;
  const int groups = compiled_pattern->groups;
  std::u16string out;
  std::size_t copied = 0;
  const bool accepted = compiled_pattern->scan(subject, Global, [&](const PCRE2_SIZE* ovector) {
    out.append(subject.substr(copied, ovector[0] - copied));
    auto group = [&](int n) {
      if (ovector[2 * n] != kUnset)
        out.append(subject.substr(ovector[2 * n], ovector[2 * n + 1] - ovector[2 * n]));
    };
    for (std::size_t i = 0; i < replacement.size(); ++i) {
      const char16_t c = replacement[i];
      if (c != u'$' || i + 1 >= replacement.size()) {
        out.push_back(c);
        continue;
      }
      const char16_t next = replacement[i + 1];
      auto digit = [](char16_t d) { return d >= u'0' && d <= u'9' ? d - u'0' : -1; };
      if (next == u'$') {
        out.push_back(u'$');
        ++i;
      } else if (next == u'&') {
        group(0);
        ++i;
      } else if (next == u'`') {
        out.append(subject.substr(0, ovector[0]));
        ++i;
      } else if (next == u'\'') {
        out.append(subject.substr(ovector[1]));
        ++i;
      } else if (digit(next) >= 0) {
        const int one = digit(next);
        const int two = i + 2 < replacement.size() && digit(replacement[i + 2]) >= 0
                            ? one * 10 + digit(replacement[i + 2])
                            : -1;
        if (two >= 1 && two <= groups) {
          group(two);
          i += 2;
        } else if (one >= 1 && one <= groups) {
          group(one);
          ++i;
        } else {
          out.push_back(c);
        }
      } else {
        out.push_back(c);
      }
    }
    copied = ovector[1];
  });
  if (!accepted) return std::nullopt;
  out.append(subject.substr(copied));
  return out;
}

std::optional<Match> MatchCollection::Item(int index) const {
  if (index < 0 || static_cast<std::size_t>(index) >= count_) return std::nullopt;
  return Match(this, static_cast<std::size_t>(index));
}

std::u16string_view MatchCollection::span(std::size_t match, int slot) const {
  const std::size_t base =
      match * 2 * (1 + static_cast<std::size_t>(groups_)) + 2 * static_cast<std::size_t>(slot);
  const std::size_t begin = offsets_[base];
  const std::size_t end = offsets_[base + 1];
  if (begin == kUnset) return {};
  return view_of(subject_).substr(begin, end < begin ? 0 : end - begin);
}

bool MatchCollection::took_part(std::size_t match, int slot) const {
  return offsets_[match * 2 * (1 + static_cast<std::size_t>(groups_)) + 2 * static_cast<std::size_t>(slot)] !=
         kUnset;
}

bool Match::SubMatchTookPart(int index) const {
  return index >= 0 && index < owner_->groups_ && owner_->took_part(index_, index + 1);
}

std::u16string_view Match::Value() const { return owner_->span(index_, 0); }

int Match::FirstIndex() const {
  return static_cast<int>(owner_->offsets_[index_ * 2 * (1 + static_cast<std::size_t>(owner_->groups_))]);
}

int Match::SubMatchCount() const { return owner_->groups_; }

std::u16string_view Match::SubMatch(int index) const {
  if (index < 0 || index >= owner_->groups_) return {};
  return owner_->span(index_, index + 1);
}

}  // namespace lexomir::platform
