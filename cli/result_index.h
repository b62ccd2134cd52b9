#pragma once
// The console's result text, kept with what makes "does it hold this word" cheap over thousands of words.
// Between resets the text only grows, so a word once found stays found; a word with a pair of adjacent
// bytes that the text holds nowhere cannot be in it; a longer word can only begin where a character begins
// with its own first two bytes, and the index keeps those places for every pair. The answer is the text
// primitives' search: exact bytes, a match beginning only where a character begins.
#include <bitset>
#include <cstdint>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "text/text.h"

namespace lexomir {

class ResultIndex {
 public:
  const Text& text() const { return text_; }
  void assign(const Text& text);
  // Returns whether the piece begins where a character begins, so that whatever it starts with is found
  // there from now on.
  bool append(std::string_view piece);
  // For a word the caller knows to occur where a character begins.
  void remember_found(const Text& word) { found_.insert(word); }
  bool contains(const Text& word);

 private:
  void note_bytes(std::string_view piece);
  void note_character_starts(std::size_t from);

  Text text_;
  std::bitset<256> bytes_;
  std::bitset<65536> pairs_;
  // The offsets where a character begins, each linked to the one before it that begins with the same pair
  // of bytes: latest_start_[pair] is one past the latest such entry, 0 for none, and so is each link. Flat
  // arrays, since a hash map of vectors cost more than the rest of an append.
  std::vector<std::uint32_t> latest_start_ = std::vector<std::uint32_t>(65536, 0);
  std::vector<std::uint32_t> start_offset_;
  std::vector<std::uint32_t> earlier_start_;
  // The next offset where a character begins and whose pair is not noted yet (the text may end there).
  std::size_t next_start_ = 0;
  std::unordered_set<Text> found_;
  bool in_pair_ = false;  // the text ends on the first byte of a two-byte character
};

// Offset of the first occurrence of word in text that begins where a character begins, or npos. A byte of
// 0x80 or more begins a two-byte character together with the byte after it.
std::size_t find_on_character_boundary(std::string_view text, std::string_view word);

}  // namespace lexomir
