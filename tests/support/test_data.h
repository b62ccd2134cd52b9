#pragma once
// Paths of the test data, injected by CMake so the tests run from any folder.
#include <fstream>
#include <sstream>
#include <string>

namespace lexomir::testing {

inline std::string data_path(const std::string& relative) {
  return std::string(LEXOMIR_TEST_DATA_DIR) + "/" + relative;
}

// The whole file as bytes; empty when it cannot be read.
inline std::string read_data_file(const std::string& relative) {
  std::ifstream in(data_path(relative), std::ios::binary);
  std::ostringstream out;
  out << in.rdbuf();
  return out.str();
}

}  // namespace lexomir::testing
