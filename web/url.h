#pragma once
// Host, path and port of a URL, cut as plain text (no URL grammar), with the asymmetries the exchange
// worker relies on: the host drops "http://"/"https://" exactly, the port knows only "http://", any case.
#include "text/text.h"

namespace lexomir {

Text url_host(const Text& url);
Text url_path(const Text& url);
int url_port(const Text& url);

}  // namespace lexomir
