#include "FileVersion.h"

#include "KwizmarVersion.h"

namespace kwizmar {

std::string ProgramFileVersion() {
    return std::to_string(kVersionMajor) + "." + std::to_string(kVersionMinor) + "." +
           std::to_string(kVersionRelease) + "." + std::to_string(kVersionBuild);
}

} // namespace kwizmar
