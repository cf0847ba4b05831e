#include "cli/Arguments.h"

#include "case/DecimalText.h"

#include <algorithm>
#include <cmath>

namespace orvek::cli {

namespace {

bool standsBeforeEnd(const std::vector<std::string>& words, std::initializer_list<const char*> names) {
    for (const std::string& w : words) {
        if (w == "--") return false;
        for (const char* n : names) {
            if (w == n) return true;
        }
    }
    return false;
}

}  // namespace

bool asksForHelp(const std::vector<std::string>& words) { return standsBeforeEnd(words, {"-h", "--help"}); }

bool asksForVersion(const std::vector<std::string>& words) { return standsBeforeEnd(words, {"--version"}); }

Arguments::Arguments(const std::vector<std::string>& args, const std::vector<std::string>& allowed,
                     std::size_t maxOperands) {
    if (args.empty()) throw UsageError{"missing command; see --help"};
    command_ = args[0];
    bool optionsEnded = false;
    for (std::size_t i = 1; i < args.size(); ++i) {
        const std::string& word = args[i];
        if (!optionsEnded && word == "--") {
            optionsEnded = true;
            continue;
        }
        if (optionsEnded || word.rfind("--", 0) != 0) {
            if (!optionsEnded && word.size() > 1 && word[0] == '-')
                throw UsageError{"unknown option '" + word + "' for " + command_};
            if (operands_.size() >= maxOperands) throw UsageError{"unexpected argument '" + word + "'"};
            operands_.push_back(word);
            continue;
        }
        const std::size_t equals = word.find('=');
        const std::string key = word.substr(2, equals == std::string::npos ? std::string::npos : equals - 2);
        const std::string name = "--" + key;
        if (std::find(allowed.begin(), allowed.end(), key) == allowed.end()) {
            throw UsageError{"unknown option '" + name + "' for " + command_};
        }
        if (values_.count(key)) throw UsageError{"option '" + name + "' given twice"};
        if (equals != std::string::npos) {
            values_[key] = word.substr(equals + 1);
        } else {
            if (i + 1 >= args.size()) throw UsageError{"option '" + name + "' needs a value"};
            values_[key] = args[++i];
        }
    }
}

std::optional<std::string> Arguments::text(const std::string& name) const {
    auto it = values_.find(name);
    if (it == values_.end()) return std::nullopt;
    return it->second;
}

std::optional<double> Arguments::optionalNumber(const std::string& name) const {
    std::optional<std::string> t = text(name);
    if (!t) return std::nullopt;
    std::optional<double> v = parseWholeDecimal(*t);
    if (!v) throw UsageError{"option '--" + name + "' expects a number, not '" + *t + "'"};
    // Beyond every double (1e999): no output has a form for it, so it is refused here.
    if (!std::isfinite(*v)) throw UsageError{"option '--" + name + "' expects a finite number, not '" + *t + "'"};
    return v;
}

double Arguments::number(const std::string& name) const {
    std::optional<double> v = optionalNumber(name);
    if (!v) throw UsageError{"missing option '--" + name + "'"};
    return *v;
}

}  // namespace orvek::cli
