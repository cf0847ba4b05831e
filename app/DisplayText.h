#pragma once
// Numbers shown to the user follow the user's decimal separator: the result boxes as much as the
// saved result file. The core writes its display texts with a point; the window swaps it here.
// Typed input keeps its point-only rule (the core reads it).

#include <QLocale>
#include <QString>

#include <string>

// The decimal separator of the user's locale, as one byte for the result file; a point where the
// locale's separator is no single ASCII character.
inline char localeDecimalSeparator() {
    const QString point = QLocale::system().decimalPoint();
    return point.size() == 1 && point[0].unicode() < 128 ? static_cast<char>(point[0].unicode()) : '.';
}

// A display text of the core (point as decimal separator) with the separator the file uses.
inline QString localeDisplayText(const std::string& text) {
    QString shown = QString::fromStdString(text);
    shown.replace(QLatin1Char('.'), QLatin1Char(localeDecimalSeparator()));
    return shown;
}
