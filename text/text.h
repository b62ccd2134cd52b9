#pragma once
// The program's text values. A Text is GBK bytes with no zero byte; a Bytes may hold zero bytes.
// They are distinct types so that a body with NULs cannot slip into a text unnoticed.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace lexomir {

using Text = std::string;
using TextArray = std::vector<Text>;

class Bytes {
 public:
  Bytes() = default;
  explicit Bytes(std::string data) : data_(std::move(data)) {}
  Bytes(const char* p, std::size_t n) : data_(p, n) {}

  const std::string& data() const { return data_; }
  std::string& data() { return data_; }
  std::string_view view() const { return data_; }
  std::size_t size() const { return data_.size(); }
  bool empty() const { return data_.empty(); }
  void append(const char* p, std::size_t n) { data_.append(p, n); }
  void append(const Bytes& other) { data_ += other.data_; }
  void clear() { data_.clear(); }

  friend bool operator==(const Bytes&, const Bytes&) = default;

 private:
  std::string data_;
};

}  // namespace lexomir
