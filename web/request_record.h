#pragma once
// The seven fields that carry one HTTP exchange from the timed request to the exchange worker and back.
#include <array>

#include "text/text.h"

namespace lexomir {

using RequestRecord = std::array<Bytes, 7>;

// Field indexes; the worker reuses fields 1, 2 and 6 for the response.
inline constexpr std::size_t kUrlField = 0;     // on return: the body
inline constexpr std::size_t kMethodField = 1;  // on return: the returned cookies
inline constexpr std::size_t kProxyField = 2;
inline constexpr std::size_t kExtraHeadersField = 3;
inline constexpr std::size_t kSubmittedDataField = 4;
inline constexpr std::size_t kCookiesField = 5;  // on return: the raw response headers
inline constexpr std::size_t kRedirectField = 6;

inline constexpr std::size_t kBodyField = kUrlField;
inline constexpr std::size_t kReturnedCookiesField = kMethodField;
inline constexpr std::size_t kReturnedHeadersField = kCookiesField;

// "真" and "假" in GBK, the redirect field's two values.
inline constexpr char kTrueText[] = "\xD5\xE6";
inline constexpr char kFalseText[] = "\xBC\xD9";

}  // namespace lexomir
