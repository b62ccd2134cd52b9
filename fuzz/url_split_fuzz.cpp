// URL splitting: the path starts with "/" and is the URL's own tail, the host holds no "/" or ":" character
// and is already lower case, and a URL without ":" has port 80.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <optional>

#include "fuzz/fuzz_input.h"
#include "text/primitives.h"
#include "web/url.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  lexomir::fuzzing::Input in{data, size};
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
