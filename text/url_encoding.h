#pragma once
#include "text/text.h"

namespace lexomir {

// Every byte becomes %XX (upper-case hex), except that with the spare flag ",-./0-9A-Za-z" stay as they are.
// Calls process_events() after each byte.
Text url_encode(const Text& text, bool spare = false);

}  // namespace lexomir
