#pragma once
// lexomir-cli as a function, so tests can run it in-process on argument vectors and string streams.
#include <iosfwd>
#include <string>
#include <vector>

namespace lexomir {

inline constexpr int kExitFetched = 0;     // every search page was fetched
inline constexpr int kExitNotFetched = 1;  // at least one could not be
inline constexpr int kExitUsage = 2;       // the arguments or the input were wrong; one line says what

// args: the arguments after the program name. err_is_terminal decides whether a progress bar is drawn.
int run_cli(const std::vector<std::string>& args, std::istream& in, std::ostream& out, std::ostream& err,
            bool err_is_terminal = false);

}  // namespace lexomir
