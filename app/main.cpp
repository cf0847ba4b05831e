// OrvekAnalysis: Karman-Trefftz and Joukowsky airfoils by conformal mapping.

#include "FormORVEK.h"
#include "MessagePresenter.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName("OrvekAnalysis");
    QApplication::setApplicationVersion("1.00");
    MessageBoxPresenter messages;
    Form_ORVEK window(messages);
    window.show();
    return app.exec();
}
