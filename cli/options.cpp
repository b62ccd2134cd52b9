#include "cli/options.h"

#include <optional>

namespace lexomir {

const char kUsage[] =
    "usage: lexomir-cli [-m highlight|keywords] [--host HOST[:PORT]] [-x PROXY] [--encoding utf-8|gbk]\n"
    "                   [--json] [--quiet] [TEXT ...]\n"
    "Splits each TEXT (or each line of standard input when no TEXT is given) into words with the question\n"
    "service and prints one line per question: every word followed by a full-width semicolon.\n"
    "  -m, --method METHOD     highlight: the search page's highlighted fragments;\n"
    "                          keywords (default): the keywords of the question pages it links to\n"
    "      --host HOST[:PORT]  the question service (default zhidao.baidu.com)\n"
    "  -x, --proxy PROXY       HOST:PORT of the HTTP proxy for question pages; empty connects directly\n"
    "      --encoding ENC      utf-8 (default) or gbk, for the questions and the plain output\n"
    "      --json              one JSON object per question instead, always in UTF-8\n"
    "  -q, --quiet             no progress bar and no diagnostics on standard error\n"
    "  -h, --help              this text\n"
    "Exit status: 0 when every search page was fetched, 1 when one could not be, 2 for a usage error or a\n"
    "line of standard input that is not text in the chosen encoding (it is answered with an empty line).\n";

namespace {

bool takes_value(const std::string& name) {
  return name == "-m" || name == "--method" || name == "--host" || name == "-x" || name == "--proxy" ||
         name == "--encoding";
}

bool is_valid_host(const std::string& host) {
  if (host.empty()) return false;
  for (const char c : host) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte <= 0x20 || byte >= 0x7F || c == '/' || c == '?' || c == '#' || c == '@' || c == '\\')
      return false;
  }
  return true;
}

// Applies one option with its value; returns the error line or nothing.
std::optional<std::string> apply(CliOptions& options, const std::string& name, const std::string& value) {
  if (name == "-m" || name == "--method") {
    if (value == "highlight") {
      options.method = CliMethod::kHighlight;
    } else if (value == "keywords") {
      options.method = CliMethod::kKeywords;
    } else {
      return "unknown method '" + value + "' (expected highlight or keywords)";
    }
  } else if (name == "--host") {
    if (!is_valid_host(value)) return "bad host '" + value + "' (expected HOST or HOST:PORT)";
    options.host = value;
  } else if (name == "-x" || name == "--proxy") {
    options.proxy = value;
  } else if (name == "--encoding") {
    if (value == "utf-8" || value == "utf8" || value == "UTF-8") {
      options.encoding = TerminalEncoding::kUtf8;
    } else if (value == "gbk" || value == "GBK") {
      options.encoding = TerminalEncoding::kGbk;
    } else {
      return "unknown encoding '" + value + "' (expected utf-8 or gbk)";
    }
  }
  return std::nullopt;
}

}  // namespace

ParsedOptions parse_options(const std::vector<std::string>& args) {
  ParsedOptions parsed;
  CliOptions& options = parsed.options;
  bool options_ended = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (options_ended || arg.size() < 2 || arg[0] != '-') {
      options.texts.push_back(arg);
      continue;
    }
    if (arg == "--") {
      options_ended = true;
    } else if (arg == "--json") {
      options.json = true;
    } else if (arg == "-q" || arg == "--quiet") {
      options.quiet = true;
    } else if (arg == "-h" || arg == "--help") {
      options.help = true;
    } else {
      std::string name = arg;
      std::optional<std::string> value;
      if (const auto equals = arg.find('='); arg.rfind("--", 0) == 0 && equals != std::string::npos) {
        name = arg.substr(0, equals);
        value = arg.substr(equals + 1);
      } else if (arg[1] != '-' && arg.size() > 2) {
        name = arg.substr(0, 2);  // "-xHOST:PORT"
        value = arg.substr(2);
      }
      if (!takes_value(name)) {
        parsed.error = "unknown option '" + name + "'";
        return parsed;
      }
      if (!value) {
        if (i + 1 == args.size()) {
          parsed.error = "option '" + name + "' needs a value";
          return parsed;
        }
        value = args[++i];
      }
      if (auto error = apply(options, name, *value)) {
        parsed.error = *error;
        return parsed;
      }
    }
  }
  return parsed;
}

}  // namespace lexomir
