#include "segmentation/append_if_new.h"

#include "segmentation/captions.h"

namespace lexomir {

bool append_if_new(WindowOperations& window, const Text& word) {
  // A substring test over the whole box, separators included, not a comparison with whole entries: a
  // character of an earlier word is enough to keep a fragment out.
  if (window.result_contains(word)) return false;
  window.append_result_text(word + kEntryEnd);
  return true;
}

}  // namespace lexomir
