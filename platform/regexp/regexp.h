#pragma once
// Our stand-in for the scripting regular-expression object: the same properties and calls (IgnoreCase,
// Multiline, Global, Pattern, Execute, Replace), working on UTF-16 characters over PCRE2. Nothing throws: a
// pattern the engine rejects makes Execute give no collection and Replace give nothing.
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/codepage/codepage.h"

namespace lexomir::platform {

// The per-thread initialisation the scripting objects ask for. Nothing needs initialising here, but the calls
// keep their pairing, so a thread's depth tells whether its users balanced them.
void co_initialize();
void co_uninitialize();
int co_initialize_depth();

// The offset of a group that took part in no match.
inline constexpr std::size_t kNoOffset = static_cast<std::size_t>(-1);

class MatchCollection;

// One match, valid while its collection lives.
class Match {
 public:
  std::u16string_view Value() const;
  // UTF-16 units before the match in the subject.
  int FirstIndex() const;
  int SubMatchCount() const;
  // 0-based; a group that took part in no match, or a number out of range, gives the empty text.
  std::u16string_view SubMatch(int index) const;
  bool SubMatchTookPart(int index) const;

 private:
  friend class MatchCollection;
  Match(const MatchCollection* owner, std::size_t index) : owner_(owner), index_(index) {}
  const MatchCollection* owner_;
  std::size_t index_;
};

class MatchCollection {
 public:
  int Count() const { return static_cast<int>(count_); }
  // 0-based; none out of range.
  std::optional<Match> Item(int index) const;
  // The subject the matches were found in; every Value and SubMatch is a view into it.
  std::u16string_view Subject() const { return view_of(subject_); }

 private:
  friend class Match;
  friend class RegExp;
  MatchCollection(WideChars subject, int groups) : subject_(std::move(subject)), groups_(groups) {}
  std::u16string_view span(std::size_t match, int slot) const;
  bool took_part(std::size_t match, int slot) const;

  WideChars subject_;
  int groups_;
  std::size_t count_ = 0;
  // For every match, (1 + groups_) start/end pairs in UTF-16 units; an unset group holds npos twice.
  std::vector<std::size_t> offsets_;
};

class RegExp {
 public:
  RegExp();
  ~RegExp();
  RegExp(const RegExp&) = delete;
  RegExp& operator=(const RegExp&) = delete;

  bool IgnoreCase = false;
  bool Multiline = false;
  bool Global = false;
  std::u16string Pattern;

  // All matches (or the first, without Global), scanning left to right and resuming after each match; after
  // an empty match the scan moves one character on. None when the pattern is rejected or the subject is not
  // valid UTF-16.
  std::shared_ptr<MatchCollection> Execute(WideChars subject) const;
  // The subject with each match (or the first) replaced: "$&" the match, "$1".."$99" a group, "$`" and "$'"
  // the text before and after, "$$" a dollar. None when the pattern is rejected.
  std::optional<std::u16string> Replace(std::u16string_view subject, std::u16string_view replacement) const;

  // Execute without keeping a collection: on_match gets, for each match in turn, (1 + groups) start/end pairs
  // of UTF-16 offsets into subject (npos for a group that took no part). A subject that came out of our own
  // decoder is known to be UTF-16 and need not be checked again. False when the pattern is rejected.
  using MatchVisitor = std::function<void(const std::size_t* offsets, int groups)>;
  bool ForEachMatch(std::u16string_view subject, const MatchVisitor& on_match,
                    bool subject_is_checked = false) const;

 private:
  struct Compiled;
  // Compiles on demand for the current properties; null when the pattern is rejected.
  const Compiled* compiled() const;
  mutable std::unique_ptr<Compiled> compiled_;
};

}  // namespace lexomir::platform
