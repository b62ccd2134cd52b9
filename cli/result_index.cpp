#include "cli/result_index.h"

#include <string.h>

#include <algorithm>

namespace lexomir {

namespace {

bool is_lead(char c) { return static_cast<unsigned char>(c) >= 0x80; }

std::size_t pair_of(char first, char second) {
  return static_cast<std::size_t>(static_cast<unsigned char>(first)) << 8 |
         static_cast<unsigned char>(second);
}

}  // namespace

std::size_t find_on_character_boundary(std::string_view text, std::string_view word) {
  if (word.empty() || word.size() > text.size()) return std::string_view::npos;
  // A byte below 0x80 always ends its character, so the bytes of 0x80 or more between the last such byte
  // and a candidate pair up from there: the candidate begins a character when their number is even.
  std::size_t known_start = 0;  // a character begins here, at or before every candidate still to come
  const char* base = text.data();
  std::size_t from = 0;
  while (from + word.size() <= text.size()) {
    const void* hit = memmem(base + from, text.size() - from, word.data(), word.size());
    if (hit == nullptr) break;
    const auto at = static_cast<std::size_t>(static_cast<const char*>(hit) - base);
    std::size_t start = at;
    while (start > known_start && is_lead(text[start - 1])) --start;
    if ((at - start) % 2 == 0) return at;
    known_start = at - 1;
    from = at + 1;
  }
  return std::string_view::npos;
}

void ResultIndex::assign(const Text& text) {
  text_.clear();
  bytes_.reset();
  pairs_.reset();
  std::fill(latest_start_.begin(), latest_start_.end(), 0);
  start_offset_.clear();
  earlier_start_.clear();
  next_start_ = 0;
  found_.clear();
  in_pair_ = false;
  append(text);
}

bool ResultIndex::append(std::string_view piece) {
  const bool starts_a_character = !in_pair_;
  note_bytes(piece);
  for (const char c : piece) in_pair_ = !in_pair_ && is_lead(c);
  text_.append(piece);
  note_character_starts(next_start_);
  return starts_a_character;
}

void ResultIndex::note_character_starts(std::size_t from) {
  // The walk goes by characters from the start of the text, as search does; appending never moves the
  // places where earlier characters begin.
  std::size_t at = from;
  while (at + 1 < text_.size()) {
    std::uint32_t& latest = latest_start_[pair_of(text_[at], text_[at + 1])];
    start_offset_.push_back(static_cast<std::uint32_t>(at));
    earlier_start_.push_back(latest);
    latest = static_cast<std::uint32_t>(start_offset_.size());
    at += is_lead(text_[at]) ? 2 : 1;
  }
  next_start_ = at;
}

void ResultIndex::note_bytes(std::string_view piece) {
  if (piece.empty()) return;
  if (!text_.empty()) pairs_.set(pair_of(text_.back(), piece.front()));
  for (std::size_t i = 0; i < piece.size(); ++i) {
    bytes_.set(static_cast<unsigned char>(piece[i]));
    if (i + 1 < piece.size()) pairs_.set(pair_of(piece[i], piece[i + 1]));
  }
}

bool ResultIndex::contains(const Text& word) {
  if (word.empty()) return !text_.empty();
  if (found_.count(word) != 0) return true;
  if (!bytes_.test(static_cast<unsigned char>(word.front()))) return false;
  for (std::size_t i = 0; i + 1 < word.size(); ++i) {
    if (!pairs_.test(pair_of(word[i], word[i + 1]))) return false;
  }
  bool found = false;
  if (word.size() == 1) {
    found = find_on_character_boundary(text_, word) != std::string_view::npos;
  } else {
    for (std::uint32_t entry = latest_start_[pair_of(word[0], word[1])]; entry != 0 && !found;
         entry = earlier_start_[entry - 1]) {
      const std::uint32_t at = start_offset_[entry - 1];
      found = text_.size() - at >= word.size() && text_.compare(at, word.size(), word) == 0;
    }
  }
  if (found) found_.insert(word);
  return found;
}

}  // namespace lexomir
