#pragma once
// The help texts of orvek-batch. Each command has one usage text, shown both in its own help and
// in the help of orvek-batch as a whole, one summary for the general help's list of commands and
// a body for its own help.

#include <string>
#include <vector>

namespace orvek::cli {

struct HelpText {
    std::string usage;      // its "  orvek-batch NAME ..." lines, shown in both helps
    std::string moreUsage;  // further usage lines shown only in the command's own help
    std::string summary;    // after the name in the general list; continuation lines indented by 13
    std::string body;       // the command's own help after its usage
};

HelpText solveHelp();
HelpText sweepHelp();
HelpText exportHelp();
HelpText designHelp();
HelpText tableHelp();
HelpText describeHelp();
HelpText boundaryLayerHelp();

// "Usage:", the usage lines, then the body.
std::string commandHelp(const HelpText& help);

struct Command;

// The help of orvek-batch as a whole: every command's usage, the list of commands with their
// summaries, the options of solve and describe and the conventions shared by all commands.
std::string generalHelp(const std::vector<Command>& commands);

}  // namespace orvek::cli
