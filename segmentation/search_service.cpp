#include "segmentation/search_service.h"

namespace lexomir {

Text search_url(const SearchService& service, const Text& encoded_question) {
  return "http://" + service.host + "/search?lm=0&rn=1000&pn=0&fr=search&ie=gbk&word=" + encoded_question;
}

}  // namespace lexomir
