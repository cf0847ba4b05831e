#pragma once
// The About window: names the program and its subject; labels only.

#include <QWidget>

class Form_About : public QWidget {
    Q_OBJECT
public:
    Form_About();

protected:
    void keyPressEvent(QKeyEvent* event) override;  // Escape closes the window
};
