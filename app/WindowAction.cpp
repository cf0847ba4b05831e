#include "WindowAction.h"

#include <QAction>
#include <QMenu>
#include <QWidget>

QAction* addWindowAction(QWidget& window, QMenu* menu, const QString& text, const QKeySequence& keys,
                         const char* objectName, std::function<void()> run) {
    auto* a = new QAction(text, &window);
    a->setObjectName(objectName);
    if (!keys.isEmpty()) {
        a->setShortcut(keys);
        a->setShortcutContext(Qt::WindowShortcut);
    }
    QObject::connect(a, &QAction::triggered, &window, std::move(run));
    window.addAction(a);
    if (menu) menu->addAction(a);
    return a;
}
