#pragma once
// "Add to catalogue" of the explorer: one airfoil line appended to the working folder's
// catalogue, the file saved whole (as the result file is) or left as it was.

#include "solver/Expected.h"

#include <string>

// Appends `line` (one catalogue line, no line end) to the catalogue at `path`, with the line end
// the file already uses. Refused with a sentence when the file is missing or not a plain file,
// cannot be read as a catalogue, stops loading at a line before the end (the new line would
// never be loaded), or already holds the 50 airfoils a catalogue can hold.
orvek::Status addToCatalogue(const std::string& path, const std::string& line);
