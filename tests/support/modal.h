#pragma once

#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <gtest/gtest.h>

namespace arcavio::test {

// Runs the action once a modal window is up, from inside its exec(); tries for about a second.
inline void whenModal(std::function<void(QWidget*)> action, int triesLeft = 100)
{
    QTimer::singleShot(triesLeft == 100 ? 0 : 10, [action = std::move(action), triesLeft]() mutable {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            action(modal);
        } else if (triesLeft > 0) {
            whenModal(std::move(action), triesLeft - 1);
        } else {
            ADD_FAILURE() << "no modal window came up";
        }
    });
}

} // namespace arcavio::test
