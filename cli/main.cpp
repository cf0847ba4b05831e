// orvek-batch: the solver, the result file and the analyses of OrvekAnalysis without the window,
// for scripts.

#include "OrvekVersion.h"
#include "cli/Arguments.h"
#include "cli/Commands.h"
#include "export/DescriptorOutput.h"
#include "export/SaveCleanup.h"
#include "export/SaveFile.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <exception>
#include <memory>
#include <string>
#include <vector>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

namespace {

using orvek::Expected;
using orvek::Failure;
using orvek::cli::CommandOutput;
using orvek::cli::Output;
using orvek::cli::UsageError;

constexpr int ExitDone = 0;
constexpr int ExitCannotCalculate = 1;
constexpr int ExitUsage = 2;

// "solve, sweep, ... or streamlines": the commands' names, for the usage messages.
std::string commandList() {
    const std::vector<orvek::cli::Command>& all = orvek::cli::commands();
    std::string list;
    for (std::size_t k = 0; k < all.size(); ++k) {
        list += (k == 0 ? "" : k + 1 == all.size() ? " or " : ", ") + std::string(all[k].name);
    }
    return list;
}

Output text(std::string bytes) { return orvek::cli::textOutput(std::move(bytes)); }

CommandOutput run(const std::vector<std::string>& args) {
    if (args.empty()) throw UsageError{"missing command (" + commandList() + "); see --help"};
    const std::string& first = args[0];
    if (first == "--version") return text(std::string("orvek-batch ") + orvek::Version + "\n");
    if (first == "--help" || first == "-h" || first == "help") {
        // "help sweep" and "--help sweep" show the command's own help.
        if (args.size() > 1) {
            for (const orvek::cli::Command& c : orvek::cli::commands()) {
                if (args[1] == c.name) return text(orvek::cli::commandHelp(c.help));
            }
        }
        return text(orvek::cli::generalHelp(orvek::cli::commands()));
    }
    for (const orvek::cli::Command& c : orvek::cli::commands()) {
        if (first != c.name) continue;
        const std::vector<std::string> words(args.begin() + 1, args.end());
        if (orvek::cli::asksForHelp(words)) return text(orvek::cli::commandHelp(c.help));
        if (orvek::cli::asksForVersion(words)) return text(std::string("orvek-batch ") + orvek::Version + "\n");
        std::vector<std::string> names;
        for (const orvek::cli::OptionHelp& o : c.help.options) names.push_back(o.name);
        return c.run(orvek::cli::Arguments(args, names, c.help.operands));
    }
    if (first.rfind('-', 0) == 0)
        throw UsageError{"missing command (" + commandList() + ") before '" + first + "'; see --help"};
    throw UsageError{"unknown command '" + first + "' (" + commandList() + "); see --help"};
}

// How a message names an output written through one of the process's descriptors.
std::string descriptorName(int fd, const std::string& path) {
    if (fd == 1) return "standard output";
    if (fd == 2) return "standard error";
    return path;
}

// Writes the command's output to standard output (or another descriptor of this process that
// --output names, written in place), or to the file being saved, and makes sure every byte got
// there. A file appears whole, and only when the command's output is complete.
orvek::Status writeOutput(const Output& out) {
    const int fd = !out.path || *out.path == "-" ? 1 : orvek::ownDescriptor(*out.path);
    if (fd >= 0) {
        orvek::DescriptorOutput descriptor(fd, descriptorName(fd, out.path.value_or("-")));
        const orvek::Status written = out.write(descriptor);
        const orvek::Status finished = descriptor.finish();
        return !finished ? finished : written;
    }
    orvek::Expected<std::unique_ptr<orvek::FileSave>> save = orvek::FileSave::begin(*out.path, *out.path);
    if (!save) return orvek::Failure{save.error()};
    if (orvek::Status written = out.write(**save); !written) return written;
    return (*save)->commit();
}

}  // namespace

// The one place where outcomes become exit codes: 0 done, 1 cannot be calculated, designed or
// written (one line on stderr, nothing on stdout; for a catalogue table, its rows and then a line
// per problem), 2 invalid arguments.
int main(int argc, char** argv) {
#ifdef _WIN32
    // Files written through standard output get the same bytes as on other systems (no CR added).
    _setmode(_fileno(stdout), _O_BINARY);
#endif
#ifndef _WIN32
    // A closed pipe ends the program quietly, as it ends other Unix tools, for every command and
    // whatever the parent left the signal set to.
    std::signal(SIGPIPE, SIG_DFL);
#endif
    // A file being saved is removed when Ctrl+C or a termination signal ends the program.
    orvek::removeSaveTemporariesOnSignals();
    const std::vector<std::string> args(argv + 1, argv + argc);
    try {
        const CommandOutput out = run(args);
        if (!out) {
            std::fprintf(stderr, "orvek-batch: %s\n", out.error().c_str());
            return ExitCannotCalculate;
        }
        const orvek::Status written = writeOutput(*out);
        if (!written) {
            std::fprintf(stderr, "orvek-batch: %s\n", written.error().c_str());
            return ExitCannotCalculate;
        }
        for (const std::string& problem : out->problems) std::fprintf(stderr, "orvek-batch: %s\n", problem.c_str());
        return out->problems.empty() ? ExitDone : ExitCannotCalculate;
    } catch (const UsageError& e) {
        std::fprintf(stderr, "orvek-batch: %s\n", e.message.c_str());
        return ExitUsage;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "orvek-batch: %s\n", e.what());
        return ExitCannotCalculate;
    }
}
