#include "tests/support/tinyproxy_fixture.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>
#include <vector>

#include "tests/support/free_port.h"

extern char** environ;

namespace lexomir::testing {
namespace {

using namespace std::chrono_literals;

constexpr const char* kProgram = TINYPROXY_PROGRAM;
constexpr int kAttempts = 3;  // a free port can be taken by someone else before tinyproxy binds it
constexpr auto kStartTimeout = 10s;
constexpr auto kStopTimeout = 3s;

std::string make_private_folder() {
  std::string pattern = (std::filesystem::temp_directory_path() / "lexomir-tinyproxy-XXXXXX").string();
  std::vector<char> buffer(pattern.begin(), pattern.end());
  buffer.push_back('\0');
  return ::mkdtemp(buffer.data()) != nullptr ? std::string(buffer.data()) : std::string();
}

// Whether the child has ended; reaps it when it has.
bool has_ended(pid_t pid) {
  int status = 0;
  return ::waitpid(pid, &status, WNOHANG) == pid;
}

}  // namespace

Tinyproxy::Tinyproxy(std::string extra_config) {
  if (::access(kProgram, X_OK) != 0) {
    error_ = std::string(kProgram) + " is missing: run scripts/install-deps.sh to install tinyproxy";
  } else if (folder_ = make_private_folder(); folder_.empty()) {
    error_ = "cannot make a temporary folder for tinyproxy";
  } else {
    for (int attempt = 0; attempt < kAttempts && !ok(); ++attempt) {
      if (!start_once(extra_config)) end_child();
    }
  }
  if (!ok()) ADD_FAILURE() << "tinyproxy did not start: " << error_;
}

Tinyproxy::~Tinyproxy() {
  end_child();
  if (!folder_.empty()) {
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
  }
}

bool Tinyproxy::start_once(const std::string& extra_config) {
  port_ = free_loopback_port();
  if (port_ == 0) {
    error_ = "no free loopback port";
    return false;
  }
  const std::string config = folder_ + "/tinyproxy.conf";
  const std::string log_file = folder_ + "/tinyproxy.log";
  {
    std::ofstream out(config, std::ios::trunc);
    // In the foreground tinyproxy logs to its standard error, which goes to the log file; no pid
    // file, so nothing is written outside the folder. As root it keeps running as root (it only
    // warns), which is fine for a proxy that listens on loopback for one test.
    out << "Port " << port_ << "\nListen 127.0.0.1\nAllow 127.0.0.1\nLogLevel Info\n" << extra_config;
    if (!out) {
      error_ = "cannot write " + config;
      return false;
    }
  }

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, log_file.c_str(), O_WRONLY | O_CREAT | O_APPEND,
                                   0600);
  posix_spawn_file_actions_adddup2(&actions, STDOUT_FILENO, STDERR_FILENO);
  std::string program = kProgram;
  std::string foreground = "-d";
  std::string config_flag = "-c";
  std::string config_path = config;
  char* argv[] = {program.data(), foreground.data(), config_flag.data(), config_path.data(), nullptr};
  const int spawned = ::posix_spawn(&pid_, kProgram, &actions, nullptr, argv, environ);
  posix_spawn_file_actions_destroy(&actions);
  if (spawned != 0) {
    pid_ = -1;
    error_ = std::string("cannot start ") + kProgram + ": " + std::strerror(spawned);
    return false;
  }

  const auto deadline = std::chrono::steady_clock::now() + kStartTimeout;
  while (std::chrono::steady_clock::now() < deadline) {
    if (has_ended(pid_)) {
      pid_ = -1;
      error_ = "tinyproxy ended at start; its log:\n" + log();
      return false;
    }
    if (port_accepts(port_)) {
      error_.clear();
      return true;
    }
    std::this_thread::sleep_for(20ms);
  }
  error_ = "tinyproxy did not accept connections on port " + std::to_string(port_) + "; its log:\n" + log();
  return false;
}

void Tinyproxy::end_child() {
  if (pid_ > 0) {
    ::kill(pid_, SIGTERM);
    const auto deadline = std::chrono::steady_clock::now() + kStopTimeout;
    bool ended = has_ended(pid_);
    while (!ended && std::chrono::steady_clock::now() < deadline) {
      std::this_thread::sleep_for(10ms);
      ended = has_ended(pid_);
    }
    if (!ended) {
      ::kill(pid_, SIGKILL);
      int status = 0;
      ::waitpid(pid_, &status, 0);
    }
  }
  pid_ = -1;
  port_ = 0;
}

std::string Tinyproxy::log() const {
  std::ifstream in(folder_ + "/tinyproxy.log", std::ios::binary);
  std::ostringstream out;
  out << in.rdbuf();
  return out.str();
}

}  // namespace lexomir::testing
