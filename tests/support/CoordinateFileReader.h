#pragma once
// A small reader of airfoil coordinate files, to check what the program writes: Selig (name,
// then x y rows) and Lednicer (name, the two counts, a blank line, the upper surface, a blank
// line, the lower surface).

#include <QString>
#include <QStringList>

#include <vector>

namespace coordinates {

struct Point {
    double x, y;
};

struct CoordinateFile {
    QString name;
    std::vector<Point> upper, lower, all;
    bool ok = false;
};
inline bool parsePair(const QString& line, Point& p) {
    const QStringList parts = line.split(' ', Qt::SkipEmptyParts);
    if (parts.size() != 2) return false;
    bool okX = false, okY = false;
    p = Point{parts[0].toDouble(&okX), parts[1].toDouble(&okY)};
    return okX && okY;
}
inline CoordinateFile readSelig(const QString& text) {
    CoordinateFile f;
    const QStringList lines = text.split('\n');
    f.name = lines.value(0);
    for (int k = 1; k < lines.size(); ++k) {
        if (lines[k].isEmpty() && k == lines.size() - 1) break;
        Point p;
        if (!parsePair(lines[k], p)) return f;
        f.all.push_back(p);
    }
    f.ok = !f.all.empty();
    return f;
}
inline CoordinateFile readLednicer(const QString& text) {
    CoordinateFile f;
    const QStringList lines = text.split('\n');
    if (lines.size() < 4) return f;
    f.name = lines[0];
    const QStringList counts = lines[1].split(' ', Qt::SkipEmptyParts);
    if (counts.size() != 2 || !lines[2].isEmpty()) return f;
    const int nu = static_cast<int>(counts[0].toDouble()), nl = static_cast<int>(counts[1].toDouble());
    int k = 3;
    for (int i = 0; i < nu; ++i, ++k) {
        Point p;
        if (!parsePair(lines.value(k), p)) return f;
        f.upper.push_back(p);
    }
    if (!lines.value(k++).isEmpty()) return f;
    for (int i = 0; i < nl; ++i, ++k) {
        Point p;
        if (!parsePair(lines.value(k), p)) return f;
        f.lower.push_back(p);
    }
    f.ok = k == lines.size() - 1 && lines[k].isEmpty();
    return f;
}

}  // namespace coordinates
