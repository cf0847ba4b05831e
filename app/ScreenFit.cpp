#include "ScreenFit.h"

#include <QApplication>
#include <QEvent>
#include <QScreen>
#include <QScrollArea>
#include <QVBoxLayout>
#include <QWidget>

#include <algorithm>
#include <limits>

namespace {

// Room for a title bar and borders, which the window manager adds around a window, while no
// window on show tells how much it adds.
const QSize FrameAllowance(16, 48);
// How far a window steps down and to the right from one that opened at the same corner.
constexpr int CascadeStep = 32;

QRect availableArea(const QWidget& window) {
    const QScreen* screen = window.screen() ? window.screen() : QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry() : QRect();
}

bool onShow(const QWidget& w) {
    return w.isVisible() && !w.isMinimized() && (w.windowType() == Qt::Window || w.windowType() == Qt::Dialog);
}

// The frames of the other windows on show.
QList<QRect> framesOnShow(const QWidget& except) {
    QList<QRect> frames;
    for (const QWidget* w : QApplication::topLevelWidgets())
        if (w != &except && onShow(*w)) frames << w->frameGeometry();
    return frames;
}

// What the window manager adds around a window: as around a window on show, where one has a frame.
QSize frameExtra(const QWidget& except) {
    for (const QWidget* w : QApplication::topLevelWidgets()) {
        if (w == &except || !onShow(*w)) continue;
        const QSize extra = w->frameGeometry().size() - w->geometry().size();
        if (extra.width() > 0 || extra.height() > 0) return extra;
    }
    return FrameAllowance;
}

long long overlap(const QRect& a, const QRect& b) {
    const QRect both = a.intersected(b);
    return both.isEmpty() ? 0 : static_cast<long long>(both.width()) * both.height();
}

// Places the window when it is first shown (its size fitted again to the room the window manager
// leaves), then leaves it to the user.
class PlaceWhenFirstShown : public QObject {
public:
    explicit PlaceWhenFirstShown(QWidget& window) : QObject(&window) { window.installEventFilter(this); }
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Show && watched == parent()) {
            auto& window = *static_cast<QWidget*>(parent());
            window.removeEventFilter(this);
            const QRect area = availableArea(window);
            if (area.isValid()) {
                const QSize extra = frameExtra(window);
                const QRect frame = placeBeside(area, window.size() + extra, framesOnShow(window));
                window.resize(frame.size() - extra);
                window.move(frame.topLeft());  // a window's position is that of its frame
            }
            deleteLater();
        }
        return QObject::eventFilter(watched, event);
    }
};

}  // namespace

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
    const QRect area = availableArea(window);
    window.resize(area.isValid() ? wanted.boundedTo(area.size() - FrameAllowance) : wanted);
    new PlaceWhenFirstShown(window);
}

QRect placeBeside(const QRect& area, QSize wanted, const QList<QRect>& shown) {
    const QSize size = wanted.boundedTo(area.size());
    const auto within = [&](QPoint p) {
        return QPoint(std::clamp(p.x(), area.left(), area.right() + 1 - size.width()),
                      std::clamp(p.y(), area.top(), area.bottom() + 1 - size.height()));
    };
    QList<QPoint> places{area.topLeft()};
    for (const QRect& r : shown) {
        places << QPoint(r.right() + 1, r.top()) << QPoint(r.left(), r.bottom() + 1)
               << QPoint(r.right() + 1, area.top()) << QPoint(area.left(), r.bottom() + 1)
               << QPoint(r.left() - size.width(), r.top()) << QPoint(r.left(), r.top() - size.height());
    }
    QPoint best = within(area.topLeft());
    long long least = std::numeric_limits<long long>::max();
    for (const QPoint& place : places) {
        const QPoint p = within(place);
        long long covered = 0;
        for (const QRect& r : shown) covered += overlap(QRect(p, size), r);
        if (covered < least || (covered == least && (p.y() < best.y() || (p.y() == best.y() && p.x() < best.x())))) {
            least = covered;
            best = p;
        }
    }
    // On another window's corner: a step down and right, as often as needed, within the area.
    QRect frame(best, size);
    for (bool moved = true; moved;) {
        moved = false;
        for (const QRect& r : shown) {
            if ((frame.topLeft() - r.topLeft()).manhattanLength() >= CascadeStep) continue;
            const QPoint next = r.topLeft() + QPoint(CascadeStep, CascadeStep);
            if (next.x() + CascadeStep > area.right() || next.y() + CascadeStep > area.bottom()) continue;
            frame = QRect(next, size.boundedTo(QSize(area.right() + 1 - next.x(), area.bottom() + 1 - next.y())));
            moved = true;
        }
    }
    return frame;
}
