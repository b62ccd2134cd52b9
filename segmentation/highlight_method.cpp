#include "segmentation/append_if_new.h"
#include "segmentation/button_state.h"
#include "segmentation/methods.h"
#include "segmentation/page_fetch.h"
#include "text/batch_extract.h"
#include "text/primitives.h"
#include "text/url_encoding.h"

namespace lexomir {

namespace {
constexpr char kHighlightLeft[] = "<em>";
constexpr char kHighlightRight[] = "</em>";
}  // namespace

RunReport run_highlight_method(WindowOperations& window, const SearchService& service) {
  RunReport report;
  const RunningButton running(window);
  // Emptied before the question is read, so no word of an earlier run survives this one.
  window.set_result_text({});

  const Text url = search_url(service, url_encode(window.read_question_text()));
  const Text page = bytes_to_text(page_fetch(url));
  if (page.empty()) return report;
  report.page_fetched = true;

  TextArray words;
  report.fragments = batch_extract(page, kHighlightLeft, kHighlightRight, words);
  for (const Text& word : words) {
    if (append_if_new(window, word)) ++report.words_appended;
  }
  return report;
}

}  // namespace lexomir
