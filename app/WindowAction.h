#pragma once
// An action of a window reached by its shortcut and, where given, from a context menu: the
// shortcut works anywhere in the window, and nothing is added to a menu bar.

#include <QKeySequence>
#include <QString>

#include <functional>

class QAction;
class QMenu;
class QWidget;

// The action, owned by `window` and added to it and to `menu` (when not null); `run` is called
// when it is triggered. An empty key sequence gives an action without a shortcut.
QAction* addWindowAction(QWidget& window, QMenu* menu, const QString& text, const QKeySequence& keys,
                         const char* objectName, std::function<void()> run);
