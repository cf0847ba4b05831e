#include "flow/FlowStatus.h"

#include "NumberBox.h"

#include <algorithm>
#include <cmath>

int positionDecimals(double scale) {
    return std::clamp(static_cast<int>(std::ceil(-std::log10(std::max(scale, 1e-12)))) + 1, 3, 9);
}

QString flowStatus(const orvek::FlowField& field, orvek::StreamPlane plane, QPointF at, int decimals,
                   const QLocale& locale) {
    orvek::FlowPoint z{at.x(), at.y()};
    QString where;
    if (plane == orvek::StreamPlane::Circle) {
        if (field.atCircle(z).inside) return {};
        const orvek::FlowPoint image = field.toAirfoil(at.x() - 1.0, at.y());
        where = QString::fromUtf8("ξ = %1   η = %2   ↦   x = %3   y = %4")
                    .arg(plainNumber(at.x(), decimals, locale), plainNumber(at.y(), decimals, locale),
                         plainNumber(image.x, decimals, locale), plainNumber(image.y, decimals, locale));
        z = image;
    } else {
        where = QString("x = %1   y = %2")
                    .arg(plainNumber(at.x(), decimals, locale), plainNumber(at.y(), decimals, locale));
    }
    const orvek::FlowValues f = field.at(z);
    if (f.inside) return {};
    // the speed at a sharp trailing edge under a circulation set by hand is infinite
    const auto number = [&](double v) {
        if (std::isinf(v)) return QString::fromUtf8(v > 0 ? "∞" : "−∞");
        return plainNumber(v, 4, locale);
    };
    return where + QString::fromUtf8("   u = %1   v = %2   |V| = %3   Cp = %4   ψ = %5")
                       .arg(number(f.u), number(f.v), number(std::hypot(f.u, f.v)), number(f.Cp), number(f.psi));
}
