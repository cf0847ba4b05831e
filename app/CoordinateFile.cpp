#include "CoordinateFile.h"

#include "FileNameAsker.h"

#include <QFileInfo>

QStringList coordinateFilters() {
    return {"Selig coordinates (*.dat)", "Lednicer coordinates (*.dat)", "CSV with 1-Cp (*.csv)"};
}

orvek::CoordinateFormat coordinateFormatOf(const QString& path, int filter) {
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == "csv" || (suffix != "dat" && filter == 2)) return orvek::CoordinateFormat::Csv;
    return filter == 1 ? orvek::CoordinateFormat::Lednicer : orvek::CoordinateFormat::Selig;
}

std::optional<CoordinateFileChoice> askCoordinateFile(QWidget* parent, FileNameAsker& files) {
    const std::optional<FileNameAsker::Choice> choice =
        files.askSaveFile(parent, QString::fromUtf8("Export coordinates"), "airfoil.dat", coordinateFilters());
    if (!choice || choice->path.isEmpty()) return std::nullopt;
    return CoordinateFileChoice{choice->path, coordinateFormatOf(choice->path, choice->filter)};
}
