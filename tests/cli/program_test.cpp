// The built lexomir-cli program, run as a user would: arguments, standard input, exit status.
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "tests/support/free_port.h"
#include "tests/support/loopback_server.h"

extern char** environ;

namespace lexomir::testing {
namespace {

using ::testing::HasSubstr;
using ::testing::StartsWith;

struct ProgramOutcome {
  int status = -1;
  std::string out;
  std::string err;
};

// A private folder for one run's standard streams, removed with everything in it.
class TempFolder {
 public:
  TempFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "lexomir-cli-test-XXXXXX").string();
    if (mkdtemp(pattern.data()) != nullptr) path_ = pattern;
  }
  ~TempFolder() {
    std::error_code ignored;
    if (!path_.empty()) std::filesystem::remove_all(path_, ignored);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;
  std::string file(const char* name) const { return (path_ / name).string(); }

 private:
  std::filesystem::path path_;
};

std::string read_file(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream out;
  out << in.rdbuf();
  return out.str();
}

ProgramOutcome run_program(const std::vector<std::string>& args, const std::string& input = "") {
  TempFolder folder;
  const std::string in_path = folder.file("in");
  std::ofstream(in_path, std::ios::binary) << input;

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 0, in_path.c_str(), O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 1, folder.file("out").c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                   0600);
  posix_spawn_file_actions_addopen(&actions, 2, folder.file("err").c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                   0600);
  std::vector<std::string> argv_text = {LEXOMIR_CLI_PROGRAM};
  argv_text.insert(argv_text.end(), args.begin(), args.end());
  std::vector<char*> argv;
  for (auto& arg : argv_text) argv.push_back(arg.data());
  argv.push_back(nullptr);

  ProgramOutcome outcome;
  pid_t pid = -1;
  const int spawned = posix_spawn(&pid, LEXOMIR_CLI_PROGRAM, &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (spawned != 0) return outcome;
  int wait_status = 0;
  if (waitpid(pid, &wait_status, 0) == pid && WIFEXITED(wait_status))
    outcome.status = WEXITSTATUS(wait_status);
  outcome.out = read_file(folder.file("out"));
  outcome.err = read_file(folder.file("err"));
  return outcome;
}

constexpr char kSearchPrefix[] = "/search?lm=0&rn=1000&pn=0&fr=search&ie=gbk&word=";

TEST(Program, ChineseArgumentHighlighted) {
  LoopbackServer server;
  ASSERT_TRUE(server.ok());
  server.route_prefix(kSearchPrefix, ScriptedResponse::ok("<em>\xD0\xD5\xCA\xCF</em><em>\xD0\xD5</em>"));
  const ProgramOutcome outcome =
      run_program({"-m", "highlight", "--host", server.host_port(), "\xE5\xA7\x93\xE6\xB0\x8F"});  // 姓氏
  EXPECT_EQ(outcome.status, 0) << outcome.err;
  EXPECT_EQ(outcome.out, "\xE5\xA7\x93\xE6\xB0\x8F\xEF\xBC\x9B\n");  // 姓氏；
  EXPECT_EQ(outcome.err, "");
  EXPECT_EQ(server.last_request().path(), std::string(kSearchPrefix) + "%D0%D5%CA%CF");
}

TEST(Program, GbkBatchOnStandardInputAsJson) {
  LoopbackServer server;
  ASSERT_TRUE(server.ok());
  server.route("/question/1.html",
               ScriptedResponse::ok("<meta name=\"keywords\" content=\"\xB9\xC9\xC6\xB1,st\"/>"
                                    "<meta name=\"description\">"));
  server.route_prefix(kSearchPrefix,
                      ScriptedResponse::ok(">  <a href=\"" + server.url("/question/1.html") + "\" "));
  const ProgramOutcome outcome =
      run_program({"--host", server.host_port(), "--encoding", "gbk", "--json"}, "\xB9\xC9\nst\n");
  EXPECT_EQ(outcome.status, 0) << outcome.err;
  // Standard error is no terminal here: no progress bar.
  EXPECT_EQ(outcome.err, "");
  const std::string line_end =
      "\"words\": [\"\xE8\x82\xA1\xE7\xA5\xA8\", \"st\"], \"result\": "
      "\"\xE8\x82\xA1\xE7\xA5\xA8\xEF\xBC\x9Bst\xEF\xBC\x9B\", "
      "\"fetched\": true, \"links\": 1, \"timeouts\": 0}\n";
  EXPECT_EQ(outcome.out,
            "{\"question\": \"\xE8\x82\xA1\", " + line_end + "{\"question\": \"st\", " + line_end);
}

TEST(Program, ExitStatuses) {
  const std::string closed = "127.0.0.1:" + std::to_string(free_loopback_port());
  const ProgramOutcome unreachable = run_program({"--host", closed, "-m", "highlight", "x"});
  EXPECT_EQ(unreachable.status, 1);
  EXPECT_EQ(unreachable.out, "\n");
  EXPECT_THAT(unreachable.err, HasSubstr("could not fetch the search page"));

  const ProgramOutcome usage = run_program({"--host", closed, "--colour"});
  EXPECT_EQ(usage.status, 2);
  EXPECT_EQ(usage.out, "");
  EXPECT_EQ(usage.err, "lexomir-cli: unknown option '--colour' (see --help)\n");

  const ProgramOutcome nothing = run_program({"--host", closed}, "");
  EXPECT_EQ(nothing.status, 0);
  EXPECT_EQ(nothing.out, "");

  const ProgramOutcome help = run_program({"-h"});
  EXPECT_EQ(help.status, 0);
  EXPECT_THAT(help.out, StartsWith("usage: lexomir-cli"));
}

}  // namespace
}  // namespace lexomir::testing
