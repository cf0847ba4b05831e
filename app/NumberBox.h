#pragma once
// The number box of the polar and explorer windows: a spin box that reads a point or a comma as
// the decimal separator (these windows have no thousands), shows its value the locale's way and
// never groups digits. A typed value beyond the box's range is kept as typed, never cut to its
// first digits: the window asks `rangeProblem()` and shows the sentence instead of calculating.
// The arrow keys and the wheel stay inside the range. An exponent is read too (1e6 for 1000000).
//
// A box may be optional: left empty it has no value. A box may say its refusals: it then takes
// any text while it is typed, and text that is no number is refused on Return or on leaving the
// box with a sentence through the presenter, the box keeping its value; otherwise it takes only
// keys that can make a number.

#include <QDoubleSpinBox>

#include <optional>

class MessagePresenter;

class NumberBox : public QDoubleSpinBox {
    Q_OBJECT
public:
    // `what` names the value in a sentence ("the angle", "the number of points"); `unit` follows
    // the number in that sentence and in the box ("°" or empty).
    NumberBox(const QString& what, double lo, double hi, int decimals, const QString& unit = QString(),
              QWidget* parent = nullptr);

    // Shows a value with as many decimals as it has, from the box's decimals up to `most` (a step
    // of 0.001 shows as 0.001 in a box of two decimals, 0.5 as 0.50); the value keeps `most`.
    void setMostDecimals(int most);

    double lowest() const { return lo_; }
    double highest() const { return hi_; }
    // A sentence naming the limit when the value lies outside the range, else nothing.
    std::optional<QString> rangeProblem() const;

    // An empty box means "none" (`example` is a number the refusal sentence offers); `number()`
    // is then empty, and `value()` is below any range.
    void setOptional(bool optional);
    bool isOptional() const { return optional_; }
    // What an empty optional box shows, greyed ("inviscid").
    void setEmptyText(const QString& text);
    // The value, or nothing while an optional box is empty.
    std::optional<double> number() const;
    // Text that is no number is said through `messages` (which must outlive the box).
    void sayRefusals(MessagePresenter& messages, const QString& example);

    QValidator::State validate(QString& text, int& pos) const override;
    double valueFromText(const QString& text) const override;
    QString textFromValue(double value) const override;
    void fixup(QString& text) const override;
    void stepBy(int steps) override;

private:
    bool isNoValue(double value) const;
    // The decimals a limit of the range is written with in a sentence.
    int shownDecimals(double value) const;

    QString what_, unit_;
    double lo_, hi_;
    bool optional_ = false;
    MessagePresenter* refusals_ = nullptr;
    QString example_;
    int fewest_;  // the decimals shown at least
};

// The number as text without group separators, with the decimal separator of `locale`.
QString plainNumber(double value, int decimals, const QLocale& locale = QLocale());

// The decimals `value` has when written with at most `most` of them: 0.001 has 3, 0.5 has 1, 2 none.
int decimalsOf(double value, int most);
