#include "cli/encoding.h"

#include <unicode/ucnv.h>
#include <unicode/ustring.h>

#include <memory>
#include <vector>

namespace lexomir {

namespace {

struct ConverterClose {
  void operator()(UConverter* converter) const { ucnv_close(converter); }
};
using ConverterPtr = std::unique_ptr<UConverter, ConverterClose>;

bool in_range(unsigned char byte, unsigned char low, unsigned char high) {
  return byte >= low && byte <= high;
}

}  // namespace

bool is_valid_utf8(std::string_view bytes) {
  std::size_t i = 0;
  while (i < bytes.size()) {
    const auto lead = static_cast<unsigned char>(bytes[i]);
    std::size_t length = 0;
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    if (lead < 0x80) {
      ++i;
      continue;
    } else if (in_range(lead, 0xC2, 0xDF)) {
      length = 2;
    } else if (in_range(lead, 0xE0, 0xEF)) {
      length = 3;
      if (lead == 0xE0) low = 0xA0;   // overlong
      if (lead == 0xED) high = 0x9F;  // surrogates
    } else if (in_range(lead, 0xF0, 0xF4)) {
      length = 4;
      if (lead == 0xF0) low = 0x90;   // overlong
      if (lead == 0xF4) high = 0x8F;  // above U+10FFFF
    } else {
      return false;
    }
    if (bytes.size() - i < length) return false;
    if (!in_range(static_cast<unsigned char>(bytes[i + 1]), low, high)) return false;
    for (std::size_t k = 2; k < length; ++k) {
      if (!in_range(static_cast<unsigned char>(bytes[i + k]), 0x80, 0xBF)) return false;
    }
    i += length;
  }
  return true;
}

bool is_valid_gbk(std::string_view bytes) {
  std::size_t i = 0;
  while (i < bytes.size()) {
    const auto lead = static_cast<unsigned char>(bytes[i]);
    if (lead <= 0x80) {
      ++i;
      continue;
    }
    if (lead == 0xFF || i + 1 == bytes.size()) return false;
    const auto trail = static_cast<unsigned char>(bytes[i + 1]);
    if (!in_range(trail, 0x40, 0x7E) && !in_range(trail, 0x80, 0xFE)) return false;
    i += 2;
  }
  return true;
}

std::string gbk_to_utf8(const Text& gbk) {
  if (gbk.empty()) return {};
  UErrorCode status = U_ZERO_ERROR;
  // The same table as the rest of the program: ICU's "GBK" alias differs from code page 936 at 0x80.
  const ConverterPtr converter(ucnv_open("windows-936-2000", &status));
  if (U_FAILURE(status)) return {};
  std::vector<UChar> wide(gbk.size() + 1);
  const int32_t wide_length = ucnv_toUChars(converter.get(), wide.data(), static_cast<int32_t>(wide.size()),
                                            gbk.data(), static_cast<int32_t>(gbk.size()), &status);
  if (U_FAILURE(status)) return {};
  std::string utf8(static_cast<std::size_t>(wide_length) * 3, '\0');
  int32_t utf8_length = 0;
  u_strToUTF8WithSub(utf8.data(), static_cast<int32_t>(utf8.size()), &utf8_length, wide.data(), wide_length,
                     0xFFFD, nullptr, &status);
  if (U_FAILURE(status)) return {};
  utf8.resize(static_cast<std::size_t>(utf8_length));
  return utf8;
}

}  // namespace lexomir
