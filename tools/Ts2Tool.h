#pragma once

#include "RegionalSettings.h"

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

// A UTF-8 source (any of LF, CR LF or CR line ends, an optional byte-order
// mark) → the stored bytes of a .ts2 file: Windows-1250, CR LF line ends, a
// final line break only where the source has one, scrambled. Throws
// ETs2ToolError naming the line and column of a character Windows-1250 can't
// hold, of malformed UTF-8, of a control character the format can't carry,
// or of a line longer than the reader sees.
std::string PackTestSource(std::string_view source);

// The stored bytes → the text as the program reads it, in UTF-8 with LF line
// ends (nothing of a line is cut).
std::string UnpackTestFile(std::string_view stored);

// The outcome of `check`: empty `rejection` for a test the program accepts;
// `notes` are things that pass the loader but go wrong during an exam;
// `dateFormat` says which date format read the creation date.
struct TCheckReport {
    std::string rejection;
    std::vector<std::string> notes;
    std::string summary;
    std::string dateFormat;
};
TCheckReport CheckTestFile(const std::string& path, std::string_view stored,
                           const IRegionalSettings& regional);

// The whole command line; returns the exit status (0 success, 1 failure,
// 2 bad arguments).
int RunTs2Tool(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
               const IRegionalSettings& regional);

} // namespace kwizmar
