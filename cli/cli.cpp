#include "cli/cli.h"

#include <istream>
#include <optional>
#include <ostream>

#include "cli/console_window.h"
#include "cli/encoding.h"
#include "cli/json.h"
#include "cli/options.h"
#include "cli/progress_bar.h"
#include "segmentation/methods.h"
#include "text/codepage.h"

namespace lexomir {

namespace {

constexpr char kProgram[] = "lexomir-cli: ";
constexpr char kUtf8Bom[] = "\xEF\xBB\xBF";

class Session {
 public:
  Session(const CliOptions& options, std::ostream& out, std::ostream& err, bool err_is_terminal)
      : options_(options), out_(out), err_(err), show_progress_(err_is_terminal && !options.quiet) {
    service_.host = options.host;
  }

  // The question or the proxy as the core wants it, or nothing when it is not valid in the chosen encoding.
  // A character that GBK cannot hold is sent as the converter leaves it; say so, since the answer then
  // belongs to a slightly different question.
  std::optional<Text> to_core(const std::string& input, const std::string& what) const {
    if (input.find('\0') != std::string::npos) return std::nullopt;
    if (options_.encoding == TerminalEncoding::kGbk) {
      if (!is_valid_gbk(input)) return std::nullopt;
      return input;
    }
    if (!is_valid_utf8(input)) return std::nullopt;
    Text gbk = utf8_to_gbk(input);
    if (!options_.quiet && gbk_to_utf8(gbk) != input) {
      err_ << kProgram << what << " holds characters that GBK cannot hold; they were replaced or left out\n";
    }
    return gbk;
  }

  std::string to_terminal(const Text& text) const {
    return options_.encoding == TerminalEncoding::kGbk ? text : gbk_to_utf8(text);
  }

  void set_proxy(const Text& proxy) { window_.set_proxy(proxy); }

  // Runs one question and prints its line; false when its search page could not be fetched.
  bool run(const Text& question) {
    window_.set_question(question);
    RunReport report;
    if (options_.method == CliMethod::kHighlight) {
      report = run_highlight_method(window_, service_);
    } else {
      ProgressBar bar(err_);
      MethodHooks hooks;
      if (show_progress_) hooks.on_link_done = [&bar](int done, int total) { bar.show(done, total); };
      report = run_keyword_method(window_, service_, hooks);
    }
    if (options_.json) {
      print_json(question, report);
    } else {
      print_plain();
    }
    if (!report.page_fetched && !options_.quiet) {
      err_ << kProgram << "could not fetch the search page from " << options_.host << '\n';
    }
    return report.page_fetched;
  }

  // A line that cannot be asked still gets its output line, so the answers stay paired with the questions.
  void skip(const std::string& reason) {
    if (options_.json) {
      out_ << "{\"question\": null, \"words\": [], \"result\": \"\", \"fetched\": false, \"links\": 0, "
              "\"timeouts\": 0, \"error\": "
           << json_string(reason) << "}\n";
    } else {
      out_ << '\n';
    }
    out_ << std::flush;
  }

 private:
  void print_plain() {
    // One line per question, so a line break inside a word would break the pairing with the input.
    std::string line = to_terminal(window_.result());
    for (char& c : line) {
      if (c == '\n' || c == '\r') c = ' ';
    }
    out_ << line << '\n' << std::flush;
  }

  void print_json(const Text& question, const RunReport& report) {
    // JSON is UTF-8 whatever the terminal's encoding.
    out_ << "{\"question\": " << json_string(gbk_to_utf8(question)) << ", \"words\": [";
    const TextArray& words = window_.words();
    for (std::size_t i = 0; i < words.size(); ++i) {
      if (i > 0) out_ << ", ";
      out_ << json_string(gbk_to_utf8(words[i]));
    }
    out_ << "], \"result\": " << json_string(gbk_to_utf8(window_.result()))
         << ", \"fetched\": " << (report.page_fetched ? "true" : "false") << ", \"links\": " << report.links
         << ", \"timeouts\": " << report.timeouts << "}\n"
         << std::flush;
  }

  const CliOptions& options_;
  std::ostream& out_;
  std::ostream& err_;
  bool show_progress_;
  SearchService service_;
  ConsoleWindow window_;
};

int usage_error(std::ostream& err, const std::string& message) {
  err << kProgram << message << " (see --help)\n";
  return kExitUsage;
}

const char* encoding_name(TerminalEncoding encoding) {
  return encoding == TerminalEncoding::kGbk ? "GBK" : "UTF-8";
}

}  // namespace

int run_cli(const std::vector<std::string>& args, std::istream& in, std::ostream& out, std::ostream& err,
            bool err_is_terminal) {
  const ParsedOptions parsed = parse_options(args);
  if (!parsed.error.empty()) return usage_error(err, parsed.error);
  const CliOptions& options = parsed.options;
  if (options.help) {
    out << kUsage;
    return kExitFetched;
  }

  Session session(options, out, err, err_is_terminal);
  const std::optional<Text> proxy = session.to_core(options.proxy, "the proxy");
  if (!proxy)
    return usage_error(err, std::string("the proxy is not valid ") + encoding_name(options.encoding));
  session.set_proxy(*proxy);

  bool all_fetched = true;
  if (!options.texts.empty()) {
    // Every argument is checked before the first request, so a usage error never leaves half a batch done.
    TextArray questions;
    for (std::size_t i = 0; i < options.texts.size(); ++i) {
      std::optional<Text> question = session.to_core(options.texts[i], "TEXT " + std::to_string(i + 1));
      if (!question) {
        return usage_error(
            err, "TEXT " + std::to_string(i + 1) + " is not valid " + encoding_name(options.encoding));
      }
      questions.push_back(std::move(*question));
    }
    for (const Text& question : questions) all_fetched = session.run(question) && all_fetched;
  } else {
    // Line by line as it comes, so a slow producer sees each answer before it sends the next question. A
    // line that is not text in the chosen encoding is reported and answered with an empty line; the batch
    // goes on, and the exit status tells of it at the end.
    std::string line;
    bool all_valid = true;
    for (int number = 1; std::getline(in, line); ++number) {
      if (!line.empty() && line.back() == '\r') line.pop_back();
      if (number == 1 && options.encoding == TerminalEncoding::kUtf8 && line.rfind(kUtf8Bom, 0) == 0) {
        line.erase(0, 3);
      }
      const std::optional<Text> question = session.to_core(line, "line " + std::to_string(number));
      if (!question) {
        const std::string what = line.find('\0') != std::string::npos
                                     ? "holds a zero byte"
                                     : std::string("is not valid ") + encoding_name(options.encoding);
        const std::string reason = "line " + std::to_string(number) + " of standard input " + what;
        usage_error(err, reason);
        session.skip(reason);
        all_valid = false;
        continue;
      }
      all_fetched = session.run(*question) && all_fetched;
    }
    if (!all_valid) return kExitUsage;
  }
  return all_fetched ? kExitFetched : kExitNotFetched;
}

}  // namespace lexomir
