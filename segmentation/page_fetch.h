#pragma once
#include "text/text.h"

namespace lexomir {

// Plain HTTP/1.0 GET of a search page with the system's default connection settings (never the proxy box):
// the body of any response, the bytes read so far when reading breaks off, or empty bytes on failure.
Bytes page_fetch(const Text& url);

}  // namespace lexomir
