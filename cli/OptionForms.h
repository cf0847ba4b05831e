#pragma once
// The forms of option values that commands share, each judged with a usage error that names the
// option ("option '--grid' expects X0:X1:NX,Y0:Y1:NY, not '0:1:3'"), and the command's output
// sent where --output says.

#include "cli/Arguments.h"
#include "cli/Commands.h"

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

namespace orvek::cli {

// --format: one of `choices`, the first by default.
std::string formatOption(const Arguments& a, const std::vector<std::string>& choices);

// `text` split at `sep` into exactly `count` parts; else a usage error saying the option expects
// `form`.
std::vector<std::string> parts(const std::string& text, char sep, std::size_t count, const std::string& option,
                               const std::string& form);

// A finite decimal number; else a usage error quoting the option's `whole` value.
double finiteNumber(const std::string& text, const std::string& option, const std::string& form,
                    const std::string& whole);

struct Range {
    double from = 0, to = 0;
};

// "A:B" with A < B and B - A finite; `axis` names the ends in messages ("X0", "X1").
Range range(const std::string& text, const std::string& option, const std::string& form, const std::string& whole,
            const char* axis);

// An output to --output (or standard output) that `write` produces, or of text known at once.
Output to(const Arguments& a, std::function<Status(TextOutput&)> write);
Output to(const Arguments& a, std::string text);

}  // namespace orvek::cli
