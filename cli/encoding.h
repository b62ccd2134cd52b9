#pragma once
// The terminal's side of the code-page border: the core speaks GBK, the terminal UTF-8 unless told otherwise.
#include <string>
#include <string_view>

#include "text/text.h"

namespace lexomir {

enum class TerminalEncoding { kUtf8, kGbk };

// Well-formed UTF-8: no overlong forms, no surrogates, nothing above U+10FFFF.
bool is_valid_utf8(std::string_view bytes);
// One-byte characters and two-byte characters with a lead byte 81-FE and a trail byte 40-7E or 80-FE;
// 80 stands alone (the euro sign of code page 936).
bool is_valid_gbk(std::string_view bytes);

// GBK to UTF-8. A byte sequence that is not GBK becomes U+FFFD rather than being dropped.
std::string gbk_to_utf8(const Text& gbk);

}  // namespace lexomir
