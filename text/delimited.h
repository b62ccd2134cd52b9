#pragma once
#include "text/text.h"

namespace lexomir {

// "#引号" in either delimiter stands for a double quote.
inline constexpr char kQuotePlaceholder[] = "#\xD2\xFD\xBA\xC5";

// The text between the first left delimiter (at or after start) and the next right delimiter after it,
// or the empty text. Delimiters match ignoring ASCII case unless exact_case.
Text middle_text(const Text& text, const Text& left, const Text& right, int start = 0,
                 bool exact_case = false);

// The text before the first delimiter, or the empty text.
Text text_before(const Text& text, const Text& delimiter, int start = 1, bool ignore_case = false);

}  // namespace lexomir
