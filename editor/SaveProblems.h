#pragma once

#include <string>
#include <system_error>

// What the editor tells the teacher when a test can't be written where it
// was meant to go: what went wrong, in Polish, and what to do instead. The
// test in the editor is never lost by a failed save, and each text says so.

namespace kwizmar {

// A write that failed for the system's reason `cause` (empty when unknown).
std::string SaveFailureText(const std::string& path, const std::error_code& cause);

// A file whose owner may not write it: the editor doesn't replace it.
std::string ReadOnlyFileText(const std::string& path);

// The file was changed on disk (another editor, kwizmar-ts2, a colleague)
// since the editor read or wrote it: replacing it would lose that change.
std::string ChangedOnDiskText(const std::string& path);

} // namespace kwizmar
