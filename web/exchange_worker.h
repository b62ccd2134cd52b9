#pragma once
// One HTTP exchange, run on a worker thread by the timed request: it takes the request record out of the
// exchange file, sends a GET or POST with completed default headers through the internet layer, and writes
// the record back with the body, the returned cookies and the raw response headers in it.
#include "platform/inet/internet.h"
#include "web/exchange_file.h"

namespace lexomir {

// "Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.1; SV1; ...)": the agent when the headers name none.
extern const char* const kDefaultUserAgent;
extern const char* const kDefaultAcceptLine;
extern const char* const kDefaultLanguageLine;
extern const char* const kFormContentTypeLine;

// Reads and rewrites file from its start; when no record can be read it writes nothing.
void run_exchange(ExchangeFile& file, platform::Internet& internet);

}  // namespace lexomir
