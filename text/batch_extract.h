#pragma once
#include "text/text.h"

namespace lexomir {

struct ExtractOptions {
  int max_length = 0;  // 0: no limit; otherwise items longer than this many bytes are dropped
  Text prefix;
  Text suffix;
  bool put_left_back = false;
  bool put_right_back = false;
};

// Empties output, then fills it with every text between left and the next right (letters ignoring case,
// never across a line break), in subject order. Returns the number of items.
int batch_extract(const Text& subject, const Text& left, const Text& right, TextArray& output,
                  const ExtractOptions& options = {});

}  // namespace lexomir
