#pragma once
// Every message to the user goes through one presenter, so tests can record messages instead of
// blocking on a modal box.

#include <QString>

class QWidget;

class MessagePresenter {
public:
    enum class Kind { Plain, Warning };
    virtual ~MessagePresenter() = default;
    virtual void show(QWidget* parent, const QString& text, Kind kind) = 0;
};

// Modal message box with the fixed text, a single OK button and the application's name as caption,
// at least as wide as a title bar needs to show that caption whole.
class MessageBoxPresenter : public MessagePresenter {
public:
    void show(QWidget* parent, const QString& text, Kind kind) override;
};
