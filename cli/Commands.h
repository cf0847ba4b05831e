#pragma once
// The commands of orvek-batch: each reads its options and gives the bytes to write, or why the
// case cannot be calculated. Usage errors are thrown as UsageError.

#include "solver/Expected.h"

#include <optional>
#include <string>
#include <vector>

namespace orvek::cli {

struct Output {
    std::string bytes;
    std::optional<std::string> path;    // --output: a file replaced whole; none or "-" is standard output
    std::vector<std::string> problems;  // reported on standard error after the output; exit status 1
};

using CommandOutput = Expected<Output>;

struct Command {
    const char* name;
    std::string help;                                            // the command's own help text
    CommandOutput (*run)(const std::vector<std::string>& args);  // args[0] is the command's name
};

// solve, sweep, export, design, table, describe, field, streamlines.
const std::vector<Command>& commands();

// The help text of orvek-batch as a whole.
const std::string& generalHelp();

}  // namespace orvek::cli
