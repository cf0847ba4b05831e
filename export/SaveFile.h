#pragma once
// Saving a file whole: the previous file stays as it was unless the new one is complete.

#include "solver/Expected.h"

#include <string>
#include <string_view>

namespace orvek {

// Replaces the file at `path` with `bytes` as a whole. The bytes go to a new temporary file of a
// unique name in the same folder, are flushed to the disk, and the temporary file is then renamed
// over the old one, so a reader (or a second save running at the same time) sees either the old
// file or a complete new one, the later save winning. The old file's permission bits are kept; a
// symbolic link is followed, so the file it points to is replaced and the link stays.
//
// Refused, with nothing changed: an empty name or one ending in a folder separator, a target that
// is not a regular file (a folder, a device, a pipe), a read-only file, and a folder the user may
// not write to. Every failure removes the temporary file and says why, naming the file
// ("Could not save ORVEK_result.txt: Permission denied").
Status saveFileAtomically(const std::string& path, std::string_view bytes);

}  // namespace orvek
