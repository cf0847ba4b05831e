#include "cli/Arguments.h"

#include "case/DecimalText.h"

#include <algorithm>

namespace orvek::cli {

Arguments::Arguments(const std::vector<std::string>& args, const std::vector<std::string>& allowed) {
    if (args.empty()) throw UsageError{"missing command (solve or describe); see --help"};
    command_ = args[0];
    for (std::size_t i = 1; i < args.size(); ++i) {
        const std::string& name = args[i];
        if (name.rfind("--", 0) != 0) throw UsageError{"unexpected argument '" + name + "'"};
        const std::string key = name.substr(2);
        if (std::find(allowed.begin(), allowed.end(), key) == allowed.end()) {
            throw UsageError{"unknown option '" + name + "' for " + command_};
        }
        if (i + 1 >= args.size()) throw UsageError{"option '" + name + "' needs a value"};
        if (values_.count(key)) throw UsageError{"option '" + name + "' given twice"};
        values_[key] = args[++i];
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
    return v;
}

double Arguments::number(const std::string& name) const {
    std::optional<double> v = optionalNumber(name);
    if (!v) throw UsageError{"missing option '--" + name + "'"};
    return *v;
}

}  // namespace orvek::cli
