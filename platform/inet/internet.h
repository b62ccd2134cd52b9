#pragma once
// The internet library's calls as the exchange worker and the page fetch make them: open a session, connect,
// open a request, send it, read the body, query the raw response headers, close, set a cookie.
//
// It is an interface because the worker's tests must record exactly what passes through it (flags, header
// text, order of calls); the program itself uses the one implementation over libcurl (make_internet).
//
// The implementation sends these header lines of its own, in this order, ahead of the header text of the
// request: Host; User-Agent (the session's agent, left out when empty); Cookie from the process-wide store
// (left out for requests opened with kFlagNoCookies); Connection: Keep-Alive; and with kFlagReload
// "Cache-Control: no-cache" and "Pragma: no-cache". A line of the same name in the header text takes the
// place of the library's own. A request body gets a Content-Length line unless the header text has one.
// Nothing else: no default Accept line, no Content-Type, no Expect, no Proxy-Connection.
#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace lexomir::platform {

// A session, connection or request; 0 is no handle (a failed open).
using InternetHandle = std::uintptr_t;
inline constexpr InternetHandle kNoHandle = 0;

inline constexpr std::uint32_t kOpenPreconfig =
    0;  // the system's settings: http_proxy and kin, as curl reads them
inline constexpr std::uint32_t kOpenDirect = 1;
inline constexpr std::uint32_t kOpenProxy = 3;  // proxy list "http=HOST:PORT": http requests only
inline constexpr std::uint32_t kServiceHttp = 3;
inline constexpr std::uint32_t kQueryRawHeadersCrlf = 22;

inline constexpr std::uint32_t kFlagReload = 0x80000000u;
inline constexpr std::uint32_t kFlagNoCacheWrite = 0x04000000u;
inline constexpr std::uint32_t kFlagSecure = 0x00800000u;
inline constexpr std::uint32_t kFlagNoAutoRedirect = 0x00200000u;
inline constexpr std::uint32_t kFlagNoCookies = 0x00080000u;
inline constexpr std::uint32_t kFlagIgnoreRedirectToHttps = 0x00004000u;
inline constexpr std::uint32_t kFlagPragmaNoCache = 0x00000100u;
inline constexpr std::uint32_t kFlagNeedFile = 0x00000010u;

class Internet {
 public:
  virtual ~Internet() = default;

  virtual InternetHandle open(const std::string& agent, std::uint32_t access_type,
                              const std::string& proxy_list, const std::string& proxy_bypass,
                              std::uint32_t flags) = 0;
  virtual InternetHandle connect(InternetHandle session, const std::string& host, int port,
                                 const std::string& user, const std::string& password, std::uint32_t service,
                                 std::uint32_t flags, std::uintptr_t context) = 0;
  // The accept types are always an empty list, so they are not a parameter.
  virtual InternetHandle open_request(InternetHandle connection, const std::string& method,
                                      const std::string& path, const std::string& version,
                                      const std::string& referrer, std::uint32_t flags,
                                      std::uintptr_t context) = 0;
  // Header lines end in "\r\n"; data is the request body. True when a response arrived.
  virtual bool send_request(InternetHandle request, std::string_view headers, std::string_view data) = 0;
  // The next bytes of the body, read = 0 at its end and on failure.
  virtual bool read_file(InternetHandle request, char* buffer, std::uint32_t size, std::uint32_t& read) = 0;
  // Copies the status line and header lines, each ending in "\r\n", an empty line and a NUL, only when all of
  // it fits in length bytes; otherwise the buffer is left as it was and the call fails.
  virtual bool query_info(InternetHandle request, std::uint32_t level, char* buffer,
                          std::uint32_t& length) = 0;
  virtual bool close_handle(InternetHandle handle) = 0;
  // Stores one cookie for the host of url ("http://HOST"), data with its attributes ("1; path=/").
  virtual bool set_cookie(const std::string& url, const std::string& name, const std::string& data) = 0;

  // Safe from any thread: ends a transfer that runs now, promptly, and makes every later call fail at once.
  virtual void cancel() = 0;
};

// What a system internet library does when nobody says otherwise: give up a connect after 60 s and a
// transfer that has received nothing for 60 s, so that a request without a time-out of its own cannot hang.
struct InternetLimits {
  std::chrono::milliseconds connect_timeout{60000};
  std::chrono::milliseconds idle_timeout{60000};
};

// A layer over libcurl sharing the process-wide cookie store. One per exchange: cancel() ends it for good.
std::shared_ptr<Internet> make_internet(const InternetLimits& limits = {});

// A URL taken apart as a browser would: scheme (lower case), host, port (the scheme's when none is given),
// user name, password, and path with query (at least "/"). Nothing when it cannot be taken apart.
struct UrlParts {
  std::string scheme;
  std::string host;
  int port = 0;
  std::string user;
  std::string password;
  std::string path_and_query;
};
std::optional<UrlParts> crack_url(const std::string& url);

}  // namespace lexomir::platform
