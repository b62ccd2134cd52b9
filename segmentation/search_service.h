#pragma once
#include "text/text.h"

namespace lexomir {

// The question service that both methods ask. Tests and lexomir-cli --host point it elsewhere.
inline constexpr char kDefaultSearchHost[] = "zhidao.baidu.com";

struct SearchService {
  Text host = kDefaultSearchHost;  // HOST or HOST:PORT
};

// "http://" + host + the fixed search path and query + the encoded question.
Text search_url(const SearchService& service, const Text& encoded_question);

}  // namespace lexomir
