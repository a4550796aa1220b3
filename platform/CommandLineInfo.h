#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kwizmar {

// What a program prints and exits with when its first argument asks about the
// program rather than naming a file: for "--version", `program`, a blank and
// the program's version ("kwizmar 1.5.0.124"); for "--help", `usage` followed
// by the lines of these two options. Any other first argument, or none, gives
// nothing, and the program starts as usual. `args` are the arguments after the
// program's own name. Never throws beyond std::bad_alloc.
std::optional<std::string> CommandLineInfo(const std::vector<std::string>& args,
                                           std::string_view program, std::string_view usage);

} // namespace kwizmar
