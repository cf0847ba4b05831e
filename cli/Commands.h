#pragma once
// The commands of orvek-batch. A command is a name, its help text (cli/Help.h) and a function that
// reads its options and says what to write, or why the case cannot be calculated. Usage errors
// are thrown as UsageError. Adding a command: its HelpText with its option table in Help.cpp, its
// run function, and one line in commands(); main parses the options the table names.

#include "cli/Arguments.h"
#include "cli/Help.h"
#include "export/TextOutput.h"
#include "solver/Expected.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace orvek::cli {

struct Output {
    // Writes the command's text to the output main opened (standard output, or the file being
    // saved); a failure discards a file being saved and ends with exit status 1.
    std::function<Status(TextOutput&)> write;
    std::optional<std::string> path;    // --output: a file replaced whole; none or "-" is standard output
    std::vector<std::string> problems;  // reported on standard error after the output; exit status 1
};

using CommandOutput = Expected<Output>;

struct Command {
    const char* name;
    HelpText help;  // its options: the names the parser accepts
    CommandOutput (*run)(const Arguments& options);
};

// solve, sweep, export, design, table, describe, field, streamlines.
const std::vector<Command>& commands();

// An output of text known at once.
Output textOutput(std::string text);

}  // namespace orvek::cli
