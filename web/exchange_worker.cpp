#include "web/exchange_worker.h"

#include <vector>

#include "platform/inet/scoped_handle.h"
#include "text/delimited.h"
#include "text/primitives.h"
#include "web/url.h"

namespace lexomir {

const char* const kDefaultUserAgent =
    "Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.1; SV1; .NET CLR 2.0.50727; .NET CLR 3.0.04506.648; "
    ".NET "
    "CLR 3.5.21022)";
const char* const kDefaultAcceptLine =
    "Accept: image/gif, image/bmp, image/x-xbitmap, image/jpeg, image/pjpeg, application/x-shockwave-flash, "
    "application/vnd.ms-excel, application/vnd.ms-powerpoint, application/msword, */*\r\n";
const char* const kDefaultLanguageLine = "Accept-Language: zh-cn\r\n";
const char* const kFormContentTypeLine = "Content-Type: application/x-www-form-urlencoded\r\n";

namespace {

constexpr std::uint32_t kReadChunk = 2048;
constexpr int kRawHeaderBuffer = 2048;
constexpr int kHttpsPort = 443;
const Text kSetCookie = "Set-Cookie: ";

bool contains(const Text& text, const Text& sought) {
  return search(text, sought, 1, /*ignore_case=*/true) != -1;
}

void complete_headers(Text& headers, const Text& url) {
  if (!contains(headers, "Accept")) headers += kDefaultAcceptLine;
  if (contains(headers, "RefererNo")) {
    headers = replace_occurrences(headers, "RefererNo", "", 1, 1, /*exact_case=*/true);
  } else if (!contains(headers, "Referer")) {
    headers += "Referer: " + url + "\r\n";
  }
  if (!contains(headers, "Accept-Language")) headers += kDefaultLanguageLine;
}

// Each Set-Cookie line gives its name=value to the returned cookies and goes into the cookie store whole.
Text walk_cookies(const Text& raw_headers, const Text& host, platform::Internet& internet) {
  Text collected;
  if (!contains(raw_headers, kSetCookie)) return collected;
  for (Text line : split(raw_headers, "\n")) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (!contains(line, kSetCookie)) continue;
    const Text rest = right_part(line, text_length(line) - text_length(kSetCookie));
    collected += text_before(rest, ";") + ";";
    const int eq = search(rest, "=");
    const Text name = eq == -1 ? Text() : left_part(rest, eq - 1);
    const Text data = eq == -1 ? rest : right_part(rest, text_length(rest) - eq);
    internet.set_cookie("http://" + host, name, data);
  }
  return collected;
}

}  // namespace

void run_exchange(ExchangeFile& file, platform::Internet& internet) {
  RequestRecord record;
  file.rewind();
  if (!read_record(file, record)) return;

  const Text url = bytes_to_text(record[kUrlField]);
  const Text method = bytes_to_text(record[kMethodField]);
  const Text proxy = bytes_to_text(record[kProxyField]);
  Text headers = bytes_to_text(record[kExtraHeadersField]);
  const Bytes data = record[kSubmittedDataField];
  const Text cookies = bytes_to_text(record[kCookiesField]);
  const bool allow_redirects = bytes_to_text(record[kRedirectField]) == kTrueText;

  const bool https = search(lower_case(url), "https://") != -1;
  const Text host = url_host(url);
  const Text path = url_path(url);
  const Text agent = contains(headers, "User-Agent:")
                         ? trim_blanks(middle_text(headers, "User-Agent:", "\r\n"))
                         : kDefaultUserAgent;

  // A request that cannot even be opened returns no body and, rather than echo the method and the cookies
  // sent, no returned cookies and no returned headers either.
  auto write_back_failure = [&] {
    record[kBodyField].clear();
    record[kReturnedCookiesField].clear();
    record[kReturnedHeadersField].clear();
    file.rewind();
    write_record(file, record);
  };

  platform::ScopedInternetHandle session(
      internet, record[kProxyField].empty()
                    ? internet.open(agent, platform::kOpenDirect, "", "", 0)
                    : internet.open(agent, platform::kOpenProxy, "http=" + proxy, "", 0));
  if (!session) return write_back_failure();
  const int port = https ? kHttpsPort : url_port(url);
  platform::ScopedInternetHandle connection(
      internet, internet.connect(session.get(), host, port, "", "", platform::kServiceHttp, 0, 0));
  if (!connection) {
    session.close();
    return write_back_failure();
  }

  std::uint32_t flags = platform::kFlagReload | platform::kFlagNeedFile;
  if (!trim_blanks(cookies).empty()) flags |= platform::kFlagNoCookies;
  if (!allow_redirects) flags |= platform::kFlagNoAutoRedirect;
  if (https) {
    flags = platform::kFlagSecure;
  } else {
    flags |= platform::kFlagIgnoreRedirectToHttps;
  }
  platform::ScopedInternetHandle request(
      internet, internet.open_request(connection.get(), method, path, "HTTP/1.1", "", flags, 0));
  if (!request) {
    connection.close();
    session.close();
    return write_back_failure();
  }

  complete_headers(headers, url);
  const Text cookie_line = cookies.empty() ? Text() : "Cookie: " + cookies + "\r\n\r\n";
  if (method == "GET") {
    headers += cookie_line;
    internet.send_request(request.get(), headers, {});
  } else if (method == "POST") {
    if (!data.empty()) {
      if (!contains(headers, "Content-Type")) headers += kFormContentTypeLine;
      if (!contains(headers, "Content-Length")) {
        headers += "Content-Length: " + std::to_string(data.size()) + "\r\n";
      }
    }
    headers += cookie_line;
    internet.send_request(request.get(), headers, data.view());
  }

  Bytes& body = record[kBodyField];
  body.clear();
  std::vector<char> chunk(kReadChunk);
  for (;;) {
    std::uint32_t read = 0;
    internet.read_file(request.get(), chunk.data(), kReadChunk, read);
    if (read == 0) break;
    body.append(chunk.data(), read);
  }

  Text raw_buffer = blank_text(kRawHeaderBuffer);
  std::uint32_t length = kRawHeaderBuffer;
  internet.query_info(request.get(), platform::kQueryRawHeadersCrlf, raw_buffer.data(), length);
  const Text raw_headers = bytes_to_text(raw_buffer);
  record[kReturnedHeadersField] = text_to_bytes(raw_headers);

  request.close();
  connection.close();
  session.close();

  record[kReturnedCookiesField] = text_to_bytes(walk_cookies(raw_headers, host, internet));
  file.rewind();
  write_record(file, record);
}

}  // namespace lexomir
