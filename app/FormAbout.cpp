#include "FormAbout.h"

#include "WindowUnits.h"

#include <QKeyEvent>
#include <QLabel>

namespace {

const QColor Green(0, 128, 0);
const QColor Blue(0, 0, 255);

QLabel* addLabel(QWidget* parent, const char* name, const QString& text, QRect geometry, double points, bool bold,
                 const QColor* colour) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setAccessibleName(text);
    label->setGeometry(geometry);
    QFont font;
    font.setFamilies({"Verdana", "DejaVu Sans", "Liberation Sans", "sans-serif"});
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(points);
    font.setBold(bold);
    label->setFont(font);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    if (colour) {
        QPalette p = label->palette();
        p.setColor(QPalette::WindowText, *colour);
        label->setPalette(p);
    }
    return label;
}

}  // namespace

Form_About::Form_About() {
    setObjectName("Form_About");
    setWindowTitle("About");
    setFixedSize(twips(3825), twips(3075));
    QPalette p = palette();
    p.setColor(QPalette::Window, LightYellow);
    setPalette(p);
    setAutoFillBackground(true);

    addLabel(this, "Label2", "OrvekAnalysis", twipsRect(1080, 120, 1695, 375), 9.75, true, &Green);
    QLabel* subject =
        addLabel(this, "Label1", "Coordinates and Velocity distribution of Karman-Trefftz and Joukowsky Airfoils",
                 twipsRect(120, 600, 3735, 735), 9.75, false, &Green);
    subject->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    subject->setWordWrap(true);
    addLabel(this, "Label7", "by the OrvekAnalysis developers", twipsRect(720, 1560, 2775, 255), 8.25, false, nullptr);
    addLabel(this, "Label8", "Last modified on February 2007", twipsRect(600, 1920, 2775, 255), 8.25, false, nullptr);
    addLabel(this, "Label4", "Comments and questions by e-mail to:", twipsRect(240, 2280, 3375, 255), 8.25, false,
             nullptr);
    addLabel(this, "Label5", "orvek@example.org", twipsRect(840, 2640, 1935, 255), 8.25, false, &Blue);
}

void Form_About::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}
