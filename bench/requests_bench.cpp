// Timed requests through tinyproxy to a loopback server, against plain libcurl fetches of the same URLs
// through the same proxy with a fresh handle each, interleaved one by one so both see the same machine.
// Prints the time per request of each and, last, "requests: <ms> per request, ratio <lexomir/libcurl>".
#include <curl/curl.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "tests/support/loopback_server.h"
#include "tests/support/tinyproxy_fixture.h"
#include "web/timed_request.h"

namespace {

using Clock = std::chrono::steady_clock;

std::size_t keep(char* data, std::size_t size, std::size_t count, void* out) {
  static_cast<std::string*>(out)->append(data, size * count);
  return size * count;
}

std::string plain_fetch(const std::string& url, const std::string& proxy) {
  std::string body;
  std::unique_ptr<CURL, decltype(&curl_easy_cleanup)> easy(curl_easy_init(), curl_easy_cleanup);
  curl_easy_setopt(easy.get(), CURLOPT_URL, url.c_str());
  curl_easy_setopt(easy.get(), CURLOPT_PROXY, proxy.c_str());
  curl_easy_setopt(easy.get(), CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(easy.get(), CURLOPT_WRITEFUNCTION, keep);
  curl_easy_setopt(easy.get(), CURLOPT_WRITEDATA, &body);
  curl_easy_perform(easy.get());
  return body;
}

}  // namespace

int main(int argc, char** argv) {
  const int count = argc > 1 ? std::atoi(argv[1]) : 300;
  curl_global_init(CURL_GLOBAL_DEFAULT);
  lexomir::testing::Tinyproxy proxy;
  lexomir::testing::LoopbackServer server;
  if (!proxy.ok() || !server.ok()) {
    std::fprintf(stderr, "requests: no tinyproxy or no loopback server: %s\n", proxy.error().c_str());
    return 1;
  }
  const std::string page(8000, 'x');
  server.set_default(lexomir::testing::ScriptedResponse::ok(page));

  double ours_ms = 0, curl_ms = 0;
  int wrong = 0;
  for (int i = 0; i < count; ++i) {
    const std::string url = server.url("/question/" + std::to_string(i) + ".html");
    auto t0 = Clock::now();
    lexomir::Text target = url;
    lexomir::TimedRequestOptions options;
    options.proxy = proxy.proxy();
    const lexomir::Bytes ours = lexomir::timed_request(target, options);
    auto t1 = Clock::now();
    const std::string theirs = plain_fetch(url, "http://" + proxy.proxy());
    auto t2 = Clock::now();
    ours_ms += std::chrono::duration<double, std::milli>(t1 - t0).count();
    curl_ms += std::chrono::duration<double, std::milli>(t2 - t1).count();
    if (ours.data() != page || theirs != page) ++wrong;
  }
  if (wrong) std::fprintf(stderr, "requests: %d of %d fetches came back wrong\n", wrong, count);
  std::printf("timed request: %.3f ms per request (%d)\n", ours_ms / count, count);
  std::printf("plain libcurl: %.3f ms per request (%d)\n", curl_ms / count, count);
  std::printf("requests: %.3f per request, ratio %.2f\n", ours_ms / count, ours_ms / curl_ms);
  return wrong ? 1 : 0;
}
