#include "MessagePresenter.h"

#include <QCoreApplication>
#include <QMessageBox>

void MessageBoxPresenter::show(QWidget* parent, const QString& text, Kind kind) {
    QMessageBox box(kind == Kind::Warning ? QMessageBox::Warning : QMessageBox::NoIcon,
                    QCoreApplication::applicationName(), text, QMessageBox::Ok, parent);
    box.exec();
}
