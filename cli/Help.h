#pragma once
// The help of orvek-batch, all of it here. Each command has one usage text, shown both in its own
// help and in the help of orvek-batch as a whole, a one-line summary for the general help's list
// of commands, a body for its own help, and an option table: the one list of its options, from
// which the argument parser takes the names it accepts and the help its "Options:" lines. The
// manual page is made from the same texts (cli/ManPage.cpp).

#include <cstddef>
#include <string>
#include <vector>

namespace orvek::cli {

// One row of a command's option table.
struct OptionHelp {
    std::string name;   // without the dashes: "alpha"
    std::string value;  // how its value is shown: "DEG", "FILE|-"
    // What it does; further lines are written under the first. Empty: the option shares the line
    // of the next one ("--F F, --G G, --m M   the airfoil").
    std::string help;
};

struct HelpText {
    std::string usage;      // its "  orvek-batch NAME ..." lines, shown in both helps
    std::string moreUsage;  // further usage lines shown only in the command's own help
    std::string summary;    // one line after the name in the general list of commands
    std::string body;       // the command's own help between its usage and its options
    std::vector<OptionHelp> options;
    std::size_t operands = 0;  // how many words may follow "--" (table: the catalogue)
};

HelpText solveHelp();
HelpText sweepHelp();
HelpText exportHelp();
HelpText designHelp();
HelpText tableHelp();
HelpText describeHelp();
HelpText boundaryLayerHelp();
HelpText fieldHelp();
HelpText streamlinesHelp();

// The "Options:" lines of a table: every name with its value in a column wide enough for the
// names (a longer one has its help on the next line), the help beside it.
std::string optionLines(const std::vector<OptionHelp>& options);

// "Usage:", the usage lines, the body, then "Options:" and the option lines.
std::string commandHelp(const HelpText& help);

// The exit statuses of every command, for the general help and the manual page.
struct ExitStatus {
    int code;
    std::string meaning;
};
const std::vector<ExitStatus>& exitStatuses();

// The conventions every command shares (how options are written, numbers, --output -).
std::string conventions();

struct Command;

// The help of orvek-batch as a whole: every command's usage, the list of commands with their
// summaries, --help and --version, the conventions and the exit statuses.
std::string generalHelp(const std::vector<Command>& commands);

}  // namespace orvek::cli
