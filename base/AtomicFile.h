#pragma once

#include <filesystem>
#include <string_view>

// Files the program writes (the results log, the settings file, the file-type
// registration) are replaced whole rather than written in place wherever the
// system allows it: a crash, a full disk or a failed write must leave the
// previous file whole.

namespace kwizmar {

// Replaces the file at `path` with `bytes`: writes a temporary file in the same
// folder, flushes it to disk and renames it over the old file. The folder must
// exist.
//
// A symbolic link is written through, so that a settings file kept elsewhere
// and linked into place stays linked: the file at the end of the link (of a
// chain of links; a relative target counts from its link's folder) is the one
// replaced, or created where the link points at nothing yet, and the link
// itself stays as it is.
//
// On POSIX systems the replaced file keeps its permissions, its owner, its
// group and its hard links (SafeReplace.h tells how). Only the system's
// administrator may give a file to another owner: an ordinary user replacing a
// file that another user owns (a log in a shared folder, writable by the
// group) has it written over in place instead, as has a file with a second
// hard link, and its old bytes are first kept in a temporary file beside it,
// which is removed once the new bytes are on disk. Where the new bytes can't
// be written in place, the old ones are put back; where even that fails, the
// temporary file keeping them stays beside the file.
//
// Throws EFCreateError ("Cannot create file %s", with `path`) on any failure:
// the old file is then as it was and no temporary file is left behind (but for
// the last case above).
void WriteFileAtomically(const std::filesystem::path& path, std::string_view bytes);

// Whether no process with the id `pid` runs any more (false when unsure); one
// that has ended but that its parent has not yet collected counts as gone.
bool ProcessIsGone(unsigned long pid);

// The file a write to `path` lands in: `path` itself, or where it is a symbolic
// link, the end of its chain, which may not exist. Throws EFCreateError (with
// `path`) for a chain that goes round in a circle or can't be read.
std::filesystem::path LinkTarget(const std::filesystem::path& path);

} // namespace kwizmar
