#include "CasePlots.h"

#include "plot/PlotArea.h"
#include "solver/surface/SurfacePoints.h"

#include <QLocale>

#include <algorithm>

namespace {

// A value as a screen reader should say it: three significant digits, the user's separator.
QString spoken(double value) { return QLocale::system().toString(value, 'g', 3); }

}  // namespace

void drawCase(PlotArea& profil, PlotArea& pressure, std::size_t N1, const std::vector<double>& x,
              const std::vector<double>& y, const std::vector<double>& Cu) {
    using orvek::entryOrZero;
    const std::size_t last = N1 > 0 ? N1 - 1 : 0;
    auto at = [](const std::vector<double>& a, std::size_t i) { return static_cast<float>(entryOrZero(a, i)); };

    // Profile: x from -0.1 to 1.1, y from 0.3 down to -0.2, so the chord lies two fifths up.
    profil.clear();
    profil.setScale(-0.1, 0.3, 1.1, -0.2);
    profil.line(0.0f, 0.0f, 1.0f, 0.0f, AxisColour);
    profil.line(0.0f, -0.15f, 0.0f, 0.25f, AxisColour);
    for (std::size_t i = 1; i <= last; ++i) {
        profil.line(at(x, i), at(y, i), at(x, i + 1), at(y, i + 1), CurveColour);
    }

    // The peak of 1-Cp sets the pressure scale; the first of equal peaks is the one kept.
    double CpMax = 0, xPeak = 0;
    for (std::size_t i = 1; i <= last; ++i) {
        const double v = entryOrZero(Cu, i);
        if (v > CpMax) {
            CpMax = v;
            xPeak = entryOrZero(x, i);
        }
    }
    const double height = CpMax > 0 ? CpMax : 1.0;

    pressure.clear();
    pressure.setScale(-0.1, 1.1 * height, 1.1, -0.1 * height);
    pressure.line(0.0f, 0.0f, 1.0f, 0.0f, AxisColour);
    pressure.line(0.0f, 0.0f, 0.0f, static_cast<float>(height), AxisColour);
    for (std::size_t i = 1; i <= last; ++i) {
        pressure.line(at(x, i), at(Cu, i), at(x, i + 1), at(Cu, i + 1), CurveColour);
    }

    // The same pictures in words, for screen readers.
    const auto count = static_cast<qulonglong>(N1);
    double yMin = 0, yMax = 0;
    for (std::size_t i = 1; i <= N1; ++i) {
        const double v = entryOrZero(y, i);
        yMin = std::min(yMin, v);
        yMax = std::max(yMax, v);
    }
    profil.setAccessibleDescription(QString("Airfoil contour through %1 surface points, chord from x/c 0 to 1; "
                                            "y/c from %2 to %3.")
                                        .arg(count)
                                        .arg(spoken(yMin), spoken(yMax)));
    pressure.setAccessibleDescription(
        CpMax > 0 ? QString("1-Cp at %1 surface points along the chord; the peak is %2 at x/c %3.")
                        .arg(count)
                        .arg(spoken(CpMax), spoken(xPeak))
                  : QString("1-Cp at %1 surface points along the chord; no value is above 0.").arg(count));
}
