// Times batch extraction of every "<em>" fragment of one page file, the way the highlight method runs it.
// Usage: extract_bench FILE [REPEATS]. Prints the item count, the best time in seconds and the peak RSS.
#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>

#include "text/batch_extract.h"

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: extract_bench FILE [REPEATS]\n");
    return 2;
  }
  const int repeats = argc > 2 ? std::max(1, std::atoi(argv[2])) : 1;
  std::ifstream in(argv[1], std::ios::binary);
  if (!in) {
    std::fprintf(stderr, "extract_bench: cannot read %s\n", argv[1]);
    return 1;
  }
  // Read straight into the text, so the page is held once, as the method holds it.
  in.seekg(0, std::ios::end);
  lexomir::Text page(static_cast<std::size_t>(in.tellg()), '\0');
  in.seekg(0);
  in.read(page.data(), static_cast<std::streamsize>(page.size()));

  double best = 1e9;
  int items = 0;
  for (int i = 0; i < repeats; ++i) {
    lexomir::TextArray output;
    const auto start = std::chrono::steady_clock::now();
    items = lexomir::batch_extract(page, "<em>", "</em>", output);
    const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
    best = std::min(best, elapsed.count());
  }
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  std::printf("items %d\nseconds %.6f\npeak_rss_kb %ld\nbytes %zu\n", items, best, usage.ru_maxrss,
              page.size());
  return 0;
}
