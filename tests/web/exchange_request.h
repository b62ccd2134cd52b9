#pragma once
// A request as the tests write it, and one exchange of it through a given internet layer: the record goes
// into an exchange file, the worker runs, and the record comes back as the worker left it.
#include <gtest/gtest.h>

#include <string>

#include "platform/inet/internet.h"
#include "web/exchange_file.h"
#include "web/exchange_worker.h"

namespace lexomir::testing {

struct ExchangeRequest {
  std::string url = "http://host/p";
  std::string method = "GET";
  std::string proxy;
  std::string headers;
  std::string data;
  std::string cookies;
  bool redirects = true;
};

inline RequestRecord record_of(const ExchangeRequest& r) {
  return {Bytes(r.url),
          Bytes(r.method),
          Bytes(r.proxy),
          Bytes(r.headers),
          Bytes(r.data),
          Bytes(r.cookies),
          Bytes(r.redirects ? kTrueText : kFalseText)};
}

inline RequestRecord exchange(const ExchangeRequest& request, platform::Internet& internet) {
  ExchangeFile file;
  EXPECT_TRUE(write_record(file, record_of(request)));
  run_exchange(file, internet);
  RequestRecord out;
  file.rewind();
  EXPECT_TRUE(read_record(file, out));
  return out;
}

}  // namespace lexomir::testing
