// lexomir-cli run in-process against a loopback question service.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sstream>

#include "cli/cli.h"
#include "tests/support/free_port.h"
#include "tests/support/loopback_server.h"

namespace lexomir::testing {
namespace {

using ::testing::HasSubstr;

constexpr char kSearchPrefix[] = "/search?lm=0&rn=1000&pn=0&fr=search&ie=gbk&word=";

struct Outcome {
  int status;
  std::string out;
  std::string err;
};

class CliRunTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(server.ok()); }

  Outcome run(std::vector<std::string> args, const std::string& input = "", bool terminal = false) {
    args.insert(args.begin(), {"--host", server.host_port()});
    std::istringstream in(input);
    std::ostringstream out;
    std::ostringstream err;
    const int status = run_cli(args, in, out, err, terminal);
    return {status, out.str(), err.str()};
  }

  // Question pages at /question/N.html, listed in that order on the search page.
  void serve_questions(const std::vector<std::string>& keywords) {
    std::string search;
    for (std::size_t i = 0; i < keywords.size(); ++i) {
      const std::string path = "/question/" + std::to_string(i) + ".html";
      server.route(path, ScriptedResponse::ok("<meta name=\"keywords\" content=\"" + keywords[i] +
                                              "\"/><meta name=\"description\">"));
      search += "<dt>  <a href=\"" + server.url(path) + "\" target=\"_blank\">q</a></dt>\n";
    }
    server.route_prefix(kSearchPrefix, ScriptedResponse::ok(search));
  }

  LoopbackServer server;
};

TEST_F(CliRunTest, ChineseQuestionInUtf8) {
  // 姓氏 asked, answered with 姓氏 and 中国 highlighted (GBK on the wire).
  server.route_prefix(kSearchPrefix,
                      ScriptedResponse::ok("<em>\xD0\xD5\xCA\xCF</em><em>\xD6\xD0\xB9\xFA</em>"));
  const Outcome outcome = run({"-m", "highlight", "\xE5\xA7\x93\xE6\xB0\x8F"});
  EXPECT_EQ(outcome.status, kExitFetched);
  EXPECT_EQ(server.last_request().path(), std::string(kSearchPrefix) + "%D0%D5%CA%CF");
  // 姓氏；中国；
  EXPECT_EQ(outcome.out, "\xE5\xA7\x93\xE6\xB0\x8F\xEF\xBC\x9B\xE4\xB8\xAD\xE5\x9B\xBD\xEF\xBC\x9B\n");
  EXPECT_EQ(outcome.err, "");
}

TEST_F(CliRunTest, CharacterWithoutGbkFormIsReported) {
  server.route_prefix(kSearchPrefix, ScriptedResponse::ok("<em>x</em>"));
  // "a" and an emoji, which GBK has no place for.
  const Outcome outcome = run({"-m", "highlight", "a\xF0\x9F\x98\x80"});
  EXPECT_EQ(outcome.status, kExitFetched);
  EXPECT_EQ(outcome.err,
            "lexomir-cli: TEXT 1 holds characters that GBK cannot hold; they were replaced or left out\n");
  EXPECT_EQ(run({"-m", "highlight", "--quiet", "a\xF0\x9F\x98\x80"}).err, "");
  EXPECT_EQ(run({"-m", "highlight", "a\xE5\xA7\x93"}).err, "");
}

TEST_F(CliRunTest, ChineseQuestionInGbk) {
  server.route_prefix(kSearchPrefix, ScriptedResponse::ok("<em>\xD0\xD5\xCA\xCF</em>"));
  const Outcome outcome = run({"-m", "highlight", "--encoding", "gbk", "\xD0\xD5\xCA\xCF"});
  EXPECT_EQ(outcome.status, kExitFetched);
  EXPECT_EQ(server.last_request().path(), std::string(kSearchPrefix) + "%D0%D5%CA%CF");
  EXPECT_EQ(outcome.out, "\xD0\xD5\xCA\xCF\xA3\xBB\n");
}

TEST_F(CliRunTest, KeywordsAsJson) {
  serve_questions({"a,\"b\"", "a\\c"});
  const Outcome outcome = run({"--json", "\xE8\x82\xA1"});  // 股
  EXPECT_EQ(outcome.status, kExitFetched);
  EXPECT_EQ(outcome.out,
            "{\"question\": \"\xE8\x82\xA1\", \"words\": [\"a\", \"\\\"b\\\"\", \"a\\\\c\"], "
            "\"result\": \"a\xEF\xBC\x9B\\\"b\\\"\xEF\xBC\x9B"
            "a\\\\c\xEF\xBC\x9B\", "
            "\"fetched\": true, \"links\": 2, \"timeouts\": 0}\n");
}

TEST_F(CliRunTest, JsonStaysUtf8WithGbkEncoding) {
  server.route_prefix(kSearchPrefix, ScriptedResponse::ok("<em>\xD0\xD5</em>"));
  const Outcome outcome = run({"--json", "-m", "highlight", "--encoding", "gbk", "\xD0\xD5"});
  EXPECT_EQ(outcome.out,
            "{\"question\": \"\xE5\xA7\x93\", \"words\": [\"\xE5\xA7\x93\"], \"result\": "
            "\"\xE5\xA7\x93\xEF\xBC\x9B\", "
            "\"fetched\": true, \"links\": 0, \"timeouts\": 0}\n");
}

TEST_F(CliRunTest, BatchOnStandardInputOneLineEach) {
  server.set_handler([](const RecordedRequest& request) -> std::optional<ScriptedResponse> {
    // Echoes the encoded question back as its only fragment.
    const std::string path = request.path();
    return ScriptedResponse::ok("<em>" + path.substr(path.find("word=") + 5) + "</em>");
  });
  const Outcome outcome = run({"-m", "highlight"},
                              "\xEF\xBB\xBF"
                              "a\r\n\nb\n");
  EXPECT_EQ(outcome.status, kExitFetched);
  // The byte order mark and the carriage return are no part of the questions; the empty line is asked
  // too, and its empty fragment makes the entry "；" alone.
  EXPECT_EQ(outcome.out, "%61\xEF\xBC\x9B\n\xEF\xBC\x9B\n%62\xEF\xBC\x9B\n");
  EXPECT_EQ(server.request_count(), 3u);
}

TEST_F(CliRunTest, BadLinesInABatchAreAnsweredEmptyAndTheBatchGoesOn) {
  server.set_handler([](const RecordedRequest& request) -> std::optional<ScriptedResponse> {
    const std::string path = request.path();
    return ScriptedResponse::ok("<em>" + path.substr(path.find("word=") + 5) + "</em>");
  });
  // Line 2 is GBK, not UTF-8; line 3 holds a zero byte. Each gets its line, the last question its answer.
  const Outcome outcome = run({"-m", "highlight"}, std::string("a\n\xD0\xD5\xCA\xCF\nx\0y\nb\n", 13));
  EXPECT_EQ(outcome.status, kExitUsage);
  EXPECT_EQ(outcome.out, "%61\xEF\xBC\x9B\n\n\n%62\xEF\xBC\x9B\n");
  EXPECT_THAT(outcome.err, HasSubstr("line 2 of standard input is not valid UTF-8"));
  EXPECT_THAT(outcome.err, HasSubstr("line 3 of standard input holds a zero byte"));
  EXPECT_EQ(server.request_count(), 2u);

  const Outcome json = run({"-m", "highlight", "--json"}, "\xFF\n");
  EXPECT_EQ(json.status, kExitUsage);
  EXPECT_THAT(json.out, HasSubstr("\"question\": null"));
  EXPECT_THAT(json.out, HasSubstr("\"fetched\": false"));
}

TEST_F(CliRunTest, SeveralTextsAreSeveralQuestions) {
  server.set_handler([](const RecordedRequest& request) -> std::optional<ScriptedResponse> {
    const std::string path = request.path();
    return ScriptedResponse::ok("<em>" + path.substr(path.find("word=") + 5) + "</em>");
  });
  const Outcome outcome = run({"-m", "highlight", "--encoding", "gbk", "a b", "c"});
  EXPECT_EQ(outcome.out, "%61%20%62\xA3\xBB\n%63\xA3\xBB\n");
}

TEST_F(CliRunTest, LineBreakInsideAWordKeepsOneLinePerQuestion) {
  serve_questions({"a\r\nb"});
  const Outcome outcome = run({"--encoding", "gbk", "q"});
  EXPECT_EQ(outcome.out, "a  b\xA3\xBB\n");
  const Outcome json = run({"--json", "q"});
  EXPECT_THAT(json.out, HasSubstr("\"words\": [\"a\\r\\nb\"]"));
}

TEST_F(CliRunTest, ExitOneWhenASearchPageCannotBeFetched) {
  server.route_prefix(kSearchPrefix + std::string("%61"), ScriptedResponse::ok("<em>a</em>"));
  // The second question gets an empty body: nothing to search.
  server.set_default(ScriptedResponse::ok(""));
  const Outcome outcome = run({"-m", "highlight", "a", "b"});
  EXPECT_EQ(outcome.status, kExitNotFetched);
  EXPECT_EQ(outcome.out, "a\xEF\xBC\x9B\n\n");
  EXPECT_THAT(outcome.err, HasSubstr("could not fetch the search page"));

  const Outcome quiet = run({"-m", "highlight", "--quiet", "b"});
  EXPECT_EQ(quiet.status, kExitNotFetched);
  EXPECT_EQ(quiet.err, "");
}

TEST_F(CliRunTest, ClosedPortGivesExitOne) {
  std::istringstream in;
  std::ostringstream out;
  std::ostringstream err;
  const std::string host = "127.0.0.1:" + std::to_string(free_loopback_port());
  EXPECT_EQ(run_cli({"--host", host, "-q", "x"}, in, out, err), kExitNotFetched);
  EXPECT_EQ(out.str(), "\n");
}

TEST_F(CliRunTest, ProgressBarOnlyOnATerminalAndOnlyForKeywords) {
  serve_questions({"a", "b"});
  const Outcome terminal = run({"q"}, "", true);
  EXPECT_THAT(terminal.err, HasSubstr("1/2"));
  EXPECT_THAT(terminal.err, HasSubstr("2/2"));
  EXPECT_THAT(terminal.err, HasSubstr("\r\x1b[K"));  // cleared before the result line is read
  EXPECT_EQ(terminal.out,
            "a\xEF\xBC\x9B"
            "b\xEF\xBC\x9B\n");

  EXPECT_EQ(run({"q"}, "", false).err, "");
  EXPECT_EQ(run({"--quiet", "q"}, "", true).err, "");
  EXPECT_EQ(run({"-m", "highlight", "q"}, "", true).err, "");
}

TEST_F(CliRunTest, ProxyOptionIsTheProxyBox) {
  serve_questions({"a"});
  // Nothing listens at the proxy: the question page fails and nothing is appended, but the search page,
  // which never uses the proxy, was fetched.
  const Outcome outcome = run({"--json", "-x", "127.0.0.1:" + std::to_string(free_loopback_port()), "q"});
  EXPECT_EQ(outcome.status, kExitFetched);
  EXPECT_THAT(outcome.out, HasSubstr("\"words\": [], \"result\": \"\", \"fetched\": true, \"links\": 1"));
}

}  // namespace
}  // namespace lexomir::testing
