#include "NumberBox.h"

#include "MessagePresenter.h"
#include "case/TextNumber.h"

#include <QLineEdit>
#include <QRegularExpression>

#include <algorithm>
#include <cmath>

namespace {

// Far beyond any range a box offers: the spin box itself never cuts a typed value.
constexpr double Unbounded = 1e12;
// The value of an empty optional box: below anything a box holds or can be typed.
constexpr double NoValue = -2 * Unbounded;

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

int decimalsOf(double value, int most) {
    const QString text = QString::number(value, 'f', most);
    const qsizetype point = text.indexOf(QLatin1Char('.'));
    if (point < 0) return 0;
    qsizetype end = text.size();
    while (end > point + 1 && text[end - 1] == QLatin1Char('0')) --end;
    return static_cast<int>(end - point - 1);
}

NumberBox::NumberBox(const QString& what, double lo, double hi, int decimals, const QString& unit, QWidget* parent)
    : QDoubleSpinBox(parent), what_(what), unit_(unit), lo_(lo), hi_(hi), fewest_(decimals) {
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

void NumberBox::setOptional(bool optional) {
    optional_ = optional;
    setRange(optional ? NoValue : -Unbounded, Unbounded);
}

void NumberBox::setEmptyText(const QString& text) { lineEdit()->setPlaceholderText(text); }

bool NumberBox::isNoValue(double value) const { return optional_ && value <= NoValue; }

std::optional<double> NumberBox::number() const {
    const double v = value();
    if (isNoValue(v)) return std::nullopt;
    return v;
}

void NumberBox::sayRefusals(MessagePresenter& messages, const QString& example) {
    refusals_ = &messages;
    example_ = example;
}

int NumberBox::shownDecimals(double value) const {
    return value == std::floor(value) ? 0 : std::max(fewest_, decimalsOf(value, decimals()));
}

std::optional<QString> NumberBox::rangeProblem() const {
    const double v = value();
    if (isNoValue(v)) return std::nullopt;
    if (v >= lo_ && v <= hi_) return std::nullopt;
    const QLocale locale;
    return QString("%1 must be from %2%4 to %3%4; %5%4 is %6.")
        .arg(what_.left(1).toUpper() + what_.mid(1), plainNumber(lo_, shownDecimals(lo_), locale),
             plainNumber(hi_, shownDecimals(hi_), locale), unit_, textFromValue(v),
             v < lo_ ? "too small" : "too large");
}

QValidator::State NumberBox::validate(QString& text, int&) const {
    static const QRegularExpression complete(QStringLiteral("^[-+]?(\\d+\\.?\\d*|\\.\\d+)([eE][-+]?\\d+)?$"));
    static const QRegularExpression started(QStringLiteral("^[-+]?(\\.?|(\\d+\\.?\\d*|\\.\\d+)[eE][-+]?)$"));
    const QString number = numberPart(text, unit_);
    if (optional_ && number.isEmpty()) return QValidator::Acceptable;
    if (refusals_) {
        // Anything may be typed; what is no number is refused with a sentence when it is entered.
        const std::optional<double> v = orvek::typedNumber(number.toStdString());
        return v && std::fabs(*v) <= Unbounded ? QValidator::Acceptable : QValidator::Intermediate;
    }
    // More decimals than the box shows are taken and rounded, never dropped as they are typed.
    if (complete.match(number).hasMatch()) {
        return std::fabs(number.toDouble()) <= Unbounded ? QValidator::Acceptable : QValidator::Invalid;
    }
    return started.match(number).hasMatch() ? QValidator::Intermediate : QValidator::Invalid;
}

double NumberBox::valueFromText(const QString& text) const {
    const QString number = numberPart(text, unit_);
    if (optional_ && number.isEmpty()) return NoValue;
    if (refusals_) return orvek::typedNumber(number.toStdString()).value_or(value());
    return number.toDouble();
}

void NumberBox::setMostDecimals(int most) {
    const double v = value();
    setDecimals(std::max(most, fewest_));
    setValue(v);
}

QString NumberBox::textFromValue(double value) const {
    return isNoValue(value) ? QString() : plainNumber(value, std::max(fewest_, decimalsOf(value, decimals())));
}

void NumberBox::fixup(QString& text) const {
    if (refusals_) {
        const QString typed = text.trimmed();
        const QString sentence =
            typed.isEmpty()
                ? QString("Type a number for %1, such as %2.").arg(what_, example_)
                : QString::fromUtf8("“%1” is no number for %2: type digits with a point or a comma, such as %3%4.")
                      .arg(typed, what_, example_, optional_ ? ", or leave the box empty for none" : "");
        refusals_->show(window(), sentence, MessagePresenter::Kind::Warning);
    }
    text = textFromValue(value()) + unit_;
}

void NumberBox::stepBy(int steps) {
    const double v = std::clamp(value() + steps * singleStep(), lo_, hi_);
    setValue(v);
    selectAll();
}
