#include "segmentation/append_if_new.h"
#include "segmentation/button_state.h"
#include "segmentation/methods.h"
#include "segmentation/page_fetch.h"
#include "text/batch_extract.h"
#include "text/delimited.h"
#include "text/primitives.h"
#include "text/url_encoding.h"
#include "web/timed_request.h"

namespace lexomir {

namespace {

// The markup the service writes around a question link and a page's keywords metadata.
constexpr char kLinkLeft[] = ">  <a href=\"";
constexpr char kLinkRight[] = "\" ";
constexpr char kKeywordsLeft[] = "keywords\" content=\"";
constexpr char kKeywordsRight[] = "\"/><meta name=";
constexpr char kKeywordSeparator[] = ",";

void append_keywords(WindowOperations& window, const Text& keywords, RunReport& report) {
  if (search(keywords, kKeywordSeparator) != -1) {
    for (const Text& keyword : split(keywords, kKeywordSeparator)) {
      if (append_if_new(window, keyword)) ++report.words_appended;
    }
  } else if (!keywords.empty()) {
    if (append_if_new(window, keywords)) ++report.words_appended;
  }
}

}  // namespace

RunReport run_keyword_method(WindowOperations& window, const SearchService& service,
                             const MethodHooks& hooks) {
  RunReport report;
  const RunningButton running(window);
  window.set_result_text({});

  const Text url = search_url(service, url_encode(window.read_question_text()));
  // One working text for the whole run: the search page, then each question page and its keywords in turn.
  // What it holds at the end goes to the clipboard.
  Text working = bytes_to_text(page_fetch(url));
  if (working.empty()) return report;
  report.page_fetched = true;

  TextArray links;
  report.links = batch_extract(working, kLinkLeft, kLinkRight, links);
  const Bytes timeout_page(kTimeoutMessage);
  for (Text& link : links) {
    // Read for every link, so a proxy typed in during a run applies from the next link on.
    TimedRequestOptions options;
    options.proxy = window.read_proxy_text();
    const Bytes body = timed_request(link, options);
    if (body == timeout_page) ++report.timeouts;
    ++report.links_done;

    working = bytes_to_text(body);
    working = middle_text(working, kKeywordsLeft, kKeywordsRight);
    append_keywords(window, working, report);
    if (hooks.on_link_done) hooks.on_link_done(report.links_done, report.links);
  }
  window.put_clipboard_text(working);
  return report;
}

}  // namespace lexomir
