#include "web/timed_request.h"

#include <memory>

#include "platform/inet/internet.h"
#include "platform/threads/worker_thread.h"
#include "text/codepage.h"
#include "text/primitives.h"
#include "text/process_events.h"
#include "web/exchange_file.h"
#include "web/exchange_worker.h"

namespace lexomir {

// 超时返回，指定网站不能访问，或者你的网络出现问题，你可以把参数中的＂超时返回＂的值设置长一些。
const char* const kTimeoutMessage =
    "\xB3\xAC\xCA\xB1\xB7\xB5\xBB\xD8\xA3\xAC\xD6\xB8\xB6\xA8\xCD\xF8\xD5\xBE\xB2\xBB\xC4\xDC\xB7\xC3\xCE\xCA"
    "\xA3\xAC\xBB\xF2\xD5\xDF\xC4\xE3\xB5\xC4\xCD\xF8\xC2\xE7\xB3\xF6\xCF\xD6\xCE\xCA\xCC\xE2\xA3\xAC\xC4\xE3"
    "\xBF\xC9\xD2\xD4\xB0\xD1\xB2\xCE\xCA\xFD\xD6\xD0\xB5\xC4\xA3\xA2\xB3\xAC\xCA\xB1\xB7\xB5\xBB\xD8\xA3\xA2"
    "\xB5\xC4\xD6\xB5\xC9\xE8\xD6\xC3\xB3\xA4\xD2\xBB\xD0\xA9\xA1\xA3";

namespace {

constexpr int kDefaultTimeoutMs = 60000;
constexpr double kElapsedTolerance = 1e-7;

// What the worker thread and the waiting caller share. A caller that gives up drops its reference; the
// worker keeps the exchange alive until it has finished with it.
struct Exchange {
  ExchangeFile file;
  std::shared_ptr<platform::Internet> internet = platform::make_internet();
};

Bytes copy_of(const std::optional<Text>& text) { return text ? text_to_bytes(*text) : Bytes(); }

}  // namespace

Bytes timed_request(Text& url, const TimedRequestOptions& options) {
  if (trim_blanks(url).empty()) return {};
  if (left_part(url, 7) != "http://" && left_part(url, 8) != "https://") url = "http://" + url;

  RequestRecord record;
  record[kUrlField] = text_to_bytes(url);
  record[kMethodField] = text_to_bytes(options.method == 1 ? "POST" : "GET");
  record[kProxyField] = copy_of(options.proxy);
  record[kExtraHeadersField] = copy_of(options.extra_headers);
  record[kSubmittedDataField] = options.submitted_data.value_or(Bytes());
  record[kCookiesField] = copy_of(options.cookies);
  record[kRedirectField] = text_to_bytes(options.allow_redirects.value_or(true) ? kTrueText : kFalseText);

  auto exchange = std::make_shared<Exchange>();
  if (!write_record(exchange->file, record)) return {};
  record = {};

  platform::WorkerThread worker =
      platform::WorkerThread::start([exchange] { run_exchange(exchange->file, *exchange->internet); });
  const double start = platform::monotonic_milliseconds();
  const int timeout_ms =
      options.timeout_seconds ? truncate_to_int(*options.timeout_seconds * 1000.0) : kDefaultTimeoutMs;

  platform::WaitStatus status;
  do {
    status = worker.wait(std::chrono::milliseconds(timeout_ms));
    const double now = platform::monotonic_milliseconds();
    if ((now - start) - timeout_ms >= -kElapsedTolerance) status = platform::WaitStatus::kTimeout;
    process_events();
  } while (status != platform::WaitStatus::kEnded && status != platform::WaitStatus::kTimeout);

  if (status == platform::WaitStatus::kTimeout) {
    // Never kill the worker inside the internet library: end its transfer and leave it to finish alone.
    exchange->internet->cancel();
    worker.abandon();
    return Bytes(kTimeoutMessage);
  }

  exchange->file.rewind();
  if (!read_record(exchange->file, record)) return {};
  if (options.returned_headers) *options.returned_headers = bytes_to_text(record[kReturnedHeadersField]);
  if (options.returned_cookies) *options.returned_cookies = bytes_to_text(record[kReturnedCookiesField]);
  const Bytes& body = record[kBodyField];
  if (options.result_type == 1) return text_to_bytes(utf8_to_gbk(bytes_to_text(body)));
  if (options.result_type == 2) return text_to_bytes(big5_to_simplified_gbk(bytes_to_text(body)));
  return body;
}

}  // namespace lexomir
