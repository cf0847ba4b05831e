#pragma once
// "Keep for comparison": up to four pinned sets of a window's curves, drawn as fainter lines
// behind the current ones, each set in a colour of its own and named in the legend (the airfoil's
// name, and the angle where the window has one), so thickness, camber or angle effects can be
// shown on one picture. A set's curves on a right axis take a second colour of the set, dashed,
// and are named in the legend apart. A window with several charts pins one list of curves per chart.

#include "plot/Chart.h"

#include <QString>
#include <QVector>

#include <deque>

class Comparison {
public:
    static constexpr int Most = 4;

    // Pins the curves of each chart under `name`; with four pinned already, the oldest goes.
    void keep(const QString& name, const QVector<QVector<Chart::Curve>>& charts);
    void clear() { pinned_.clear(); }
    int count() const { return static_cast<int>(pinned_.size()); }
    QStringList names() const;

    // The pinned curves of chart `chart`, faint, the first of each set named, followed by
    // `current` as it is.
    QVector<Chart::Curve> withCurrent(int chart, QVector<Chart::Curve> current) const;

private:
    struct Pinned {
        QString name;
        QVector<QVector<Chart::Curve>> charts;
    };
    std::deque<Pinned> pinned_;
};
