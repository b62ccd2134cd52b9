#pragma once
// One HTTP exchange on a worker thread of its own, waited for with a time-out while the calling thread's
// events keep flowing. Every parameter but the URL is optional and a given value counts even when it
// equals the default.
#include <optional>

#include "text/text.h"

namespace lexomir {

// "超时返回，指定网站不能访问，或者你的网络出现问题，你可以把参数中的＂超时返回＂的值设置长一些。" in GBK.
extern const char* const kTimeoutMessage;

struct TimedRequestOptions {
  std::optional<int> method;  // 1: POST, otherwise GET
  std::optional<Text> proxy;  // host:port, empty for a direct connection
  std::optional<Text> extra_headers;
  std::optional<Bytes> submitted_data;
  std::optional<Text> cookies;
  std::optional<int> timeout_seconds;   // 60 when not given
  Text* returned_headers = nullptr;     // filled only when given
  std::optional<int> result_type;       // 1: from UTF-8, 2: from Big5, otherwise raw bytes
  Text* returned_cookies = nullptr;     // filled only when given
  std::optional<bool> allow_redirects;  // true when not given
};

// The URL receives "http://" in front when it starts with neither "http://" nor "https://".
Bytes timed_request(Text& url, const TimedRequestOptions& options = {});

}  // namespace lexomir
