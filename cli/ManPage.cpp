#include "cli/ManPage.h"

#include "cli/Commands.h"
#include "cli/Help.h"

namespace orvek::cli {

namespace {

// Text as troff shows it: backslashes and minus signs escaped, a line starting with a dot or a
// quote kept from being read as a request.
std::string escaped(const std::string& text) {
    std::string out;
    bool lineStart = true;
    for (const char c : text) {
        if (lineStart && (c == '.' || c == '\'')) out += "\\&";
        if (c == '\\') out += "\\e";
        else if (c == '-') out += "\\-";
        else out += c;
        lineStart = c == '\n';
    }
    return out;
}

// Preformatted lines, as the help shows them; leading and trailing blank lines dropped.
std::string block(const std::string& text) {
    const std::size_t a = text.find_first_not_of('\n');
    if (a == std::string::npos) return {};
    const std::size_t b = text.find_last_not_of('\n');
    // A blank line inside a no-fill block is kept by .sp, which man renders without a warning.
    std::string body = escaped(text.substr(a, b - a + 1)) + "\n";
    std::string out;
    std::size_t from = 0;
    while (from < body.size()) {
        const std::size_t end = body.find('\n', from);
        const std::string line = body.substr(from, end - from);
        out += line.empty() ? ".sp\n" : line + "\n";
        from = end + 1;
    }
    return ".nf\n" + out + ".fi\n";
}

// One line of text from a help that runs over several.
std::string oneLine(std::string text) {
    for (char& c : text) {
        if (c == '\n') c = ' ';
    }
    return text;
}

std::string optionItems(const std::vector<OptionHelp>& options) {
    std::string out, names;
    for (const OptionHelp& o : options) {
        names += (names.empty() ? "" : ", ") + std::string("\\fB\\-\\-") + escaped(o.name) + "\\fR" +
                 (o.value.empty() ? "" : " \\fI" + escaped(o.value) + "\\fR");
        if (o.help.empty()) continue;
        out += ".TP\n" + names + "\n" + escaped(oneLine(o.help)) + "\n";
        names.clear();
    }
    return out;
}

}  // namespace

std::string manPage(const std::string& version, const std::string& more) {
    const std::vector<Command>& all = commands();
    std::string page = ".\\\" Made from the help of orvek-batch by orvek-batch-manpage when it is built.\n";
    page += ".TH ORVEK\\-BATCH 1 \"December 2026\" \"orvek\\-batch " + escaped(version) + "\" \"User Commands\"\n";
    page += ".SH NAME\norvek\\-batch \\- OrvekAnalysis airfoil calculations from the command line\n";
    page += ".SH SYNOPSIS\n";
    std::string usage;
    for (const Command& c : all) usage += c.help.usage + c.help.moreUsage;
    usage += "  orvek-batch COMMAND --help\n  orvek-batch --help | --version\n";
    page += block(usage);
    page += ".SH DESCRIPTION\n.B orvek\\-batch\nruns the calculations of\n.BR OrvekAnalysis (1)\n"
            "without the window, for scripts: Karman\\-Trefftz airfoils and their special case, the Joukowsky\n"
            "airfoils (m = 2), by the conformal mapping of a circle, in steady, incompressible potential flow.\n"
            ".PP\n" +
            escaped(oneLine(conventions()));
    page += "\n.SH COMMANDS\n";
    for (const Command& c : all) {
        page += ".SS " + escaped(c.name) + "\n" + escaped(c.help.summary) + ".PP\n" + block(c.help.body);
        page += ".PP\nOptions:\n" + optionItems(c.help.options);
    }
    page += ".SH OPTIONS\n" + optionItems({{"help", "", "shows the help, or after a command that command's help"},
                                           {"version", "", "shows the version"}});
    page += ".SH EXIT STATUS\n";
    for (const ExitStatus& s : exitStatuses()) {
        page += ".TP\n.B " + std::to_string(s.code) + "\n" + escaped(oneLine(s.meaning)) + "\n";
    }
    return page + more;
}

}  // namespace orvek::cli
