#pragma once
// A loopback search service and a recording window for the method tests.
#include <gtest/gtest.h>

#include <string>

#include "segmentation/search_service.h"
#include "tests/segmentation/recording_window.h"
#include "tests/support/loopback_server.h"

namespace lexomir::testing {

// The path and query the service is asked for, with the question already encoded.
inline std::string search_path(const std::string& encoded_question) {
  return "/search?lm=0&rn=1000&pn=0&fr=search&ie=gbk&word=" + encoded_question;
}

// "；" after each word: the result text a run is expected to leave.
inline Text entries(std::initializer_list<const char*> words) {
  Text out;
  for (const char* word : words) out += std::string(word) + kEntryEnd;
  return out;
}

class MethodTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(server.ok());
    service.host = server.host_port();
  }

  // Whatever is asked of the service, the search page answers.
  void serve_search_page(const std::string& page) {
    server.route_prefix("/search?", ScriptedResponse::ok(page));
  }

  std::size_t requests_for(const std::string& path) const {
    std::size_t n = 0;
    for (const auto& request : server.requests()) n += request.path() == path ? 1 : 0;
    return n;
  }

  LoopbackServer server;
  SearchService service;
  RecordingWindow window;
};

}  // namespace lexomir::testing
