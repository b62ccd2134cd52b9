// Taking a URL apart for the page fetch, with curl's own URL parser so that what we request is what curl
// would understand of the same URL.
#include <curl/curl.h>

#include <cstdlib>
#include <memory>

#include "platform/inet/cookie_store.h"
#include "platform/inet/internet.h"

namespace lexomir::platform {
namespace {

struct UrlDeleter {
  void operator()(CURLU* url) const { curl_url_cleanup(url); }
};

std::optional<std::string> part(CURLU* url, CURLUPart which, unsigned flags = 0) {
  char* value = nullptr;
  if (curl_url_get(url, which, &value, flags) != CURLUE_OK) return std::nullopt;
  std::string out(value);
  curl_free(value);
  return out;
}

}  // namespace

std::optional<UrlParts> crack_url(const std::string& url) {
  cookie_share();  // libcurl initialised once for the process
  std::unique_ptr<CURLU, UrlDeleter> handle(curl_url());
  if (!handle || curl_url_set(handle.get(), CURLUPART_URL, url.c_str(),
                              CURLU_NON_SUPPORT_SCHEME | CURLU_ALLOW_SPACE) != CURLUE_OK) {
    return std::nullopt;
  }
  UrlParts parts;
  auto scheme = part(handle.get(), CURLUPART_SCHEME);
  auto host = part(handle.get(), CURLUPART_HOST);
  auto port = part(handle.get(), CURLUPART_PORT, CURLU_DEFAULT_PORT);
  if (!scheme || !host || !port || host->empty()) return std::nullopt;
  parts.scheme = *scheme;
  parts.host = *host;
  if (parts.host.size() > 2 && parts.host.front() == '[')
    parts.host = parts.host.substr(1, parts.host.size() - 2);
  parts.port = static_cast<int>(std::strtol(port->c_str(), nullptr, 10));
  parts.user = part(handle.get(), CURLUPART_USER).value_or("");
  parts.password = part(handle.get(), CURLUPART_PASSWORD).value_or("");
  parts.path_and_query = part(handle.get(), CURLUPART_PATH).value_or("/");
  if (auto query = part(handle.get(), CURLUPART_QUERY)) parts.path_and_query += "?" + *query;
  return parts;
}

}  // namespace lexomir::platform
