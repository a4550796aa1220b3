#pragma once

#include "RegionalSettings.h"
#include "TestCheck.h"
#include "TestSource.h"

#include <iosfwd>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

// kwizmar-ts2: makes, reads back and checks test files for test authors.

namespace kwizmar {

// A failure the tool reports to its user; the text says what and where.
class ETs2ToolError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The whole command line; returns the exit status (0 success, 1 failure,
// 2 bad arguments). A test made by `import` is created `today`.
int RunTs2Tool(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
               const IRegionalSettings& regional, const TDate& today);

} // namespace kwizmar
