// URL splitting: the path starts with "/" and is the URL's own tail, the host holds no "/" or ":" character
// and is already lower case, and a URL without ":" has port 80.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <optional>

#include "text/primitives.h"
#include "web/url.h"

namespace {

// Cuts the fuzz input into small integers and texts; a text runs to the next zero byte, so it holds none.
struct Input {
  const std::uint8_t* p;
  std::size_t n;

  std::uint8_t byte() {
    if (n == 0) return 0;
    --n;
    return *p++;
  }
  // Mostly small values, so that starts and counts land inside the texts, now and then an extreme one.
  int number() {
    const std::uint8_t kind = byte();
    const auto small = static_cast<std::int8_t>(byte());
    if (kind == 0xFF) return std::numeric_limits<int>::max();
    if (kind == 0xFE) return std::numeric_limits<int>::min();
    return small;
  }
  lexomir::Text text() {
    if (n == 0) return {};
    const auto* end = static_cast<const std::uint8_t*>(std::memchr(p, 0, n));
    const std::size_t len = end ? std::size_t(end - p) : n;
    lexomir::Text out(reinterpret_cast<const char*>(p), len);
    p += len;
    n -= len;
    if (n > 0) --n, ++p;
    return out;
  }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  Input in{data, size};
  const lexomir::Text url = in.text();

  const lexomir::Text host = lexomir::url_host(url);
  const lexomir::Text path = lexomir::url_path(url);
  const int port = lexomir::url_port(url);

  if (path.empty() || path[0] != '/') std::abort();
  if (path != "/" &&
      (path.size() > url.size() || url.compare(url.size() - path.size(), path.size(), path) != 0))
    std::abort();
  // A "/" or ":" may still sit in the host as the second byte of a character.
  if (lexomir::search(host, "/") != -1 || lexomir::search(host, ":") != -1) std::abort();
  if (lexomir::lower_case(host) != host) std::abort();
  if (url.find(':') == lexomir::Text::npos && port != 80) std::abort();
  return 0;
}
