#pragma once
// Code-page conversions into GBK. A wide text is UTF-16LE bytes ending in a zero unit.
#include "text/text.h"

namespace lexomir {

inline constexpr int kCodePageUtf8 = 65001;
inline constexpr int kCodePageGbk = 936;
inline constexpr int kCodePageBig5 = 950;
inline constexpr int kCodePageAnsi = 0;  // the system's ANSI code page: GBK here

Text utf8_to_gbk(const Text& utf8);
Text big5_to_simplified_gbk(const Text& big5);
Bytes to_wide(const Text& text, int code_page = kCodePageUtf8);
Text from_wide(const Bytes& wide, int code_page = kCodePageAnsi);
Text big5_to_gbk(const Text& big5);
// Same byte length: only characters whose simplified form is a two-byte GBK character change.
Text traditional_to_simplified(const Text& gbk);

}  // namespace lexomir
