#pragma once
#include <string>
#include <string_view>

namespace lexomir {

// A JSON string literal, quotes included, for UTF-8 text: quote, backslash and control characters escaped.
std::string json_string(std::string_view utf8);

}  // namespace lexomir
