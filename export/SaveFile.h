#pragma once
// Saving a file whole: the previous file stays as it was unless the new one is complete.

#include "solver/Expected.h"

#include <string>
#include <string_view>

namespace orvek {

// Replaces the file at `path` with `bytes` as a whole: written to a temporary file in the same
// folder and renamed over the old one, so a failed save leaves the previous file untouched.
// Fails with the message for the user ("Could not save ORVEK_result.txt: Permission denied").
Status saveFileAtomically(const std::string& path, std::string_view bytes);

}  // namespace orvek
