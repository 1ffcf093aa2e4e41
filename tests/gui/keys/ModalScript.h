#pragma once
// Acts on a modal window of the key windows once it is shown, so that tests can go through the
// real modal paths without blocking.

#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <functional>

namespace kyv::test {

// Runs `action` on the first visible top-level window named `objectName`; polls every 10 ms and
// gives up (rejecting the active modal window, so the test fails instead of hanging) after 5 s.
inline void WhenShown(const QString& objectName, std::function<void(QWidget*)> action)
{
    auto* timer = new QTimer;
    auto elapsed = std::make_shared<int>(0);
    QObject::connect(timer, &QTimer::timeout, [timer, objectName, action, elapsed] {
        for (QWidget* window : QApplication::topLevelWidgets()) {
            if (window->objectName() == objectName && window->isVisible()) {
                timer->stop();
                timer->deleteLater();
                action(window);
                return;
            }
        }
        *elapsed += 10;
        if (*elapsed > 5000) {
            timer->stop();
            timer->deleteLater();
            if (QWidget* modal = QApplication::activeModalWidget()) modal->close();
        }
    });
    timer->start(10);
}

}  // namespace kyv::test
