#pragma once
// One of ICU's transforms, taken from ICU's i18n library, which is loaded only when the first transform is
// opened: the mapping from traditional to simplified characters is its only use here, and most runs never
// need it, so they do not pay for loading and relocating that large library at start.
#include <cstdint>
#include <memory>

namespace lexomir::platform {

class Transliterator {
 public:
  // id is an ICU transform id such as u"Traditional-Simplified".
  explicit Transliterator(const char16_t* id);
  ~Transliterator();
  Transliterator(const Transliterator&) = delete;
  Transliterator& operator=(const Transliterator&) = delete;

  // False when the library or the transform is missing; every transform then fails.
  bool valid() const;
  // Transforms text[0, length) in place, in a buffer of capacity units. Returns the new length, or -1 when
  // the transform fails or the result does not fit.
  std::int32_t transform(char16_t* text, std::int32_t length, std::int32_t capacity);

 private:
  struct State;
  std::unique_ptr<State> state_;
};

}  // namespace lexomir::platform
