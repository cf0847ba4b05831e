#include "FileNameAsker.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QRegularExpression>

QString filterExtension(const QString& filter) {
    static const QRegularExpression pattern(QStringLiteral("\\*\\.([A-Za-z0-9]+)"));
    const QRegularExpressionMatch match = pattern.match(filter);
    return match.hasMatch() ? match.captured(1) : QString();
}

std::optional<FileNameAsker::Choice> DialogFileNameAsker::askSaveFile(QWidget* parent, const QString& caption,
                                                                      const QString& suggestedName,
                                                                      const QStringList& filters) {
    QFileDialog dialog(parent, caption);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilters(filters);
    dialog.selectFile(suggestedName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    Choice choice;
    choice.filter = std::max(0, static_cast<int>(filters.indexOf(dialog.selectedNameFilter())));
    choice.path = dialog.selectedFiles().constFirst();
    const QString extension = filterExtension(filters.value(choice.filter));
    if (QFileInfo(choice.path).suffix().isEmpty() && !extension.isEmpty()) choice.path += "." + extension;
    return choice;
}

std::optional<FileNameAsker::Choice> DialogFileNameAsker::askOpenFile(QWidget* parent, const QString& caption,
                                                                      const QStringList& filters) {
    QFileDialog dialog(parent, caption);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilters(filters);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    Choice choice;
    choice.filter = std::max(0, static_cast<int>(filters.indexOf(dialog.selectedNameFilter())));
    choice.path = dialog.selectedFiles().constFirst();
    return choice;
}
