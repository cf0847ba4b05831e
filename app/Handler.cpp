#include "Handler.h"

#include "MessagePresenter.h"

#include <QString>

#include <exception>
#include <new>

void runHandler(QWidget* window, MessagePresenter& messages, const std::function<void()>& handler) {
    try {
        handler();
    } catch (const std::bad_alloc&) {
        messages.show(window, "Not enough memory for this calculation.", MessagePresenter::Kind::Warning);
    } catch (const std::exception& e) {
        messages.show(window, QString("Unexpected error: %1").arg(QString::fromUtf8(e.what())),
                      MessagePresenter::Kind::Warning);
    } catch (...) {
        messages.show(window, "Unexpected error.", MessagePresenter::Kind::Warning);
    }
}
