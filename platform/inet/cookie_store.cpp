#include "platform/inet/cookie_store.h"

#include <array>
#include <cstdlib>
#include <ctime>
#include <memory>
#include <mutex>
#include <string_view>

namespace lexomir::platform {
namespace {

std::array<std::mutex, CURL_LOCK_DATA_LAST> g_locks;

void lock_share(CURL*, curl_lock_data data, curl_lock_access, void*) { g_locks[data].lock(); }
void unlock_share(CURL*, curl_lock_data data, void*) { g_locks[data].unlock(); }

std::string_view trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  return s;
}

bool iequals(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    char x = a[i], y = b[i];
    if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
    if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
    if (x != y) return false;
  }
  return true;
}

bool host_in_domain(std::string_view host, std::string_view domain) {
  if (iequals(host, domain)) return true;
  return host.size() > domain.size() + 1 && host[host.size() - domain.size() - 1] == '.' &&
         iequals(host.substr(host.size() - domain.size()), domain);
}

}  // namespace

CURLSH* cookie_share() {
  static CURLSH* share = [] {
    curl_global_init(CURL_GLOBAL_DEFAULT);
    CURLSH* s = curl_share_init();
    curl_share_setopt(s, CURLSHOPT_LOCKFUNC, lock_share);
    curl_share_setopt(s, CURLSHOPT_UNLOCKFUNC, unlock_share);
    curl_share_setopt(s, CURLSHOPT_SHARE, CURL_LOCK_DATA_COOKIE);
    return s;
  }();
  return share;
}

void clear_cookies() {
  std::unique_ptr<CURL, decltype(&curl_easy_cleanup)> easy(curl_easy_init(), curl_easy_cleanup);
  if (!easy) return;
  curl_easy_setopt(easy.get(), CURLOPT_SHARE, cookie_share());
  curl_easy_setopt(easy.get(), CURLOPT_COOKIELIST, "ALL");
}

std::optional<std::string> netscape_cookie_line(const std::string& host, const std::string& name,
                                                const std::string& data) {
  std::string_view rest(data);
  std::size_t semi = rest.find(';');
  std::string_view value = trim(rest.substr(0, semi));
  std::string domain = host;
  bool tailmatch = false;
  std::string path = "/";
  bool secure = false;
  bool http_only = false;
  long long expires = 0;  // a session cookie
  std::optional<long long> max_age;
  while (semi != std::string_view::npos) {
    rest.remove_prefix(semi + 1);
    semi = rest.find(';');
    std::string_view attribute = trim(rest.substr(0, semi));
    std::size_t eq = attribute.find('=');
    std::string_view key = trim(attribute.substr(0, eq));
    std::string_view val = eq == std::string_view::npos ? std::string_view{} : trim(attribute.substr(eq + 1));
    if (iequals(key, "path") && !val.empty() && val.front() == '/') {
      path = std::string(val);
    } else if (iequals(key, "domain") && !val.empty()) {
      if (val.front() == '.') val.remove_prefix(1);
      if (!val.empty() && host_in_domain(host, val)) {
        domain = "." + std::string(val);
        tailmatch = true;
      }
    } else if (iequals(key, "expires")) {
      std::time_t when = curl_getdate(std::string(val).c_str(), nullptr);
      if (when != -1) expires = when > 0 ? when : 1;
    } else if (iequals(key, "max-age")) {
      char* end = nullptr;
      std::string digits(val);
      long long seconds = std::strtoll(digits.c_str(), &end, 10);
      if (!digits.empty() && *end == '\0') max_age = seconds;
    } else if (iequals(key, "secure")) {
      secure = true;
    } else if (iequals(key, "httponly")) {
      http_only = true;
    }
  }
  if (max_age) expires = *max_age <= 0 ? 1 : static_cast<long long>(std::time(nullptr)) + *max_age;

  std::string line = std::string(http_only ? "#HttpOnly_" : "") + domain + '\t' +
                     (tailmatch ? "TRUE" : "FALSE") + '\t' + path + '\t' + (secure ? "TRUE" : "FALSE") +
                     '\t' + std::to_string(expires) + '\t' + name + '\t' + std::string(value);
  if (name.empty() || host.empty() || line.find_first_of("\r\n") != std::string::npos ||
      name.find('\t') != std::string::npos || value.find('\t') != std::string_view::npos) {
    return std::nullopt;
  }
  return line;
}

}  // namespace lexomir::platform
