// The internet layer over libcurl. A request runs its whole transfer inside send_request, on the multi
// interface so that cancel() from another thread ends it at once; read_file then hands out the buffered body.
#include <curl/curl.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <map>
#include <mutex>
#include <variant>
#include <vector>

#include "platform/inet/cookie_store.h"
#include "platform/inet/internet.h"

namespace lexomir::platform {
namespace {

struct Session {
  std::string agent;
  std::uint32_t access_type = kOpenPreconfig;
  std::string proxy_list;
};

struct Connection {
  Session session;
  std::string host;
  int port = 0;
  std::string user;
  std::string password;
};

struct Request {
  Connection connection;
  std::string method;
  std::string path;
  std::string version;
  std::string referrer;
  std::uint32_t flags = 0;
  std::string data;
  std::string body;
  std::size_t read_position = 0;
  std::string header_block;
  bool has_response = false;
};

using Object = std::variant<Session, Connection, Request>;

struct EasyDeleter {
  void operator()(CURL* easy) const { curl_easy_cleanup(easy); }
};
struct MultiDeleter {
  void operator()(CURLM* multi) const { curl_multi_cleanup(multi); }
};
struct ListDeleter {
  void operator()(curl_slist* list) const { curl_slist_free_all(list); }
};
using EasyPtr = std::unique_ptr<CURL, EasyDeleter>;
using MultiPtr = std::unique_ptr<CURLM, MultiDeleter>;
using ListPtr = std::unique_ptr<curl_slist, ListDeleter>;

char lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool starts_with_nocase(std::string_view text, std::string_view prefix) {
  if (text.size() < prefix.size()) return false;
  for (std::size_t i = 0; i < prefix.size(); ++i) {
    if (lower(text[i]) != lower(prefix[i])) return false;
  }
  return true;
}

std::vector<std::string> header_lines(std::string_view headers) {
  std::vector<std::string> lines;
  while (!headers.empty()) {
    std::size_t end = headers.find('\n');
    std::string_view line = headers.substr(0, end);
    headers.remove_prefix(end == std::string_view::npos ? headers.size() : end + 1);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (!line.empty()) lines.emplace_back(line);
  }
  return lines;
}

bool has_header(const std::vector<std::string>& lines, std::string_view name) {
  return std::any_of(lines.begin(), lines.end(), [&](const std::string& line) {
    std::size_t colon = line.find(':');
    if (colon == std::string::npos) return false;
    std::string_view key(line.data(), colon);
    while (!key.empty() && key.back() == ' ') key.remove_suffix(1);
    return key.size() == name.size() && starts_with_nocase(key, name);
  });
}

// The proxy that a "http=HOST:PORT" list (or a bare "HOST:PORT" for every scheme) names for scheme.
std::string proxy_for(const std::string& list, std::string_view scheme) {
  std::string found;
  std::size_t pos = 0;
  while (pos < list.size()) {
    std::size_t end = list.find_first_of(" ;", pos);
    std::string entry = list.substr(pos, end == std::string::npos ? std::string::npos : end - pos);
    pos = end == std::string::npos ? list.size() : end + 1;
    if (entry.empty()) continue;
    std::size_t eq = entry.find('=');
    if (eq == std::string::npos) {
      if (found.empty()) found = entry;
    } else if (entry.size() - eq > 1 && eq == scheme.size() && starts_with_nocase(entry, scheme)) {
      found = entry.substr(eq + 1);
    }
  }
  if (found.empty() || found.find("://") != std::string::npos) return found;
  return "http://" + found;
}

// The path as it goes into the URL: cut before any fragment, blanks, controls and bytes above 0x7E escaped.
std::string url_path(const std::string& path) {
  static const char kHex[] = "0123456789ABCDEF";
  std::string out;
  if (path.empty() || path.front() != '/') out += '/';
  for (char c : path.substr(0, path.find('#'))) {
    auto byte = static_cast<unsigned char>(c);
    if (byte <= 0x20 || byte >= 0x7F) {
      out += '%';
      out += kHex[byte >> 4];
      out += kHex[byte & 0x0F];
    } else {
      out += c;
    }
  }
  return out;
}

std::size_t on_body(char* data, std::size_t size, std::size_t count, void* user) {
  static_cast<Request*>(user)->body.append(data, size * count);
  return size * count;
}

// Keeps the header block of the last response only: a followed redirect or a 100 Continue starts a new one.
std::size_t on_header(char* data, std::size_t size, std::size_t count, void* user) {
  auto* request = static_cast<Request*>(user);
  std::string_view line(data, size * count);
  if (starts_with_nocase(line, "HTTP/")) {
    request->header_block.clear();
    request->has_response = true;
  }
  while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.remove_suffix(1);
  request->header_block.append(line);
  request->header_block += "\r\n";
  return size * count;
}

class CurlInternet final : public Internet {
 public:
  explicit CurlInternet(const InternetLimits& limits) : limits_(limits) { cookie_share(); }

  InternetHandle open(const std::string& agent, std::uint32_t access_type, const std::string& proxy_list,
                      const std::string&, std::uint32_t) override {
    if (cancelled_) return kNoHandle;
    return add(Session{agent, access_type, proxy_list});
  }

  InternetHandle connect(InternetHandle session, const std::string& host, int port, const std::string& user,
                         const std::string& password, std::uint32_t service, std::uint32_t,
                         std::uintptr_t) override {
    auto* s = find<Session>(session);
    if (cancelled_ || !s || host.empty() || port < 0 || port > 65535 || service != kServiceHttp)
      return kNoHandle;
    return add(Connection{*s, host, port, user, password});
  }

  InternetHandle open_request(InternetHandle connection, const std::string& method, const std::string& path,
                              const std::string& version, const std::string& referrer, std::uint32_t flags,
                              std::uintptr_t) override {
    auto* c = find<Connection>(connection);
    if (cancelled_ || !c || method.empty()) return kNoHandle;
    Request request;
    request.connection = *c;
    request.method = method;
    request.path = path;
    request.version = version;
    request.referrer = referrer;
    request.flags = flags;
    return add(std::move(request));
  }

  bool send_request(InternetHandle handle, std::string_view headers, std::string_view data) override {
    auto* request = find<Request>(handle);
    if (!request || cancelled_) return false;
    request->data.assign(data);
    request->body.clear();
    request->read_position = 0;
    request->header_block.clear();
    request->has_response = false;
    run_transfer(*request, headers);
    return request->has_response;
  }

  bool read_file(InternetHandle handle, char* buffer, std::uint32_t size, std::uint32_t& read) override {
    read = 0;
    auto* request = find<Request>(handle);
    if (!request) return false;
    std::size_t n = std::min<std::size_t>(size, request->body.size() - request->read_position);
    std::memcpy(buffer, request->body.data() + request->read_position, n);
    request->read_position += n;
    read = static_cast<std::uint32_t>(n);
    return true;
  }

  bool query_info(InternetHandle handle, std::uint32_t level, char* buffer, std::uint32_t& length) override {
    auto* request = find<Request>(handle);
    if (!request || level != kQueryRawHeadersCrlf || !request->has_response) return false;
    const std::string& block = request->header_block;
    if (block.size() + 1 > length) {
      length = static_cast<std::uint32_t>(block.size() + 1);
      return false;
    }
    std::memcpy(buffer, block.c_str(), block.size() + 1);
    length = static_cast<std::uint32_t>(block.size());
    return true;
  }

  bool close_handle(InternetHandle handle) override { return objects_.erase(handle) == 1; }

  bool set_cookie(const std::string& url, const std::string& name, const std::string& data) override {
    std::string_view host(url);
    for (std::string_view scheme : {"http://", "https://"}) {
      if (starts_with_nocase(host, scheme)) host.remove_prefix(scheme.size());
    }
    host = host.substr(0, host.find_first_of("/:"));
    auto line = netscape_cookie_line(std::string(host), name, data);
    if (!line) return false;
    EasyPtr easy(curl_easy_init());
    if (!easy) return false;
    curl_easy_setopt(easy.get(), CURLOPT_SHARE, cookie_share());
    return curl_easy_setopt(easy.get(), CURLOPT_COOKIELIST, line->c_str()) == CURLE_OK;
  }

  void cancel() override {
    cancelled_ = true;
    std::lock_guard lock(running_mutex_);
    if (running_) curl_multi_wakeup(running_);
  }

 private:
  template <typename T>
  T* find(InternetHandle handle) {
    auto it = objects_.find(handle);
    return it == objects_.end() ? nullptr : std::get_if<T>(&it->second);
  }

  InternetHandle add(Object object) {
    InternetHandle handle = next_handle_++;
    objects_.emplace(handle, std::move(object));
    return handle;
  }

  void run_transfer(Request& request, std::string_view headers) {
    const Connection& connection = request.connection;
    const bool secure = (request.flags & kFlagSecure) != 0;
    const std::string scheme = secure ? "https" : "http";
    std::string host =
        connection.host.find(':') != std::string::npos ? "[" + connection.host + "]" : connection.host;
    int port = connection.port != 0 ? connection.port : (secure ? 443 : 80);
    std::string url = scheme + "://" + host + ":" + std::to_string(port) + url_path(request.path);

    EasyPtr easy(curl_easy_init());
    if (!easy) return;
    CURL* e = easy.get();
    curl_easy_setopt(e, CURLOPT_URL, url.c_str());
    curl_easy_setopt(e, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(e, CURLOPT_CONNECTTIMEOUT_MS, static_cast<long>(limits_.connect_timeout.count()));
    curl_easy_setopt(e, CURLOPT_LOW_SPEED_LIMIT, 1L);
    curl_easy_setopt(e, CURLOPT_LOW_SPEED_TIME,
                     std::max(1L, static_cast<long>(limits_.idle_timeout.count() / 1000)));
    curl_easy_setopt(e, CURLOPT_HTTP_VERSION,
                     request.version == "HTTP/1.0" ? CURL_HTTP_VERSION_1_0 : CURL_HTTP_VERSION_1_1);
    curl_easy_setopt(e, CURLOPT_WRITEFUNCTION, on_body);
    curl_easy_setopt(e, CURLOPT_WRITEDATA, &request);
    curl_easy_setopt(e, CURLOPT_HEADERFUNCTION, on_header);
    curl_easy_setopt(e, CURLOPT_HEADERDATA, &request);
    curl_easy_setopt(e, CURLOPT_SUPPRESS_CONNECT_HEADERS, 1L);
    if (!connection.session.agent.empty())
      curl_easy_setopt(e, CURLOPT_USERAGENT, connection.session.agent.c_str());
    if (!request.referrer.empty()) curl_easy_setopt(e, CURLOPT_REFERER, request.referrer.c_str());
    if (!connection.user.empty() || !connection.password.empty()) {
      curl_easy_setopt(e, CURLOPT_USERNAME, connection.user.c_str());
      curl_easy_setopt(e, CURLOPT_PASSWORD, connection.password.c_str());
    }

    // The system's settings are curl's own (the *_proxy variables); any other session names its proxy or
    // none.
    std::string proxy;
    if (connection.session.access_type == kOpenProxy)
      proxy = proxy_for(connection.session.proxy_list, scheme);
    if (connection.session.access_type != kOpenPreconfig) {
      curl_easy_setopt(e, CURLOPT_PROXY, proxy.c_str());
      // A proxy named without a port is an HTTP proxy on port 80, as the system library reads such a
      // list, not curl's own default of 1080.
      curl_easy_setopt(e, CURLOPT_PROXYPORT, 80L);
    }

    const bool follow = (request.flags & kFlagNoAutoRedirect) == 0;
    curl_easy_setopt(e, CURLOPT_FOLLOWLOCATION, follow ? 1L : 0L);
    curl_easy_setopt(e, CURLOPT_MAXREDIRS, 20L);
    const char* redirect_schemes = secure                                         ? "https"
                                   : (request.flags & kFlagIgnoreRedirectToHttps) ? "http,https"
                                                                                  : "http";
    curl_easy_setopt(e, CURLOPT_REDIR_PROTOCOLS_STR, redirect_schemes);
    curl_easy_setopt(e, CURLOPT_PROTOCOLS_STR, "http,https");

    if ((request.flags & kFlagNoCookies) == 0) {
      // Without a cookie file curl neither sends nor keeps cookies, shared store or not.
      curl_easy_setopt(e, CURLOPT_SHARE, cookie_share());
      curl_easy_setopt(e, CURLOPT_COOKIEFILE, "");
    }

    if (request.method == "GET") {
      curl_easy_setopt(e, CURLOPT_HTTPGET, 1L);
    } else if (request.method == "HEAD") {
      curl_easy_setopt(e, CURLOPT_NOBODY, 1L);
    } else {
      if (request.method != "POST") curl_easy_setopt(e, CURLOPT_CUSTOMREQUEST, request.method.c_str());
      curl_easy_setopt(e, CURLOPT_POST, 1L);
      curl_easy_setopt(e, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(request.data.size()));
      curl_easy_setopt(e, CURLOPT_POSTFIELDS, request.data.data());
    }

    std::vector<std::string> lines = header_lines(headers);
    std::vector<std::string> list;
    if (!has_header(lines, "Connection")) list.emplace_back("Connection: Keep-Alive");
    if ((request.flags & kFlagReload) && !has_header(lines, "Cache-Control"))
      list.emplace_back("Cache-Control: no-cache");
    if ((request.flags & (kFlagReload | kFlagPragmaNoCache)) && !has_header(lines, "Pragma")) {
      list.emplace_back("Pragma: no-cache");
    }
    list.insert(list.end(), lines.begin(), lines.end());
    // "Name:" takes away a line that curl would add by itself.
    for (const char* name : {"Accept", "Content-Type", "Expect", "Proxy-Connection"}) {
      if (!has_header(lines, name)) list.push_back(std::string(name) + ":");
    }
    if (request.data.empty() && !has_header(lines, "Content-Length")) list.emplace_back("Content-Length:");
    ListPtr header_list;
    for (const std::string& line : list) {
      curl_slist* grown = curl_slist_append(header_list.get(), line.c_str());
      if (!grown) return;
      (void)header_list.release();
      header_list.reset(grown);
    }
    curl_easy_setopt(e, CURLOPT_HTTPHEADER, header_list.get());

    MultiPtr multi(curl_multi_init());
    if (!multi || curl_multi_add_handle(multi.get(), e) != CURLM_OK) return;
    {
      std::lock_guard lock(running_mutex_);
      running_ = multi.get();
    }
    int still_running = 1;
    while (still_running && !cancelled_) {
      if (curl_multi_perform(multi.get(), &still_running) != CURLM_OK) break;
      if (still_running) curl_multi_poll(multi.get(), nullptr, 0, 1000, nullptr);
    }
    {
      std::lock_guard lock(running_mutex_);
      running_ = nullptr;
    }
    curl_multi_remove_handle(multi.get(), e);
  }

  InternetLimits limits_;
  std::map<InternetHandle, Object> objects_;
  InternetHandle next_handle_ = 1;
  std::atomic<bool> cancelled_{false};
  std::mutex running_mutex_;
  CURLM* running_ = nullptr;
};

}  // namespace

std::shared_ptr<Internet> make_internet(const InternetLimits& limits) {
  return std::make_shared<CurlInternet>(limits);
}

}  // namespace lexomir::platform
