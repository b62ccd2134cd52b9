#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

#include "cli/cli.h"
#include "cli/options.h"

namespace lexomir {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;

TEST(CliOptions, Defaults) {
  const ParsedOptions parsed = parse_options({});
  EXPECT_EQ(parsed.error, "");
  EXPECT_EQ(parsed.options.method, CliMethod::kKeywords);
  EXPECT_EQ(parsed.options.host, "zhidao.baidu.com");
  EXPECT_EQ(parsed.options.proxy, "");
  EXPECT_EQ(parsed.options.encoding, TerminalEncoding::kUtf8);
  EXPECT_FALSE(parsed.options.json);
  EXPECT_FALSE(parsed.options.quiet);
  EXPECT_TRUE(parsed.options.texts.empty());
}

TEST(CliOptions, EveryFormOfEveryOption) {
  const ParsedOptions parsed =
      parse_options({"-m", "highlight", "first", "--host=127.0.0.1:8080", "-x127.0.0.1:3128", "--encoding",
                     "gbk", "--json", "--quiet", "-", "--", "--json", "-m"});
  ASSERT_EQ(parsed.error, "");
  EXPECT_EQ(parsed.options.method, CliMethod::kHighlight);
  EXPECT_EQ(parsed.options.host, "127.0.0.1:8080");
  EXPECT_EQ(parsed.options.proxy, "127.0.0.1:3128");
  EXPECT_EQ(parsed.options.encoding, TerminalEncoding::kGbk);
  EXPECT_TRUE(parsed.options.json);
  EXPECT_TRUE(parsed.options.quiet);
  // Texts may stand between options; after "--" everything is a text; a lone "-" is a text too.
  EXPECT_THAT(parsed.options.texts, ElementsAre("first", "-", "--json", "-m"));

  const ParsedOptions later = parse_options({"--method", "keywords", "-x", "", "--proxy=p:1"});
  EXPECT_EQ(later.options.method, CliMethod::kKeywords);
  EXPECT_EQ(later.options.proxy, "p:1");
}

struct UsageCase {
  const char* name;
  std::vector<std::string> args;
  std::string in;
  const char* message;
};

class CliUsageTest : public ::testing::TestWithParam<UsageCase> {};

// Usage errors stop before any request: the host is a port nobody could be listening on.
TEST_P(CliUsageTest, ExitsWithTwoAndOneLineSayingWhy) {
  std::vector<std::string> args = {"--host", "127.0.0.1:1"};
  args.insert(args.end(), GetParam().args.begin(), GetParam().args.end());
  std::istringstream in(GetParam().in);
  std::ostringstream out;
  std::ostringstream err;
  EXPECT_EQ(run_cli(args, in, out, err), kExitUsage);
  EXPECT_EQ(out.str(), "");
  const std::string message = err.str();
  EXPECT_THAT(message, HasSubstr(GetParam().message));
  EXPECT_EQ(std::count(message.begin(), message.end(), '\n'), 1);
  EXPECT_EQ(message.back(), '\n');
}

const UsageCase kUsageCases[] = {
    {"UnknownOption", {"--fast"}, "", "unknown option '--fast'"},
    {"UnknownShortOption", {"-z"}, "", "unknown option '-z'"},
    {"MissingValue", {"-m"}, "", "option '-m' needs a value"},
    {"MissingProxyValue", {"q", "-x"}, "", "option '-x' needs a value"},
    {"BadMethod", {"-m", "baidu"}, "", "unknown method 'baidu'"},
    {"BadEncoding", {"--encoding", "latin1"}, "", "unknown encoding 'latin1'"},
    {"EmptyHost", {"--host="}, "", "bad host ''"},
    {"HostWithPath", {"--host", "example.com/x"}, "", "bad host 'example.com/x'"},
    {"ArgumentNotUtf8", {"ok", "\xC4\xE3"}, "", "TEXT 2 is not valid UTF-8"},
    {"ArgumentNotGbk", {"--encoding", "gbk", "\xFF\xFF"}, "", "TEXT 1 is not valid GBK"},
    {"ProxyNotUtf8", {"-x", "\xC0\x80", "q"}, "", "the proxy is not valid UTF-8"},
};

INSTANTIATE_TEST_SUITE_P(Cases, CliUsageTest, ::testing::ValuesIn(kUsageCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(CliOptions, HelpGoesToStandardOutput) {
  std::istringstream in;
  std::ostringstream out;
  std::ostringstream err;
  EXPECT_EQ(run_cli({"--help"}, in, out, err), kExitFetched);
  EXPECT_THAT(out.str(), HasSubstr("usage: lexomir-cli"));
  EXPECT_EQ(err.str(), "");
}

}  // namespace
}  // namespace lexomir
