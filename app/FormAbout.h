#pragma once
// The About window: names the program and its subject; labels only.

#include <QWidget>

class Form_About : public QWidget {
    Q_OBJECT
public:
    Form_About();
};
