#pragma once
// "Export coordinates…" of the main window's plots and of the explorer: the formats the file
// dialog offers and the rule that picks one from the name typed and the filter chosen.

#include "export/AirfoilCoordinates.h"

#include <QString>
#include <QStringList>

#include <optional>

class FileNameAsker;
class QWidget;

// The dialog's name filters, in this order: Selig (.dat), Lednicer (.dat), CSV with 1-Cp (.csv).
QStringList coordinateFilters();

// The format of a file named `path` when filter number `filter` was chosen: a name ending in .csv
// is CSV whatever the filter; one ending in .dat is Lednicer when that filter was chosen and Selig
// otherwise; any other name takes the chosen filter's format.
orvek::CoordinateFormat coordinateFormatOf(const QString& path, int filter);

struct CoordinateFileChoice {
    QString path;
    orvek::CoordinateFormat format = orvek::CoordinateFormat::Selig;
};

// Asks where to export the coordinates and in which format; nothing when the user cancels.
std::optional<CoordinateFileChoice> askCoordinateFile(QWidget* parent, FileNameAsker& files);
