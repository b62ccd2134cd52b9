#pragma once
// The table GBK pages are decoded through. It holds, for every byte pair that begins with 0x80 or more, what
// ICU's "windows-936-2000" converter makes of it, malformed input included. It is generated from ICU when the
// program is built (make_gbk_decode_table.cpp), since filling it at run time cost every start 32K ICU calls.
#include <array>
#include <cstdint>

namespace lexomir::platform {

struct GbkDecodeTable {
  std::array<char16_t, 128 * 256> unit;      // the unit written for lead 0x80 + i, then second byte
  std::array<std::uint8_t, 128 * 256> used;  // bytes it takes: 2 for a character, 1 when the second byte
                                             // starts over as a character of its own
  std::array<char16_t, 128> lone;            // a lead byte that ends the input
};

extern const GbkDecodeTable kGbkDecodeTable;

}  // namespace lexomir::platform
