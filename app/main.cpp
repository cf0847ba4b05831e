// SPDX-License-Identifier: MIT
// OrvekAnalysis: Karman-Trefftz and Joukowsky airfoils by conformal mapping.

#include "FormORVEK.h"
#include "MessagePresenter.h"
#include "OrvekVersion.h"
#include "export/SaveCleanup.h"

#include <QApplication>
#include <QIcon>
#include <QPainter>
#include <QPixmap>
#include <QString>
#include <QSvgRenderer>

namespace {

// The program's icon, drawn from the SVG compiled into the program at the sizes window systems
// ask for. Drawing it here needs no image-format plugin at run time.
QIcon programIcon() {
    QSvgRenderer svg(QStringLiteral(":/icons/org.example.OrvekAnalysis.svg"));
    QIcon icon;
    if (!svg.isValid()) return icon;
    for (const int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        painter.setRenderHint(QPainter::Antialiasing);
        svg.render(&painter);
        painter.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

}  // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    // A file being saved is removed when a termination signal ends the program.
    orvek::removeSaveTemporariesOnSignals();
    QApplication::setApplicationName(QStringLiteral("OrvekAnalysis"));
    QApplication::setApplicationVersion(QString::fromLatin1(orvek::Version));
    QApplication::setOrganizationName(QStringLiteral("OrvekAnalysis"));
    QApplication::setOrganizationDomain(QStringLiteral("example.org"));
    // The installed desktop entry's name, so window managers match the window with its menu entry.
    QGuiApplication::setDesktopFileName(QStringLiteral("org.example.OrvekAnalysis"));
    QApplication::setWindowIcon(programIcon());
    MessageBoxPresenter messages;
    Form_ORVEK window(messages);
    window.show();
    return QApplication::exec();
}
