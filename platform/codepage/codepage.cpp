#include "platform/codepage/codepage.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#include <unicode/ucnv.h>
#include <unicode/ucnv_cb.h>
#include <unicode/ucnv_err.h>

#include <array>
#include <cstdint>
#include <cstring>

#include "platform/codepage/gbk_tables.h"
#include "platform/codepage/transliterator.h"

namespace lexomir::platform {
namespace {

// ICU's "GB2312" is not GBK and its "cp950" is IBM's table; these two are the Windows code pages.
const char* converter_name(int code_page) {
  switch (code_page) {
    case kAnsi:
    case kGbk:
      return "windows-936-2000";
    case kBig5:
      return "windows-950-2000";
    case kUtf8:
      return "UTF-8";
    default:
      return nullptr;
  }
}

// ICU's own substitute callback silently drops default-ignorable characters (U+200B and kin); the system
// service writes its default character for them like for any other character it cannot hold.
void substitute_everything(const void*, UConverterFromUnicodeArgs* args, const UChar*, int32_t, UChar32,
                           UConverterCallbackReason reason, UErrorCode* error) {
  if (reason == UCNV_UNASSIGNED || reason == UCNV_ILLEGAL || reason == UCNV_IRREGULAR) {
    *error = U_ZERO_ERROR;
    ucnv_cbFromUWriteSub(args, 0, error);
  }
}

struct ConverterCloser {
  void operator()(UConverter* c) const { ucnv_close(c); }
};

// Every unit consumes at least one byte, so bytes.size() units are room enough.
void decode_gbk(const GbkDecodeTable& table, std::string_view bytes, WideChars& out) {
  const std::size_t start = out.size();
  out.resize(start + bytes.size());
  char16_t* target = out.data() + start;
  const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
  const std::size_t n = bytes.size();
  std::size_t i = 0;
  while (i < n) {
    // Markup is mostly ASCII: widen a run of bytes at a time while none has its high bit set.
#if defined(__SSE2__)
    while (i + 16 <= n) {
      const __m128i bytes16 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i));
      if (_mm_movemask_epi8(bytes16) != 0) break;
      const __m128i zero = _mm_setzero_si128();
      _mm_storeu_si128(reinterpret_cast<__m128i*>(target), _mm_unpacklo_epi8(bytes16, zero));
      _mm_storeu_si128(reinterpret_cast<__m128i*>(target + 8), _mm_unpackhi_epi8(bytes16, zero));
      target += 16;
      i += 16;
    }
#endif
    while (i + 8 <= n) {
      std::uint64_t word;
      std::memcpy(&word, p + i, 8);
      if ((word & 0x8080808080808080ULL) != 0) break;
      for (int k = 0; k < 8; ++k) target[k] = p[i + k];
      target += 8;
      i += 8;
    }
    if (i >= n) break;
    if (p[i] < 0x80) {
      *target++ = p[i++];
      continue;
    }
    // Text is mostly characters of two bytes in a row: decode them without going back to the ASCII test.
    while (i + 1 < n && p[i] >= 0x80) {
      const std::size_t index = static_cast<std::size_t>(p[i] - 0x80) * 256 + p[i + 1];
      *target++ = table.unit[index];
      i += table.used[index];
    }
    if (i + 1 == n && p[i] >= 0x80) {
      *target++ = table.lone[p[i] - 0x80];
      ++i;
    }
  }
  out.resize(static_cast<std::size_t>(target - out.data()));
}

// Appends the GBK form of every unit and returns true, or returns false with out as it was when a unit is
// one the table does not hold, so that ICU converts the text with the caller's choice for such units.
bool encode_gbk(const GbkEncodeTable& table, std::u16string_view wide, std::string& out) {
  const std::size_t start = out.size();
  out.resize(start + wide.size() * 2);
  char* target = out.data() + start;
  for (const char16_t unit : wide) {
    if (unit < 0x80) {
      *target++ = static_cast<char>(unit);
      continue;
    }
    const std::uint16_t code = table.code[unit];
    if (code == 0) {
      out.resize(start);
      return false;
    }
    if (code >= 0x100) *target++ = static_cast<char>(code >> 8);
    *target++ = static_cast<char>(code & 0xFF);
  }
  out.resize(static_cast<std::size_t>(target - out.data()));
  return true;
}

}  // namespace

struct CodePageConverter::State {
  std::unique_ptr<UConverter, ConverterCloser> converter;
  const GbkDecodeTable* gbk = nullptr;
  const GbkEncodeTable* gbk_encode = nullptr;
  bool from_callback_set = false;
  Unmappable from_callback = Unmappable::kSubstitute;
  bool from_needs_reset = true;
};

CodePageConverter::CodePageConverter(int code_page) : state_(std::make_unique<State>()) {
  const char* name = converter_name(code_page);
  if (name == nullptr) return;
  UErrorCode error = U_ZERO_ERROR;
  state_->converter.reset(ucnv_open(name, &error));
  if (U_FAILURE(error)) state_->converter.reset();
  // Pages are large and words many: ICU's general converter would spend most of an extraction's time on them.
  if (state_->converter && (code_page == kGbk || code_page == kAnsi)) {
    state_->gbk = &kGbkDecodeTable;
    state_->gbk_encode = &kGbkEncodeTable;
  }
}

CodePageConverter::~CodePageConverter() = default;

bool CodePageConverter::valid() const { return state_->converter != nullptr; }

void CodePageConverter::to_wide(std::string_view bytes, WideChars& out) {
  UConverter* c = state_->converter.get();
  if (c == nullptr || bytes.empty()) return;
  if (state_->gbk != nullptr) {
    decode_gbk(*state_->gbk, bytes, out);
    return;
  }
  ucnv_resetToUnicode(c);
  const std::size_t start = out.size();
  // Every UTF-16 unit these converters write consumes at least one byte, except the two units of a
  // supplementary character, which come from four UTF-8 bytes; so one unit per byte is always room enough.
  out.resize(start + bytes.size() + 1);
  const char* source = bytes.data();
  const char* source_end = source + bytes.size();
  UChar* target = reinterpret_cast<UChar*>(out.data() + start);
  UChar* target_end = reinterpret_cast<UChar*>(out.data() + out.size());
  UErrorCode error = U_ZERO_ERROR;
  ucnv_toUnicode(c, &target, target_end, &source, source_end, nullptr, true, &error);
  out.resize(static_cast<std::size_t>(reinterpret_cast<char16_t*>(target) - out.data()));
}

std::size_t CodePageConverter::byte_offset_of_unit(std::string_view bytes, std::size_t unit) {
  UConverter* c = state_->converter.get();
  if (c == nullptr) return bytes.size();
  ucnv_resetToUnicode(c);
  const char* source = bytes.data();
  const char* source_end = source + bytes.size();
  std::size_t produced = 0;
  UChar units[256];
  int32_t offsets[256];
  for (;;) {
    UChar* target = units;
    UErrorCode error = U_ZERO_ERROR;
    const char* chunk_start = source;
    ucnv_toUnicode(c, &target, units + 256, &source, source_end, offsets, true, &error);
    const auto written = static_cast<std::size_t>(target - units);
    if (unit < produced + written) {
      // Offsets count from where this call started reading; -1 marks a unit that came from state held over.
      const int32_t offset = offsets[unit - produced];
      return offset < 0
                 ? static_cast<std::size_t>(chunk_start - bytes.data())
                 : static_cast<std::size_t>(chunk_start - bytes.data()) + static_cast<std::size_t>(offset);
    }
    produced += written;
    if (error != U_BUFFER_OVERFLOW_ERROR) return bytes.size();
  }
}

void CodePageConverter::from_wide(std::u16string_view wide, std::string& out, Unmappable unmappable) {
  UConverter* c = state_->converter.get();
  if (c == nullptr || wide.empty()) return;
  if (state_->gbk_encode != nullptr && encode_gbk(*state_->gbk_encode, wide, out)) return;
  // Extraction converts one short group after another: the callback is set and the state reset only when
  // needed, since both cost more than converting a word.
  if (!state_->from_callback_set || state_->from_callback != unmappable) {
    UErrorCode error = U_ZERO_ERROR;
    if (unmappable == Unmappable::kStop) {
      ucnv_setFromUCallBack(c, UCNV_FROM_U_CALLBACK_STOP, nullptr, nullptr, nullptr, &error);
    } else {
      ucnv_setFromUCallBack(c, substitute_everything, nullptr, nullptr, nullptr, &error);
    }
    state_->from_callback_set = true;
    state_->from_callback = unmappable;
  }
  if (state_->from_needs_reset) ucnv_resetFromUnicode(c);
  state_->from_needs_reset = true;
  const UChar* source = reinterpret_cast<const UChar*>(wide.data());
  const UChar* source_end = source + wide.size();
  const std::size_t per_unit = static_cast<std::size_t>(ucnv_getMaxCharSize(c));
  std::size_t start = out.size();
  out.resize(start + wide.size() * per_unit + 4);
  UErrorCode error = U_ZERO_ERROR;
  for (;;) {
    char* target = out.data() + start;
    char* target_end = out.data() + out.size();
    error = U_ZERO_ERROR;
    ucnv_fromUnicode(c, &target, target_end, &source, source_end, nullptr, true, &error);
    start = static_cast<std::size_t>(target - out.data());
    if (error == U_BUFFER_OVERFLOW_ERROR) {
      out.resize(out.size() * 2);
      continue;
    }
    break;
  }
  // A flushed conversion that ended well leaves the converter clean for the next one.
  if (U_SUCCESS(error)) state_->from_needs_reset = false;
  out.resize(start);
}

WideChars multibyte_to_wide(int code_page, std::string_view bytes) {
  WideChars out;
  CodePageConverter(code_page).to_wide(bytes, out);
  return out;
}

std::string wide_to_multibyte(int code_page, std::u16string_view wide, Unmappable unmappable) {
  std::string out;
  CodePageConverter(code_page).from_wide(wide, out, unmappable);
  return out;
}

namespace {

// For every two-byte GBK code (lead * 256 + trail) the code of its simplified form, or the code itself.
using SimplifiedTable = std::array<std::uint16_t, 65536>;

SimplifiedTable build_simplified_table() {
  SimplifiedTable table{};
  for (std::size_t code = 0; code < table.size(); ++code) table[code] = static_cast<std::uint16_t>(code);
  Transliterator trans(u"Traditional-Simplified");
  if (!trans.valid()) return table;
  CodePageConverter gbk(kGbk);
  WideChars wide;
  std::string back;
  for (unsigned lead = 0x81; lead <= 0xFE; ++lead) {
    for (unsigned trail = 0x40; trail <= 0xFE; ++trail) {
      if (trail == 0x7F) continue;
      const char pair[2] = {static_cast<char>(lead), static_cast<char>(trail)};
      wide.clear();
      gbk.to_wide(std::string_view(pair, 2), wide);
      if (wide.size() != 1 || wide[0] == 0xFFFD) continue;
      char16_t buffer[16] = {wide[0]};
      if (trans.transform(buffer, 1, 16) != 1 || buffer[0] == wide[0]) continue;
      back.clear();
      gbk.from_wide(std::u16string_view(buffer, 1), back, Unmappable::kStop);
      if (back.size() != 2) continue;
      table[lead * 256 + trail] = static_cast<std::uint16_t>(static_cast<unsigned char>(back[0]) * 256 +
                                                             static_cast<unsigned char>(back[1]));
    }
  }
  return table;
}

const SimplifiedTable& simplified_table() {
  static const SimplifiedTable table = build_simplified_table();
  return table;
}

}  // namespace

std::string map_simplified_chinese(std::string_view gbk) {
  std::string out(gbk);
  if (out.empty()) return out;
  const SimplifiedTable& table = simplified_table();
  for (std::size_t i = 0; i < out.size(); ++i) {
    const auto lead = static_cast<unsigned char>(out[i]);
    if (lead < 0x80) continue;
    if (i + 1 >= out.size()) break;
    const std::uint16_t mapped = table[lead * 256 + static_cast<unsigned char>(out[i + 1])];
    out[i] = static_cast<char>(mapped >> 8);
    out[i + 1] = static_cast<char>(mapped & 0xFF);
    ++i;
  }
  return out;
}

}  // namespace lexomir::platform
