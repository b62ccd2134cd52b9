#pragma once
// The in-memory file through which a request record passes between two threads: a growable byte buffer
// with a read/write position. A record is its seven fields in order, each a 32-bit little-endian byte count
// and that many bytes, with nothing before or after. Writing after a rewind overwrites from the start;
// whatever lies beyond a shorter record stays in the buffer unread.
#include <string>

#include "text/text.h"
#include "web/request_record.h"

namespace lexomir {

class ExchangeFile {
 public:
  void rewind() { position_ = 0; }
  bool write(std::string_view bytes);
  // Exactly n bytes from the position, or false (and the position unchanged) when fewer are left.
  bool read(std::size_t n, std::string& out);

  const std::string& contents() const { return buffer_; }

 private:
  std::string buffer_;
  std::size_t position_ = 0;
};

// Both work from the current position. False when a field is too long for its count, or the buffer ends
// before the seventh field is complete.
bool write_record(ExchangeFile& file, const RequestRecord& record);
bool read_record(ExchangeFile& file, RequestRecord& record);

}  // namespace lexomir
