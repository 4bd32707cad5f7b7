#pragma once

#include <QApplication>
#include <QTimer>
#include <QWidget>

#include <functional>

namespace tessaly::test {

// Runs `act` on the next modal dialog of type T once it is shown (a dialog opened with exec()), so
// a test arms it and then triggers what opens the dialog. `done`, when given, is set once `act`
// ran, so a test can tell that the dialog really opened; after `attempts` looks ten milliseconds
// apart (about five seconds) without such a dialog it gives up.
template <typename T>
void WhenModalOpens(std::function<void(T&)> act, bool* done = nullptr, int attempts = 500) {
    QTimer::singleShot(10, [act = std::move(act), done, attempts] {
        auto* dialog = qobject_cast<T*>(QApplication::activeModalWidget());
        if (!dialog) {
            if (attempts > 0)
                WhenModalOpens<T>(act, done, attempts - 1);
            return;
        }
        act(*dialog);
        if (done)
            *done = true;
    });
}

} // namespace tessaly::test
