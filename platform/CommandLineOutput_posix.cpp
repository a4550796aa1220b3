#include "CommandLineOutput.h"

#include <iostream>

namespace kwizmar {

bool PrintOnCommandLine(std::string_view utf8, TCommandLineStream stream) {
    std::ostream& out = stream == TCommandLineStream::Output ? std::cout : std::cerr;
    out << utf8 << std::flush;
    return bool(out);
}

} // namespace kwizmar
