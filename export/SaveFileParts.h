#pragma once
// What the two halves of saving a file (SaveFilePosix.cpp, SaveFileWindows.cpp) share: the checks
// of a name and the words of a failure. Internal to export/.

#include "solver/Expected.h"

#include <string>

namespace orvek::saving {

// The system's words for an errno value ("Permission denied").
std::string systemReason(int error);

// Whether the name ends with a folder separator ('/', and '\\' on Windows).
bool endsWithSeparator(const std::string& path);

// How a message names the file by default: its name as the user knows it (the bare name for a
// path into a folder), or the whole text given when that has no file name part.
std::string nameForMessage(const std::string& path);

// The checks that need no file system: an empty name, and one that names a folder.
Status nameFault(const std::string& path);

}  // namespace orvek::saving
