#pragma once
// Every window's event handlers run through one guard, so nothing unexpected escapes into Qt's
// event loop: running out of memory and any other error become a message to the user, and the
// window stays as it was before the handler.

#include <functional>

class MessagePresenter;
class QWidget;

void runHandler(QWidget* window, MessagePresenter& messages, const std::function<void()>& handler);
