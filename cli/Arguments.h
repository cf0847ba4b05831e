#pragma once
// Command-line words of orvek-batch after the command: options "--name value" or "--name=value";
// "--" ends the options, and the words after it are operands (such as a file name that begins
// with a dash).

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace orvek::cli {

struct UsageError {
    std::string message;
};

// Whether the words ask for help: "-h" or "--help" standing before any "--".
bool asksForHelp(const std::vector<std::string>& words);

// Whether the words ask for the version: "--version" standing before any "--".
bool asksForVersion(const std::vector<std::string>& words);

class Arguments {
public:
    // Splits argv into the command and its options; options must be known to `allowed`, and at
    // most `maxOperands` operands may follow "--" or stand alone.
    Arguments(const std::vector<std::string>& args, const std::vector<std::string>& allowed,
              std::size_t maxOperands = 0);

    const std::string& command() const { return command_; }
    bool has(const std::string& name) const { return values_.count(name) != 0; }
    std::optional<std::string> text(const std::string& name) const;
    // The option as a decimal number; a usage error when it is missing (and required), not a
    // number, or beyond the range of numbers (1e999).
    double number(const std::string& name) const;
    std::optional<double> optionalNumber(const std::string& name) const;
    const std::vector<std::string>& operands() const { return operands_; }

private:
    std::string command_;
    std::map<std::string, std::string> values_;
    std::vector<std::string> operands_;
};

}  // namespace orvek::cli
