#include "segmentation/window_operations.h"

#include "text/primitives.h"

namespace lexomir {

bool WindowOperations::result_contains(const Text& word) { return search(read_result_text(), word) != -1; }

}  // namespace lexomir
