#include "FileVersion.h"

#include "KwizmarVersion.h"
#include "Platform.h"

namespace kwizmar {

std::string ProgramFileVersion() {
    const std::string fromResource = FileVersionOf(ProgramFilePath());
    if (!fromResource.empty())
        return fromResource;
    return std::to_string(kVersionMajor) + "." + std::to_string(kVersionMinor) + "." +
           std::to_string(kVersionRelease) + "." + std::to_string(kVersionBuild);
}

} // namespace kwizmar
