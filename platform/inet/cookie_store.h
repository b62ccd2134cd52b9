#pragma once
// The one cookie store of the process, shared by every request on every thread through a curl share handle.
#include <optional>
#include <string>

#include <curl/curl.h>

namespace lexomir::platform {

// Initialises libcurl once for the process and hands out the share handle that holds the cookies.
// It lives as long as the process: detached workers may still use it while the program ends.
CURLSH* cookie_share();

// Empties the store, so that tests which read the exact bytes of a request start from no cookies.
void clear_cookies();

// A cookie given as name and data ("1; path=/; expires=...") for host, as one line in the Netscape cookie
// file format that the store reads. Host-only unless the data names a domain that the host lies in.
// Nothing when the store could not keep it (no name, or tabs and line breaks that the format cannot carry).
std::optional<std::string> netscape_cookie_line(const std::string& host, const std::string& name,
                                                const std::string& data);

}  // namespace lexomir::platform
