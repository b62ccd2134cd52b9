#include "text/url_encoding.h"

#include "text/primitives.h"
#include "text/process_events.h"

namespace lexomir {
namespace {

// With the spare flag these stay readable: ",-./", the digits and the ASCII letters.
bool kept_when_spared(unsigned char c) {
  return (c >= 0x2C && c <= 0x39) || (c >= 0x41 && c <= 0x5A) || (c >= 0x61 && c <= 0x7A);
}

}  // namespace

Text url_encode(const Text& text, bool spare) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  const Bytes bytes = text_to_bytes(text);
  Text out;
  out.reserve(bytes.size() * 3);
  for (const char ch : bytes.view()) {
    const auto c = static_cast<unsigned char>(ch);
    if (spare && kept_when_spared(c)) {
      out += ch;
    } else {
      out += '%';
      out += kHex[c >> 4];
      out += kHex[c & 0x0F];
    }
    // A long question must not leave the calling thread's events waiting until the whole text is done.
    process_events();
  }
  return out;
}

}  // namespace lexomir
