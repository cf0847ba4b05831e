#include "export/ResultFile.h"

#include "export/NumberFormat.h"

#include <charconv>
#include <cmath>

namespace orvek {

namespace {

constexpr const char* LineEnd = "\r\n";

// Rounds a real index to a whole one, an exact half to the even neighbour.
std::size_t splitIndex(double value) {
    double rounded = std::nearbyint(value);
    return rounded < 0 ? 0 : static_cast<std::size_t>(rounded);
}

void appendValue(std::string& out, const std::vector<double>& a, std::size_t i, char separator) {
    out += "  ";
    appendFiveDecimals(out, entryOrZero(a, i), separator);
}

void appendRowNumber(std::string& out, double i) {
    char buf[24];
    auto [end, ec] = std::to_chars(buf, buf + sizeof buf, static_cast<unsigned long long>(i));
    (void)ec;
    out += "  ";
    out.append(buf, end);
}

}  // namespace

void writeResultFile(TextOutput& file, const ResultFileCase& state, Layout layout, char separator) {
    static const SurfacePoints noPoints;
    const double NP = state.NP.value_or(0.0);
    const SurfacePoints& p = state.points ? *state.points : noPoints;
    const bool withCp = layout == Layout::XYCp || layout == Layout::SplitCp;

    // One line at a time goes to the file, so a case of any size needs no more than a line.
    std::string out;
    const auto endLine = [&] {
        out += LineEnd;
        file << out;
        out.clear();
    };

    // Always the Karman-Trefftz form: a Joukowsky airfoil is its case m = 2.
    const AirfoilGeometry& h = state.header;
    out += " Delta=" + optionalDecimals(h.thickness, 2, separator);
    out += "  Gama=" + optionalDecimals(h.camber, 2, separator);
    out += "  xDltC=" + optionalDecimals(h.thicknessPosition, 5, separator);
    out += "  Tau=" + optionalDecimals(h.teAngleDegrees, 2, separator);
    out += "  Karman-Trefftz airfoil";
    endLine();
    if (state.NP) out += numberItem(NP, separator);
    endLine();
    if (layout == Layout::None) return;

    if (withCp) {
        const Coefficients c = state.coefficients.value_or(Coefficients{});
        out += "  AlfaD = " + angleItem(state.AlfaD.value_or(0.0), separator);
        endLine();
        out += "  CL    = " + numberItem(roundHalfEven(c.CL, 4), separator);
        endLine();
        out += "  CMc/4 = " + numberItem(roundHalfEven(c.CMc4, 4), separator);
        endLine();
        out += "  Alfa0 = " + numberItem(roundHalfEven(c.Alfa0, 2), separator);
        endLine();
    }

    if (layout == Layout::XY || layout == Layout::XYCp) {
        for (double i = 1; i <= NP; ++i) {
            const auto k = static_cast<std::size_t>(i);
            appendRowNumber(out, i);
            appendValue(out, p.x, k, separator);
            appendValue(out, p.y, k, separator);
            if (withCp) appendValue(out, p.Cu, k, separator);
            endLine();
        }
        return;
    }

    // Split layouts: the upper surface from the middle point to the trailing edge beside the
    // lower surface from the middle point back to the trailing edge.
    const double M = (NP + 1.0) / 2.0;
    for (double i = 1; i <= M; ++i) {
        const std::size_t U = splitIndex(M + i - 1.0);
        const std::size_t L = splitIndex(M + 1.0 - i);
        appendRowNumber(out, i);
        appendValue(out, p.x, U, separator);
        appendValue(out, p.y, U, separator);
        if (withCp) appendValue(out, p.Cu, U, separator);
        appendValue(out, p.x, L, separator);
        appendValue(out, p.y, L, separator);
        if (withCp) appendValue(out, p.Cu, L, separator);
        endLine();
    }
}

std::string resultFileText(const ResultFileCase& state, Layout layout, char separator) {
    StringOutput text;
    writeResultFile(text, state, layout, separator);
    return std::move(text).text();
}

}  // namespace orvek
