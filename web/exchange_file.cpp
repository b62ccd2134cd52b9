#include "web/exchange_file.h"

#include <cstdint>
#include <limits>

namespace lexomir {

bool ExchangeFile::write(std::string_view bytes) {
  if (position_ + bytes.size() > buffer_.size()) buffer_.resize(position_ + bytes.size());
  buffer_.replace(position_, bytes.size(), bytes);
  position_ += bytes.size();
  return true;
}

bool ExchangeFile::read(std::size_t n, std::string& out) {
  if (n > buffer_.size() - position_) return false;
  out.assign(buffer_, position_, n);
  position_ += n;
  return true;
}

bool write_record(ExchangeFile& file, const RequestRecord& record) {
  for (const Bytes& field : record) {
    if (field.size() > std::numeric_limits<std::uint32_t>::max()) return false;
  }
  for (const Bytes& field : record) {
    auto n = static_cast<std::uint32_t>(field.size());
    const char count[4] = {static_cast<char>(n & 0xFF), static_cast<char>((n >> 8) & 0xFF),
                           static_cast<char>((n >> 16) & 0xFF), static_cast<char>((n >> 24) & 0xFF)};
    if (!file.write(std::string_view(count, 4)) || !file.write(field.view())) return false;
  }
  return true;
}

bool read_record(ExchangeFile& file, RequestRecord& record) {
  RequestRecord read;
  std::string chunk;
  for (Bytes& field : read) {
    if (!file.read(4, chunk)) return false;
    std::uint32_t n = 0;
    for (int i = 3; i >= 0; --i) n = (n << 8) | static_cast<unsigned char>(chunk[i]);
    if (!file.read(n, field.data())) return false;
  }
  record = std::move(read);
  return true;
}

}  // namespace lexomir
