#include "FileVersion.h"

namespace kwizmar {

// ELF programs carry no version resource.
std::string FileVersionOf(const std::string&) {
    return {};
}

} // namespace kwizmar
