#include "segmentation/page_fetch.h"

#include <vector>

#include "platform/inet/internet.h"
#include "platform/inet/scoped_handle.h"

namespace lexomir {
namespace {

constexpr char kAgent[] = "Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.0)";
constexpr char kHeaders[] = "Accept: */*\r\n\r\n";
constexpr std::size_t kPathLimit = 2048;
constexpr std::uint32_t kChunk = 2048;

}  // namespace

Bytes page_fetch(const Text& url) {
  const Text target = url.substr(0, url.find('#'));
  if (target.empty()) return {};
  const auto parts = platform::crack_url(target);
  if (!parts || (parts->scheme != "http" && parts->scheme != "https") ||
      parts->path_and_query.size() >= kPathLimit) {
    return {};
  }

  // Fresh copy from the server; redirects followed, to https as well; cookies as the store has them.
  std::uint32_t flags = platform::kFlagReload | platform::kFlagNoCacheWrite | platform::kFlagPragmaNoCache |
                        platform::kFlagIgnoreRedirectToHttps;
  if (parts->scheme == "https") flags |= platform::kFlagSecure;

  const auto internet = platform::make_internet();
  platform::ScopedInternetHandle session(*internet,
                                         internet->open(kAgent, platform::kOpenPreconfig, "", "", 0));
  if (!session) return {};
  platform::ScopedInternetHandle connection(
      *internet, internet->connect(session.get(), parts->host, parts->port, parts->user, parts->password,
                                   platform::kServiceHttp, 0, 0));
  if (!connection) return {};
  platform::ScopedInternetHandle request(
      *internet,
      internet->open_request(connection.get(), "GET", parts->path_and_query, "HTTP/1.0", "", flags, 0));
  if (!request || !internet->send_request(request.get(), kHeaders, {})) return {};

  Bytes body;
  std::vector<char> chunk(kChunk);
  for (;;) {
    std::uint32_t read = 0;
    if (!internet->read_file(request.get(), chunk.data(), kChunk, read) || read == 0) break;
    body.append(chunk.data(), read);
  }
  return body;
}

}  // namespace lexomir
