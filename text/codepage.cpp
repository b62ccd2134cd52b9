#include "text/codepage.h"

#include <string_view>

#include "platform/codepage/codepage.h"

namespace lexomir {
namespace {

// A text ends at its first zero byte.
std::string_view text_view(const Text& text) {
  std::string_view view(text);
  return view.substr(0, view.find('\0'));
}

// A wide text ends at its first zero unit; a stray odd byte at the end is no unit.
std::u16string wide_units(const Bytes& wide) {
  std::u16string units;
  const std::string& data = wide.data();
  units.reserve(data.size() / 2);
  for (std::size_t i = 0; i + 1 < data.size(); i += 2) {
    const char16_t unit = static_cast<char16_t>(static_cast<unsigned char>(data[i]) |
                                                (static_cast<unsigned char>(data[i + 1]) << 8));
    if (unit == 0) break;
    units.push_back(unit);
  }
  return units;
}

}  // namespace

Bytes to_wide(const Text& text, int code_page) {
  platform::CodePageConverter converter(code_page);
  if (!converter.valid()) return {};
  platform::WideChars units;
  converter.to_wide(text_view(text), units);
  Bytes wide;
  std::string& data = wide.data();
  data.resize((units.size() + 1) * 2, '\0');  // the last unit stays zero: the terminator
  for (std::size_t i = 0; i < units.size(); ++i) {
    data[2 * i] = static_cast<char>(units[i] & 0xFF);
    data[2 * i + 1] = static_cast<char>(units[i] >> 8);
  }
  return wide;
}

Text from_wide(const Bytes& wide, int code_page) {
  return platform::wide_to_multibyte(code_page, wide_units(wide));
}

Text utf8_to_gbk(const Text& utf8) { return from_wide(to_wide(utf8, kCodePageUtf8), kCodePageGbk); }

Text big5_to_gbk(const Text& big5) {
  const platform::WideChars units = platform::multibyte_to_wide(kCodePageBig5, text_view(big5));
  // An empty default character: GBK output ends just before the first character GBK cannot hold.
  return platform::wide_to_multibyte(kCodePageGbk, platform::view_of(units), platform::Unmappable::kStop);
}

Text traditional_to_simplified(const Text& gbk) { return platform::map_simplified_chinese(text_view(gbk)); }

Text big5_to_simplified_gbk(const Text& big5) { return traditional_to_simplified(big5_to_gbk(big5)); }

}  // namespace lexomir
