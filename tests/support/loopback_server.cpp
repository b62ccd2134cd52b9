#include "tests/support/loopback_server.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include "tests/support/free_port.h"
#include "tests/support/request_reader.h"
#include "tests/support/socket_io.h"

namespace lexomir::testing {
namespace {

// How long a closing connection waits for the client to read the answer and hang up. Closing with
// unread bytes in the socket would reset the connection and could destroy the answer in flight.
constexpr std::chrono::milliseconds kLingerForClient{2000};

ScriptedResponse not_found() {
  ScriptedResponse response;
  response.status_line = "HTTP/1.1 404 Not Found";
  response.headers.push_back("Content-Type: text/plain");
  response.body = "not found";
  return response;
}

// Sends our end of file, then waits for the client's, so it receives every byte we sent.
void close_gently(int fd, int stop_fd) {
  ::shutdown(fd, SHUT_WR);
  std::string discard;
  const auto until = std::chrono::steady_clock::now() + kLingerForClient;
  for (;;) {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(until - std::chrono::steady_clock::now());
    if (left.count() <= 0) return;
    discard.clear();
    if (receive_some(fd, stop_fd, discard, left) != IoResult::ok) return;
  }
}

// Holds a connection without answering until the client hangs up or the server stops.
void hold(int fd, int stop_fd) {
  std::string discard;
  while (receive_some(fd, stop_fd, discard) == IoResult::ok) discard.clear();
}

}  // namespace

LoopbackServer::LoopbackServer() : fallback_(not_found()) {
  int pipe_fds[2];
  if (::pipe2(pipe_fds, O_CLOEXEC) != 0) return;
  stop_read_.reset(pipe_fds[0]);
  stop_write_.reset(pipe_fds[1]);
  listener_ = listen_on_loopback(port_);
  if (!listener_.valid()) return;
  acceptor_ = std::thread([this] { accept_loop(); });
}

LoopbackServer::~LoopbackServer() { stop(); }

void LoopbackServer::stop() {
  if (stopped_) return;
  stopped_ = true;
  if (stop_write_.valid()) {
    const char byte = 1;
    [[maybe_unused]] const auto written = ::write(stop_write_.get(), &byte, 1);
  }
  if (acceptor_.joinable()) acceptor_.join();
  for (auto& connection : connections_) connection.thread.join();
  connections_.clear();
  listener_.reset();
}

std::string LoopbackServer::host_port() const { return "127.0.0.1:" + std::to_string(port_); }

std::string LoopbackServer::url(std::string_view path) const {
  return "http://" + host_port() + std::string(path);
}

void LoopbackServer::accept_loop() {
  for (;;) {
    pollfd fds[2] = {{stop_read_.get(), POLLIN, 0}, {listener_.get(), POLLIN, 0}};
    if (::poll(fds, 2, -1) < 0) {
      if (errno == EINTR) continue;
      return;
    }
    if (fds[0].revents != 0) return;
    UniqueFd client(::accept4(listener_.get(), nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK));
    if (!client.valid()) continue;
    reap_finished_connections();
    {
      std::lock_guard lock(mutex_);
      ++accepted_;
      ++open_;
    }
    auto done = std::make_shared<std::atomic<bool>>(false);
    connections_.push_back({std::thread([this, done, fd = std::move(client)]() mutable {
                              serve(std::move(fd));
                              done->store(true);
                            }),
                            done});
  }
}

void LoopbackServer::reap_finished_connections() {
  for (auto it = connections_.begin(); it != connections_.end();) {
    if (it->done->load()) {
      it->thread.join();
      it = connections_.erase(it);
    } else {
      ++it;
    }
  }
}

void LoopbackServer::serve(UniqueFd client) {
  const int fd = client.get();
  const int stop_fd = stop_read_.get();
  if (auto request = read_request(fd, stop_fd)) {
    {
      std::lock_guard lock(mutex_);
      requests_.push_back(*request);
    }
    changed_.notify_all();
    const ScriptedResponse response = choose(*request);
    bool go_on = response.delay.count() <= 0 || pause(stop_fd, response.delay) == IoResult::ok;
    if (go_on && response.never_answer) {
      hold(fd, stop_fd);
      go_on = false;
    }
    if (go_on) {
      const std::size_t body_bytes =
          std::min(response.cut_body_after.value_or(response.body.size()), response.body.size());
      go_on = send_all(fd, stop_fd, response.head()) == IoResult::ok &&
              send_all(fd, stop_fd, std::string_view(response.body).substr(0, body_bytes)) == IoResult::ok;
    }
    if (go_on) close_gently(fd, stop_fd);
  }
  client.reset();
  {
    std::lock_guard lock(mutex_);
    --open_;
  }
  changed_.notify_all();
}

ScriptedResponse LoopbackServer::choose(const RecordedRequest& request) {
  Handler handler;
  {
    std::lock_guard lock(mutex_);
    handler = handler_;
  }
  if (handler) {
    if (auto response = handler(request)) return *response;
  }
  std::lock_guard lock(mutex_);
  if (!queue_.empty()) {
    ScriptedResponse next = std::move(queue_.front());
    queue_.pop_front();
    return next;
  }
  const std::string path = request.path();
  if (const auto exact = exact_.find(path); exact != exact_.end()) return exact->second;
  const ScriptedResponse* best = nullptr;
  std::size_t best_length = 0;
  for (const auto& [prefix, response] : prefixes_) {
    if (path.starts_with(prefix) && (best == nullptr || prefix.size() > best_length)) {
      best = &response;
      best_length = prefix.size();
    }
  }
  return best != nullptr ? *best : fallback_;
}

void LoopbackServer::enqueue(ScriptedResponse response) {
  std::lock_guard lock(mutex_);
  queue_.push_back(std::move(response));
}

void LoopbackServer::route(std::string path_with_query, ScriptedResponse response) {
  std::lock_guard lock(mutex_);
  exact_.insert_or_assign(std::move(path_with_query), std::move(response));
}

void LoopbackServer::route_prefix(std::string prefix, ScriptedResponse response) {
  std::lock_guard lock(mutex_);
  prefixes_.insert_or_assign(std::move(prefix), std::move(response));
}

void LoopbackServer::set_default(ScriptedResponse response) {
  std::lock_guard lock(mutex_);
  fallback_ = std::move(response);
}

void LoopbackServer::set_handler(Handler handler) {
  std::lock_guard lock(mutex_);
  handler_ = std::move(handler);
}

std::vector<RecordedRequest> LoopbackServer::requests() const {
  std::lock_guard lock(mutex_);
  return requests_;
}

std::size_t LoopbackServer::request_count() const {
  std::lock_guard lock(mutex_);
  return requests_.size();
}

RecordedRequest LoopbackServer::last_request() const {
  std::lock_guard lock(mutex_);
  return requests_.empty() ? RecordedRequest{} : requests_.back();
}

bool LoopbackServer::wait_for_requests(std::size_t count, std::chrono::milliseconds timeout) const {
  std::unique_lock lock(mutex_);
  return changed_.wait_for(lock, timeout, [&] { return requests_.size() >= count; });
}

void LoopbackServer::clear_requests() {
  std::lock_guard lock(mutex_);
  requests_.clear();
}

int LoopbackServer::connections_accepted() const {
  std::lock_guard lock(mutex_);
  return accepted_;
}

int LoopbackServer::connections_open() const {
  std::lock_guard lock(mutex_);
  return open_;
}

bool LoopbackServer::wait_until_no_connections(std::chrono::milliseconds timeout) const {
  std::unique_lock lock(mutex_);
  return changed_.wait_for(lock, timeout, [&] { return open_ == 0; });
}

}  // namespace lexomir::testing
