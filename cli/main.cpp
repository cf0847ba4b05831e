// orvek-batch: the solver, the result file and the analyses of OrvekAnalysis without the window,
// for scripts.

#include "OrvekVersion.h"
#include "cli/Arguments.h"
#include "cli/Commands.h"
#include "export/DescriptorOutput.h"
#include "export/SaveFile.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <exception>
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

const char* const CommandList = "solve, sweep, export, design, table, describe, field or streamlines";

Output text(std::string bytes) { return orvek::cli::textOutput(std::move(bytes)); }

CommandOutput run(const std::vector<std::string>& args) {
    if (args.empty()) throw UsageError{std::string("missing command (") + CommandList + "); see --help"};
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
        return c.run(args);
    }
    if (first.rfind('-', 0) == 0)
        throw UsageError{std::string("missing command (") + CommandList + ") before '" + first + "'; see --help"};
    throw UsageError{"unknown command '" + first + "' (" + CommandList + "); see --help"};
}

// Writes the command's output to standard output, or to the file being saved, and makes sure
// every byte got there.
orvek::Status writeOutput(const Output& out) {
    if (!out.path || *out.path == "-") {
        orvek::DescriptorOutput standardOutput(1, "standard output");
        const orvek::Status written = out.write(standardOutput);
        const orvek::Status finished = standardOutput.finish();
        return !finished ? finished : written;
    }
    orvek::StringOutput bytes;
    if (orvek::Status written = out.write(bytes); !written) return written;
    return orvek::saveFileAtomically(*out.path, bytes.text());
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
