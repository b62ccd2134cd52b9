#pragma once
#include "segmentation/window_operations.h"

namespace lexomir {

// Appends the word and "；" unless the word already occurs anywhere in the result box, read afresh now so
// that earlier entries and anything the user left there count. The empty word counts as present in a
// non-empty box. Returns true when it appended.
bool append_if_new(WindowOperations& window, const Text& word);

}  // namespace lexomir
