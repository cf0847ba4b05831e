#include "NumberBox.h"

#include <QLineEdit>
#include <QRegularExpression>

#include <algorithm>
#include <cmath>

namespace {

// Far beyond any range a box offers: the spin box itself never cuts a typed value.
constexpr double Unbounded = 1e12;

// The typed text without the unit, and with a point for a comma.
QString numberPart(QString text, const QString& unit) {
    text = text.trimmed();
    if (!unit.isEmpty() && text.endsWith(unit)) text.chop(unit.size());
    text = text.trimmed();
    text.replace(QLatin1Char(','), QLatin1Char('.'));
    return text;
}

}  // namespace

QString plainNumber(double value, int decimals, const QLocale& locale) {
    QLocale plain = locale;
    plain.setNumberOptions(locale.numberOptions() | QLocale::OmitGroupSeparator);
    if (value == 0) value = 0.0;  // no "-0"
    return plain.toString(value, 'f', decimals);
}

NumberBox::NumberBox(const QString& what, double lo, double hi, int decimals, const QString& unit, QWidget* parent)
    : QDoubleSpinBox(parent), what_(what), unit_(unit), lo_(lo), hi_(hi) {
    setDecimals(decimals);
    setRange(-Unbounded, Unbounded);
    setSuffix(unit);
    setKeyboardTracking(false);  // the window recalculates when a typed value is complete
    setCorrectionMode(QAbstractSpinBox::CorrectToPreviousValue);
    setValue(std::clamp(0.0, lo, hi));
    // As wide as the longest value of the range needs, not as wide as the unbounded range.
    const auto longest = std::max(textFromValue(lo).size(), textFromValue(hi).size()) + unit.size();
    lineEdit()->setMaxLength(32);
    setMinimumWidth(fontMetrics().horizontalAdvance(QString(longest + 1, QLatin1Char('8'))) + 30);
    setMaximumWidth(minimumWidth() + 40);
}

std::optional<QString> NumberBox::rangeProblem() const {
    const double v = value();
    if (v >= lo_ && v <= hi_) return std::nullopt;
    const QLocale locale;
    return QString("%1 must be from %2%4 to %3%4; %5%4 is %6.")
        .arg(what_.left(1).toUpper() + what_.mid(1), plainNumber(lo_, lo_ == std::floor(lo_) ? 0 : decimals(), locale),
             plainNumber(hi_, hi_ == std::floor(hi_) ? 0 : decimals(), locale), unit_, textFromValue(v),
             v < lo_ ? "too small" : "too large");
}

QValidator::State NumberBox::validate(QString& text, int&) const {
    static const QRegularExpression complete(QStringLiteral("^[-+]?(\\d+\\.?\\d*|\\.\\d+)$"));
    static const QRegularExpression started(QStringLiteral("^[-+]?\\.?$"));
    const QString number = numberPart(text, unit_);
    // More decimals than the box shows are taken and rounded, never dropped as they are typed.
    if (complete.match(number).hasMatch()) {
        return std::fabs(number.toDouble()) <= Unbounded ? QValidator::Acceptable : QValidator::Invalid;
    }
    return started.match(number).hasMatch() ? QValidator::Intermediate : QValidator::Invalid;
}

double NumberBox::valueFromText(const QString& text) const { return numberPart(text, unit_).toDouble(); }

QString NumberBox::textFromValue(double value) const { return plainNumber(value, decimals()); }

void NumberBox::fixup(QString& text) const { text = textFromValue(value()) + unit_; }

void NumberBox::stepBy(int steps) {
    const double v = std::clamp(value() + steps * singleStep(), lo_, hi_);
    setValue(v);
    selectAll();
}
