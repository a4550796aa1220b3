#include "Processes.h"

#include "AtomicFile.h"

#include <fstream>
#include <string>
#include <unistd.h>

namespace kwizmar {

std::string ThisProcess() {
    return std::to_string(::getpid());
}

std::string StartOf(const std::string& pid) {
    // Field 22 of /proc/<pid>/stat, counted after the command name, which is
    // in brackets and may itself hold blanks and brackets.
    std::ifstream stat("/proc/" + pid + "/stat");
    std::string line;
    if (!std::getline(stat, line))
        return "";
    const std::size_t close = line.rfind(')');
    if (close == std::string::npos)
        return "";
    std::size_t at = close + 1;
    for (int field = 3; field <= 22; ++field) {
        const std::size_t begin = line.find_first_not_of(' ', at);
        if (begin == std::string::npos)
            return "";
        at = line.find(' ', begin);
        if (field == 22)
            return line.substr(begin, at == std::string::npos ? std::string::npos : at - begin);
    }
    return "";
}

} // namespace kwizmar
