#pragma once
// The number box of the polar and explorer windows: a spin box that reads a point or a comma as
// the decimal separator (these windows have no thousands), shows its value the locale's way and
// never groups digits. A typed value beyond the box's range is kept as typed, never cut to its
// first digits: the window asks `rangeProblem()` and shows the sentence instead of calculating.
// The arrow keys and the wheel stay inside the range.

#include <QDoubleSpinBox>

#include <optional>

class NumberBox : public QDoubleSpinBox {
    Q_OBJECT
public:
    // `what` names the value in a sentence ("the angle", "the number of points"); `unit` follows
    // the number in that sentence and in the box ("°" or empty).
    NumberBox(const QString& what, double lo, double hi, int decimals, const QString& unit = QString(),
              QWidget* parent = nullptr);

    double lowest() const { return lo_; }
    double highest() const { return hi_; }
    // A sentence naming the limit when the value lies outside the range, else nothing.
    std::optional<QString> rangeProblem() const;

    QValidator::State validate(QString& text, int& pos) const override;
    double valueFromText(const QString& text) const override;
    QString textFromValue(double value) const override;
    void fixup(QString& text) const override;
    void stepBy(int steps) override;

private:
    QString what_, unit_;
    double lo_, hi_;
};

// The number as text without group separators, with the decimal separator of `locale`.
QString plainNumber(double value, int decimals, const QLocale& locale = QLocale());
