#include "Comparison.h"

#include <array>

namespace {

// Colours apart from the current curves' red and blue and from each other, drawn translucent.
const std::array<QColor, Comparison::Most> PinnedColours = {QColor(0, 140, 140, 150), QColor(150, 60, 170, 150),
                                                            QColor(200, 130, 0, 160), QColor(90, 90, 90, 150)};
// A pinned set's curves on the right axis (the polar's CMc/4 beside CL) in a second colour of
// their own, dashed, so the two quantities of one airfoil are never taken for each other.
const std::array<QColor, Comparison::Most> PinnedRightColours = {QColor(0, 90, 40, 150), QColor(200, 60, 120, 150),
                                                                 QColor(120, 90, 20, 160), QColor(40, 40, 140, 150)};

}  // namespace

void Comparison::keep(const QString& name, const QVector<QVector<Chart::Curve>>& charts) {
    if (static_cast<int>(pinned_.size()) == Most) pinned_.pop_front();
    pinned_.push_back(Pinned{name, charts});
}

QStringList Comparison::names() const {
    QStringList out;
    for (const Pinned& p : pinned_) out << p.name;
    return out;
}

QVector<Chart::Curve> Comparison::withCurrent(int chart, QVector<Chart::Curve> current) const {
    QVector<Chart::Curve> out;
    for (std::size_t k = 0; k < pinned_.size(); ++k) {
        const Pinned& p = pinned_[k];
        if (chart < 0 || chart >= p.charts.size()) continue;
        bool named = false, namedRight = false;
        for (Chart::Curve c : p.charts[chart]) {
            if (c.rightAxis) {
                c.colour = PinnedRightColours[k];
                c.style = Qt::DashLine;
                c.name = namedRight || c.name.isEmpty() ? QString() : p.name + ": " + c.name;
                namedRight = true;
            } else {
                c.colour = PinnedColours[k];
                c.name = named ? QString() : p.name;
                named = true;
            }
            out.push_back(std::move(c));
        }
    }
    out += std::move(current);
    return out;
}
