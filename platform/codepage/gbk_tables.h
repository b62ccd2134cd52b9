#pragma once
// The tables GBK text is converted through, generated from ICU's "windows-936-2000" converter when the
// program is built (make_gbk_tables.cpp): filling them at run time would cost every start tens of thousands
// of ICU calls, and converting a large page or thousands of short words through ICU's general converter
// costs most of an extraction's time.
#include <array>
#include <cstdint>

namespace lexomir::platform {

// What the decoder makes of every byte pair that begins with 0x80 or more, malformed input included.
struct GbkDecodeTable {
  std::array<char16_t, 128 * 256> unit;      // the unit written for lead 0x80 + i, then second byte
  std::array<std::uint8_t, 128 * 256> used;  // bytes it takes: 2 for a character, 1 when the second byte
                                             // starts over as a character of its own
  std::array<char16_t, 128> lone;            // a lead byte that ends the input
};

// What the encoder writes for every unit of 0x80 or more that it holds: one byte when below 0x100, else the
// lead byte times 256 plus the second. 0 for a unit it cannot hold and for the surrogates, which go through
// ICU itself. Units below 0x80 are written as they are.
struct GbkEncodeTable {
  std::array<std::uint16_t, 65536> code;
};

extern const GbkDecodeTable kGbkDecodeTable;
extern const GbkEncodeTable kGbkEncodeTable;

}  // namespace lexomir::platform
