#pragma once
// Command-line options of orvek-batch: "--name value" pairs after a command word.

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace orvek::cli {

struct UsageError {
    std::string message;
};

class Arguments {
public:
    // Splits argv into the command and its options; options must be known to `allowed`.
    Arguments(const std::vector<std::string>& args, const std::vector<std::string>& allowed);

    const std::string& command() const { return command_; }
    bool has(const std::string& name) const { return values_.count(name) != 0; }
    std::optional<std::string> text(const std::string& name) const;
    // The option as a decimal number; a usage error when it is missing (and required) or not a number.
    double number(const std::string& name) const;
    std::optional<double> optionalNumber(const std::string& name) const;

private:
    std::string command_;
    std::map<std::string, std::string> values_;
};

}  // namespace orvek::cli
