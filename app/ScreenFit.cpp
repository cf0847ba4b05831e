#include "ScreenFit.h"

#include <QGuiApplication>
#include <QScreen>
#include <QScrollArea>
#include <QVBoxLayout>
#include <QWidget>

void placeInScrollArea(QWidget& window, QWidget* content) {
    auto* scroll = new QScrollArea;
    scroll->setObjectName("scrollArea");
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidget(content);
    auto* layout = new QVBoxLayout(&window);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(scroll);
}

void resizeWithinScreen(QWidget& window, QSize wanted) {
    const QScreen* screen = window.screen() ? window.screen() : QGuiApplication::primaryScreen();
    if (screen) {
        // Room for a title bar and borders, which the window manager adds around the window.
        const QSize frame(16, 48);
        wanted = wanted.boundedTo(screen->availableGeometry().size() - frame);
    }
    window.resize(wanted);
}
