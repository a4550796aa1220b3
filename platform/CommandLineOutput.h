#pragma once

#include <string_view>

// What a program answers on its command line (its version, its usage, what
// is wrong with its arguments), printed where the user who started it from a
// command line reads it. On Windows a program of windows has no console of its
// own: it prints into the console of the command line that started it (where
// its output isn't redirected into a file or a pipe), as UTF-16, so that the
// Polish letters show whatever the console's code page; a file or a pipe gets
// the UTF-8 bytes, as on Linux.

namespace kwizmar {

enum class TCommandLineStream { Output, Error };

// Prints `utf8`; false when there is nowhere to print it or writing failed.
bool PrintOnCommandLine(std::string_view utf8,
                        TCommandLineStream stream = TCommandLineStream::Output);

} // namespace kwizmar
