#pragma once
#include <string>
#include <vector>

#include "cli/encoding.h"
#include "segmentation/search_service.h"

namespace lexomir {

enum class CliMethod { kHighlight, kKeywords };

struct CliOptions {
  CliMethod method = CliMethod::kKeywords;  // as the window starts: the question-keyword radio button
  std::string host = kDefaultSearchHost;
  std::string proxy;  // the proxy box's text: empty connects directly
  TerminalEncoding encoding = TerminalEncoding::kUtf8;
  bool json = false;
  bool quiet = false;
  bool help = false;
  std::vector<std::string> texts;  // one question each; none means standard input, one per line
};

struct ParsedOptions {
  CliOptions options;
  std::string error;  // one line saying what was wrong; empty when the arguments were understood
};

// The arguments after the program name. Long options also take "--name=value"; "--" ends the options.
ParsedOptions parse_options(const std::vector<std::string>& args);

extern const char kUsage[];

}  // namespace lexomir
