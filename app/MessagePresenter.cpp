#include "MessagePresenter.h"

#include <QCoreApplication>
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QGridLayout>
#include <QMessageBox>
#include <QtMath>

namespace {

// The least width of a window whose title bar shows `caption` whole.
int captionWidth(const QString& caption) {
    // The title bar's font belongs to the window manager: allow a quarter more than the
    // application's title font in bold, and room for the window's icon and its three buttons.
    QFont title = QFontDatabase::systemFont(QFontDatabase::TitleFont);
    title.setBold(true);
    constexpr int IconAndButtons = 128;
    return qCeil(1.25 * QFontMetricsF(title).horizontalAdvance(caption)) + IconAndButtons;
}

}  // namespace

void MessageBoxPresenter::show(QWidget* parent, const QString& text, Kind kind) {
    QMessageBox box(kind == Kind::Warning ? QMessageBox::Warning : QMessageBox::NoIcon,
                    QCoreApplication::applicationName(), text, QMessageBox::Ok, parent);
    // A box only as wide as a short message ("Choose an airfoil") gets its caption shortened by
    // the window manager; a strut across the layout keeps it wide enough for the caption.
    if (auto* grid = qobject_cast<QGridLayout*>(box.layout())) {
        grid->addItem(new QSpacerItem(captionWidth(box.windowTitle()), 0, QSizePolicy::Fixed, QSizePolicy::Minimum),
                      grid->rowCount(), 0, 1, grid->columnCount());
    }
    box.exec();
}
