#pragma once

#include "RegionalSettings.h"
#include "Registry.h"

#include <iosfwd>
#include <string>
#include <vector>

// kwizmar-wyniki: the results log as a spreadsheet, for administrators and
// scripts.
//
//   kwizmar-wyniki csv [LOG] [-o FILE] [--test NAME] [--from DATE] [--to DATE]
//   kwizmar-wyniki xlsx [LOG] -o FILE [--test NAME] [--from DATE] [--to DATE]
//   kwizmar-wyniki pytania [LOG] [-o FILE] [--test NAME] [--from DATE] [--to DATE]
//
// "pytania" writes the analysis of the questions from the answers' records
// beside the log, a workbook or CSV by the file's ending.
// LOG defaults to the log the program itself would use (SysDir, read from
// `registry`); a CSV without -o goes to `out`. A test the log holds no exam
// of is a failure that writes nothing. Dates are dd.MM.yyyy or
// yyyy-MM-dd; the log's own dates are read in `regional`'s short date format
// first.

namespace kwizmar {

// The whole command line; returns the exit status (0 success, 1 failure,
// 2 bad arguments). Messages go to `err`, in Polish.
int RunWynikiTool(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
                  const IRegionalSettings& regional, IRegistry& registry);

} // namespace kwizmar
