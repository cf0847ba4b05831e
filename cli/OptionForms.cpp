#include "cli/OptionForms.h"

#include "case/DecimalText.h"

#include <cmath>

namespace orvek::cli {

std::string formatOption(const Arguments& a, const std::vector<std::string>& choices) {
    const std::optional<std::string> f = a.text("format");
    if (!f) return choices.front();
    for (const std::string& c : choices) {
        if (*f == c) return c;
    }
    std::string list;
    for (std::size_t k = 0; k < choices.size(); ++k)
        list += (k == 0 ? "" : k + 1 == choices.size() ? " or " : ", ") + choices[k];
    throw UsageError{"option '--format' expects " + list + ", not '" + *f + "'"};
}

std::vector<std::string> parts(const std::string& text, char sep, std::size_t count, const std::string& option,
                               const std::string& form) {
    std::vector<std::string> out;
    std::size_t from = 0;
    for (;;) {
        const std::size_t at = text.find(sep, from);
        out.push_back(text.substr(from, at == std::string::npos ? std::string::npos : at - from));
        if (at == std::string::npos) break;
        from = at + 1;
    }
    if (out.size() != count) throw UsageError{"option '--" + option + "' expects " + form + ", not '" + text + "'"};
    return out;
}

double finiteNumber(const std::string& text, const std::string& option, const std::string& form,
                    const std::string& whole) {
    const std::optional<double> v = parseWholeDecimal(text);
    if (!v || !std::isfinite(*v)) {
        throw UsageError{"option '--" + option + "' expects " + form + ", not '" + whole + "'"};
    }
    return *v;
}

Range range(const std::string& text, const std::string& option, const std::string& form, const std::string& whole,
            const char* axis) {
    const std::vector<std::string> p = parts(text, ':', 2, option, form);
    const Range r{finiteNumber(p[0], option, form, whole), finiteNumber(p[1], option, form, whole)};
    if (!(r.from < r.to)) {
        throw UsageError{"option '--" + option + "': " + axis + "0 must be less than " + axis + "1, not " + p[0] +
                         " and " + p[1]};
    }
    if (!std::isfinite(r.to - r.from)) {
        throw UsageError{"option '--" + option + "': " + axis + "1 - " + axis +
                         "0 must be at most the largest number (about 1.8e308), not " + p[0] + " to " + p[1]};
    }
    return r;
}

Output to(const Arguments& a, std::function<Status(TextOutput&)> write) {
    Output o;
    o.write = std::move(write);
    o.path = a.text("output");
    return o;
}

Output to(const Arguments& a, std::string text) {
    Output o = textOutput(std::move(text));
    o.path = a.text("output");
    return o;
}

}  // namespace orvek::cli
